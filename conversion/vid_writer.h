#pragma once

#include "file_io.h"
#include "message.h"
#include "vid_layout.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

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
