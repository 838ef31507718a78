// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "frame_bitmap.h"
#include "vid_reader.h"

#include <vector>

namespace velvix {

// A frame as the part files store it: the picture for the display, the wait
// ticks the player shows it and the T-states the player spends meanwhile
// (player_tstates.h).
struct StoredVideoFrame {
    PackedFrame screen{};
    int ticks = 0;
    long tStates = 0;
};

// The frames of checked part files in the order the player shows them, for a
// view that cannot run the player (the web page): frame 1 first.
struct StoredVideo {
    std::vector<StoredVideoFrame> frames;
    int ticksPerSecond = 0;
};

// Plain and compact parts alike; reads no byte beyond the files, whatever they hold.
StoredVideo ReadStoredFrames(const VideoParts& parts);

} // namespace velvix
