// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

namespace velvix {

// The PC-1600's processor runs at 3.58 MHz: Sharp's published figure for its
// SC7852, a Z80 in CMOS.
inline constexpr long kClockHz = 3'580'000;

// A frame's display time counts units of eight calls of the wait tick; a tick
// lasts 1 / (8 x frames per second x base frame time) seconds, so that a frame
// of base frame time units lasts one frame of the chosen rate.
inline constexpr int kTicksPerUnit = 8;

} // namespace velvix
