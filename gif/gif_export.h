// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"
#include "preview_video.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velvix::gif {

// One picture of the GIF: rows of red, green and blue bytes.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

struct GifWork {
    std::function<RgbPicture(const Screen&)> draw;               // how the display looks; the window knows
    std::function<void(int done, int total)> progress = nullptr; // called on the working thread
    const std::atomic<bool>* cancel = nullptr;                   // set from anywhere to stop
    std::string ffmpeg = "ffmpeg";                               // tests may name another program
};

struct GifResult {
    enum class Outcome { Written, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    Message message; // where the GIF was written, or what went wrong; empty when cancelled
};

// Writes the video as an animated GIF at its own timing, taking a while: each frame is drawn into a
// temporary folder, ffmpeg joins them into a temporary file beside `target`, and only a complete
// file is renamed into place, so `target` is written whole or not at all.
GifResult WriteGif(const PreviewVideo& video, const std::filesystem::path& target, const GifWork& work);

} // namespace velvix::gif
