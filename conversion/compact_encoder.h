// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "frame_bitmap.h"

#include <cstdint>
#include <vector>

namespace velvix {

// Frames 1 to frameCount of a video in the compact format (compact_layout.h),
// as streams of the parts they fill.
struct CompactVideo {
    std::vector<Bytes> streams;  // parts 0 to the last one used
    std::vector<int> partFrames; // frames of each part
    int frameCount = 0;
};

// The codes that turn `before` into `after` in the buffer, ending with 00.
Bytes EncodeFrameChanges(const PackedFrame& before, const PackedFrame& after);

// Bytes each part may load: what the plain parts of a memory holding
// `frameCapacity` frames load, less the decoding buffer in part 0.
std::vector<std::size_t> CompactPartBudgets(int frameCapacity);

// As many frames from the first as fit the parts of the memory, each part
// filled before the next. Each frame waits so long that frames and video
// last as long as in the plain format, decoding included (frameTimes in the
// plain player's units).
CompactVideo EncodeCompactVideo(const std::vector<PackedFrame>& pictures, const std::vector<std::uint8_t>& frameTimes,
                                int framesPerSecond, int frameCapacity);

} // namespace velvix
