#pragma once

#include "frame_bitmap.h"
#include "vid_reader.h"

#include <vector>

namespace velvix {

// A frame as a part file stores it: the picture for the display and its
// display time in player units.
struct StoredVideoFrame {
    PackedFrame screen{};
    int units = 0;
};

// The frames of checked part files in the order the player shows them, for a
// view that cannot run the player (the web page): frame 1 first.
struct StoredVideo {
    std::vector<StoredVideoFrame> frames;
    int unitsPerSecond = 0; // frames per second x the base frame time of that rate
};

// Reads no byte beyond the files, whatever they hold.
StoredVideo ReadStoredFrames(const VideoParts& parts);

} // namespace velvix
