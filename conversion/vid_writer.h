#pragma once

#include "file_io.h"
#include "message.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

inline constexpr int kMaxVideoFrames = 120;
inline constexpr std::size_t kFrameRecordBytes = 625; // packed picture and display time

// Closing bytes of part 0, which the player reads below its own code.
struct VideoFacts {
    std::uint8_t frameCount = 0;
    std::uint8_t playSeconds = 0;
    std::uint8_t framesPerSecond = 0;
};

// One VID part file: frames lowestFrame..highestFrame (numbers from 1).
// Part 0 holds up to 45 frames below the player; parts 1 to 3 up to 25 each,
// one per memory bank, in the window that ends at 0xBFFF.
struct VidPart {
    int number = 0;
    int lowestFrame = 0;
    int highestFrame = 0;
};

std::vector<VidPart> SplitIntoParts(int frameCount); // frameCount 1 to 120

// The whole file of one part from the packed records of its frames, highest first.
Bytes BuildVidPart(const VidPart& part, const std::vector<Bytes>& recordsByFrame, const VideoFacts& facts);

struct VidResult {
    int lastPart = 0;
    std::optional<Message> failure;
};

// Reads and checks every frame before any part file is touched, then writes
// outputName + "0.VID" onward into the folder, each file whole or not at all.
VidResult WriteVidParts(const std::filesystem::path& folder, const std::string& outputName,
                        const std::vector<std::filesystem::path>& framePaths,
                        const std::vector<std::uint8_t>& frameTimes, const VideoFacts& facts);

} // namespace velvix
