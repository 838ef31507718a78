// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "frame_timeline.h"
#include "message.h"
#include "pc1600.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

// Where CALL &EEB1 goes: the start address in the player's own file header.
std::uint16_t PlayerStart();

// A written video as the PC-1600 shows it: each frame the player left on the
// display and the ticks it stood there.
struct PreviewVideo {
    std::string name;
    std::vector<ShownFrame> frames;
    int framesPerSecond = 0;
    int baseFrameTime = 0; // time units of one frame at this rate

    // Ticks of one second: a unit lasts 1 / (frames per second x base frame time) s.
    int ticksPerSecond() const { return kTicksPerUnit * framesPerSecond * baseFrameTime; }
    // When each frame starts: its ticks and the player's own T-states, as on a PC-1600.
    FrameTimeline timeline() const;
};

struct PreviewResult {
    std::optional<PreviewVideo> video;
    std::optional<Message> failure;
};

// Checks the part files of video `name` in the folder, loads them as BLOAD
// does, runs the program's own player on them and records what it shows.
PreviewResult LoadPreview(const std::filesystem::path& folder, const std::string& name,
                          long stepLimit = kDefaultStepLimit);

} // namespace velvix
