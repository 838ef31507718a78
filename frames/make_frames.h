// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "display_fit.h"
#include "error_message.h"
#include "ffmpeg_decoder.h"
#include "frames_folder_ops.h"
#include "one_bit.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velvix::frames {

// One use of the tool: what to read, how to turn it into frames, where to put them.
struct Job {
    std::filesystem::path input;        // a film, or a folder of images
    std::filesystem::path outputFolder; // empty: no frames are written
    std::filesystem::path preview;      // empty: no contact sheet
    FilmPart part;                      // films only
    Fit fit = Fit::Fill;
    OneBit oneBit;
    bool replace = false;         // frames already in the output folder, and an existing preview, may go
    bool firstFramesOnly = false; // more than 299 frames: keep the first 299
    Decoders decoders;
    FramesFolderOps* folderOps = &DefaultFramesFolderOps();
    const std::atomic<bool>* cancel = nullptr; // when it turns true (from any thread), the work stops, nothing written
};

struct Outcome {
    int frameCount = 0;
    std::optional<Message> failure;
    std::vector<std::string> notes; // worth telling even on success, one line each
    bool cancelled = false;         // then `failure` says so too
};

// Frames done so far, and how many are expected (0 when not known).
using Progress = std::function<void(int done, int expected)>;

// Reads the input and converts every picture, writing each frame beside its
// place as it comes; only when all of it succeeded do the frames and the
// contact sheet take the place of the old ones, together. First puts right
// what an interrupted earlier run left there.
Outcome MakeFrames(const Job& job, const Progress& progress);

} // namespace velvix::frames
