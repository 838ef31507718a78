// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "frame_bitmap.h"

#include <array>

namespace velvix {

// A picture for the display, row by row from the top, left pixel first;
// true is a dark dot.
using FramePixels = std::array<bool, static_cast<std::size_t>(kFrameWidth) * kFrameHeight>;

// A frame file as Velvix accepts it: 704 bytes, set bits for dark dots. The
// palette says entry 0 white and entry 1 black, so that an image viewer shows
// what the display will show (Velvix itself never reads the palette).
Bytes MakeFrameFile(const FramePixels& pixels);

} // namespace velvix
