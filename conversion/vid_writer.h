// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "frame_bitmap.h"
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

struct PackedFrames {
    std::vector<PackedFrame> pictures;
    std::optional<Message> failure;
};

// Reads, checks and packs frames 1 to frameCount; the first failure ends it.
PackedFrames ReadPackedFrames(const std::vector<std::filesystem::path>& framePaths, int frameCount);

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
