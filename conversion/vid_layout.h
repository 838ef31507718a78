// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

// Where the parts of a video lie in the PC-1600's memory and what their files
// are called. Part 0 loads into bank 0 and ends right below the player at
// 0xEEB1; parts 1 to 3 load into banks 1 to 3 and end at the top of the
// banked window, 0xBFFF.
inline constexpr int kMaxVideoParts = 4;
inline constexpr std::uint16_t kPlayerAddress = 0xEEB1;
inline constexpr std::uint16_t kBankWindowEnd = 0xC000;

// The first address after the loaded data of `part`.
constexpr std::uint32_t PartEnd(int part) { return part == 0 ? kPlayerAddress : kBankWindowEnd; }

// "FILM" and 2 give "FILM2.VID".
std::string PartFileName(const std::string& video, int part);

// "FILM0.VID" gives "FILM"; any name that is not that of a part 0 gives nullopt.
std::optional<std::string> VideoOfPartZero(const std::string& fileName);

// The plain frame format: every frame a packed picture and its display time,
// as many as fit whole into each part, played by VPLAYER.BIN.
inline constexpr std::size_t kFrameRecordBytes = 625;
inline constexpr int kPart0Frames = 45;
inline constexpr int kBankFrames = 25;
inline constexpr int kMaxVideoFrames = kPart0Frames + (kMaxVideoParts - 1) * kBankFrames;
inline constexpr const char* kPlayerFileName = "VPLAYER.BIN";

// The closing bytes of part 0, which the player reads below its own code.
struct VideoFacts {
    std::uint8_t frameCount = 0;
    std::uint8_t playSeconds = 0;
    std::uint8_t framesPerSecond = 0;
};

// One part file: frames lowestFrame..highestFrame (numbers from 1).
struct VidPart {
    int number = 0;
    int lowestFrame = 0;
    int highestFrame = 0;

    int frames() const { return highestFrame - lowestFrame + 1; }
};

std::vector<VidPart> SplitIntoParts(int frameCount); // frameCount 1 to kMaxVideoFrames

// What the PC-1600 loads of a part with `frames` frames: a spare byte, the
// frames, and in part 0 the three closing bytes.
std::uint16_t PartDataLength(int part, int frames);

// The whole part file: header, loaded data, and in parts 1 to 3 one closing
// byte beyond the data.
std::size_t PartFileBytes(int part, int frames);

} // namespace velvix
