// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_timeline.h"

#include <algorithm>

namespace velvix {

FrameTimeline::FrameTimeline(const std::vector<int>& ticks, int ticksPerSecond)
{
    std::int64_t sum = 0;
    for (int t : ticks) {
        sum += t;
        startMs_.push_back(sum * 1000 / ticksPerSecond);
    }
}

int FrameTimeline::frameAt(std::int64_t ms) const
{
    // The first frame that starts after `ms`, less one; the end is no frame.
    const auto after = std::upper_bound(startMs_.begin(), startMs_.end() - 1, ms);
    return std::max(0, static_cast<int>(after - startMs_.begin()) - 1);
}

} // namespace velvix
