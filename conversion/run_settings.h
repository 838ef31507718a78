// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velvix {

// What the phases of one run hand to each other. Frame numbers count from 1;
// frame i is at index i - 1. Every run fills these anew.
struct RunSettings {
    std::string outputName; // the cleaned video name, UTF-8
    std::vector<std::filesystem::path> framePaths;
    std::vector<std::uint8_t> frameTimes; // display time of each frame in player units
    int frameCount = 0;
    int sourceSeconds = 0; // play time of all frames found

    // The window's choices when Start was pressed, so that an interrupted run
    // is finished as it began.
    int framesPerSecond = 0;
    int baseFrameTime = 0;
    int frameCapacity = 0;
    bool writePlayer = false;
    bool writeLoader = false;
    bool compact = false; // the compact format and its player

    bool operator==(const RunSettings&) const = default;
};

} // namespace velvix
