// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "folder_ops.h"
#include "frame_bitmap.h"
#include "host.h"
#include "run_settings.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace velvix {

// Strength entries and the count of equal pixel bytes (of 640) above which
// two frames are near-identical: 640 x (100 - p) / 100, rounded down.
inline constexpr std::array<const char*, 5> kStrengthEntries{"5%", "6%", "7%", "8%", "9%"};
inline constexpr std::array<int, 5> kSimilarityThresholds{608, 601, 595, 588, 582};

// The first 702 bytes of each frame file; a shorter file reads as zeros where it has no bytes.
using StoredFrame = std::array<std::uint8_t, kFrameBytes>;

struct NearCopies {
    std::vector<int> deletedFrames;       // numbers of the removed frames, rising
    std::vector<std::uint8_t> frameTimes; // old numbering; kept frames carry the removed ones' time
};

// Walks the frames in order, comparing each with the most recent frame kept.
// A frame whose equal bytes, less the 62 header bytes, exceed the threshold is
// removed and its time goes to that frame, until a display time passes 230.
// The first and the last frame always stay.
NearCopies FindNearCopies(const std::vector<StoredFrame>& frames, std::vector<std::uint8_t> frameTimes,
                          int similarityThreshold);

struct CompressionResult {
    int removed = 0;
    std::optional<Message> failure;
};

// Drops near-identical frames: backs the frames up into a sibling folder,
// renumbers the kept frame files without gaps, reports the saving, and
// leaves `settings` describing the kept frames.
CompressionResult CompressFrames(const std::filesystem::path& folder, RunSettings& settings, int similarityThreshold,
                                 Host& host, FolderOps& ops);

} // namespace velvix
