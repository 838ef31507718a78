// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

inline constexpr int kMaxFrames = 299;
inline constexpr int kProbedFrames = 300; // one more than accepted, to tell "too many"

// "B001.bmp" for frame 1; numbers count from 1.
std::string FrameFileName(int number);
// 1 for "B001.bmp" in any letter case; 0 for a name that is no frame's.
int FrameNumberOf(const std::string& fileName);

struct Discovery {
    enum class Stop {
        FolderMissing,
        FolderUnreadable,
        FileMissing,
        FileEmpty,
        FileUnreadable,
        Ambiguous, // two files whose names differ only in letter case
        TableFull, // frames 1 to 300 are all present
    };

    std::vector<std::filesystem::path> framePaths; // frames 1, 2, ... as found, in order
    std::uintmax_t firstFrameSize = 0;
    Stop stop = Stop::FileMissing;
    std::optional<IoError> error;                 // FolderUnreadable, FileUnreadable
    std::vector<std::filesystem::path> ambiguous; // Ambiguous: the competing files
};

// Probes frame 1, 2, ... by number until the first one that is not present:
// missing, empty, or not a file (a folder, a dangling link). Names match
// without regard to letter case.
Discovery DiscoverFrames(const std::filesystem::path& folder);

} // namespace velvix
