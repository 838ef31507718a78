// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "frame_bitmap.h"
#include "vid_layout.h"

#include <cstddef>
#include <cstdint>

namespace velvix {

// Where a compact video lies in the PC-1600's memory. The compact player
// (player/compact_player.asm) is assembled against the same numbers.
//
// Part 0 ends right below the decoding buffer, which ends right below the
// player; parts 1 to 3 end at 0xBFFF in banks 1 to 3, as plain parts do.
// Part 0's last 20 bytes are the video's facts:
//   +0  frame count (16 bits)    +2  play seconds    +3  frames per second
//   +4  for each part 0 to 3: address of its first stream byte, its frames
// A stream is the frames of its part one after the other, each: wait ticks
// (16 bits), codes against the frame before, 00. A code 01-7F skips that many
// bytes, 80-BF copies the (code - 7F) bytes that follow, C0-FF followed by a
// byte writes it (code - BF) times. Frame 1 is coded against a blank frame.
inline constexpr std::uint16_t kCompactBuffer = kPlayerAddress - kPackedFrameBytes;
inline constexpr std::size_t kCompactFactsBytes = 20;
inline constexpr std::uint16_t kCompactFacts = kCompactBuffer - kCompactFactsBytes;
inline constexpr const char* kCompactPlayerFileName = "KPLAYER.BIN";

inline constexpr int kMaxSkip = 0x7F;
inline constexpr int kMaxRun = 0x40; // bytes of one copy or one repeat code
inline constexpr std::uint8_t kEndOfFrame = 0x00;
inline constexpr std::uint8_t kCopyCode = 0x80;
inline constexpr std::uint8_t kRepeatCode = 0xC0;

} // namespace velvix
