// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"

namespace velvix {

// The T-states the players spend on their own instructions, counted from
// them (the CALL into a system routine and its RET included, the routines
// themselves not): what a frame lasts beyond its wait ticks on a PC-1600.
// The encoder times compact frames with it; a view that cannot run the
// players (the web page) times their frames with it.

// The plain player on a frame of `units` units of display time (0 stands for 256).
long PlainFrameTStates(int units);

// The compact player on a frame of `ticks` wait ticks, decoding the next
// frame's codes in `nextDecode` T-states (DecodeTStates; 0 after the last).
long CompactFrameTStates(int ticks, long nextDecode);

// The compact player on the codes of one frame, up to and with its 00.
long DecodeTStates(const Bytes& changes);

} // namespace velvix
