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
};

} // namespace velvix
