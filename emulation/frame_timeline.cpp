// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_timeline.h"

#include "pc1600_timing.h"

#include <algorithm>

namespace velvix {

FrameTimeline::FrameTimeline(const std::vector<FrameLength>& frames, int ticksPerSecond)
{
    // In units of 1 / (ticks per second x clock) s, both sums are whole numbers.
    std::int64_t ticks = 0;
    std::int64_t tStates = 0;
    for (const FrameLength& frame : frames) {
        ticks += frame.ticks;
        tStates += frame.tStates;
        startMs_.push_back((ticks * kClockHz + tStates * ticksPerSecond) * 1000 / (std::int64_t{ticksPerSecond} * kClockHz));
    }
}

int FrameTimeline::frameAt(std::int64_t ms) const
{
    // The first frame that starts after `ms`, less one; the end is no frame.
    const auto after = std::upper_bound(startMs_.begin(), startMs_.end() - 1, ms);
    return std::max(0, static_cast<int>(after - startMs_.begin()) - 1);
}

FrameTimeline TimelineOf(const std::vector<StoredVideoFrame>& frames, int ticksPerSecond)
{
    std::vector<FrameLength> lengths;
    for (const StoredVideoFrame& frame : frames) {
        lengths.push_back({frame.ticks, frame.tStates});
    }
    return FrameTimeline(lengths, ticksPerSecond);
}

} // namespace velvix
