// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "error_message.h"
#include "frames_folder_ops.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix::frames {

// A file named like a frame: "B" + three digits + ".bmp", in any case.
bool IsFrameName(const std::string& name);

// "B001.BMP": the numbering Velvix looks for, in the capitals its guide uses.
std::string FrameName(int number);

// "„name“", as every message quotes a file.
std::string Quoted(const std::filesystem::path& path);

// The reason after a colon in a sentence: "lässt sich nicht lesen: keine Berechtigung".
std::string LowerReason(std::error_code error);

struct FolderFrames {
    std::vector<std::filesystem::path> frames; // sorted
    std::optional<Message> failure;            // the folder cannot be listed
};

// The frames in `folder`; none when it does not exist.
FolderFrames FramesIn(const std::filesystem::path& folder, FramesFolderOps& ops);

// Refuses a folder that cannot be listed, and one that already holds frames
// unless they may be replaced: old and new frames mixed would make one film of two.
std::optional<Message> CheckOutputFolder(const std::filesystem::path& folder, bool replace,
                                         FramesFolderOps& ops = DefaultFramesFolderOps());

} // namespace velvix::frames
