// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "frame_writer.h"

#include <vector>

namespace velvix::frames {

// A PNG with all frames in rows of four, each dot of the display drawn as
// 4 x 4 pixels in the display's colours, its number under it, so the result
// can be judged before frames are written.
Bytes MakeContactSheet(const std::vector<FramePixels>& frames);

} // namespace velvix::frames
