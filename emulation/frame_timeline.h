// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "stored_frames.h"

#include <cstdint>
#include <vector>

namespace velvix {

// How long a frame stands on a PC-1600: its wait ticks at the frame rate, and
// the T-states the player spends meanwhile at the PC-1600's clock.
struct FrameLength {
    int ticks = 0;
    long tStates = 0;
};

// When each frame of a video starts and ends, in milliseconds from the start.
// Every time is taken from the ticks and T-states summed so far, never from
// rounded durations added up, so a whole video keeps its exact length.
class FrameTimeline {
public:
    FrameTimeline() = default;
    FrameTimeline(const std::vector<FrameLength>& frames, int ticksPerSecond);

    int frameCount() const { return static_cast<int>(startMs_.size()) - 1; }
    // Frame 0 to frameCount(); the latter is the end of the video.
    std::int64_t startMs(int frame) const { return startMs_[static_cast<std::size_t>(frame)]; }
    std::int64_t totalMs() const { return startMs(frameCount()); }
    // The frame standing at `ms`; the last one from its start on.
    int frameAt(std::int64_t ms) const;

private:
    std::vector<std::int64_t> startMs_{0};
};

// The timeline of frames as the emulator showed them, or as a view that cannot
// run the player reads them from the part files (their T-states counted from
// the player's instructions).
FrameTimeline TimelineOf(const std::vector<StoredVideoFrame>& frames, int ticksPerSecond);

} // namespace velvix
