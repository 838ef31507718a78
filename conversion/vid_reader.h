// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "message.h"
#include "vid_messages.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

// The names of the videos in a folder: every NAME with a file NAME0.VID, sorted.
std::vector<std::string> FindVideos(const std::filesystem::path& folder);

// The part files of one written video, each checked against part 0, so that
// BLOAD of every one of them succeeds and the player finds what it expects.
struct VideoParts {
    std::vector<Bytes> files; // part 0 first
    int frameCount = 0;
    int framesPerSecond = 0;
    std::string playerFile; // the player that plays these parts
};

struct VideoPartsResult {
    std::optional<VideoParts> parts;
    std::optional<Message> failure; // names the file and what is wrong with it
};

// Reads the parts of video `name` that part 0 counts; a folder that a run
// with compression left unfinished is refused first. A failure is a box of
// `window`. A part of another video with the same size and header passes:
// nothing in the files tells the two apart.
VideoPartsResult ReadVideoParts(const std::filesystem::path& folder, const std::string& name,
                                const messages::VideoWindow& window);

} // namespace velvix
