// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "grey_image.h"
#include "one_bit.h"

#include <array>
#include <string>
#include <vector>

namespace velvix::frames {

// How many of a job's frames the PC-1600's memory holds, plain and in the
// compact format. Compact depends much on the dots: the figure is there for
// every method, the other settings as chosen.
struct MemoryFit {
    int frames = 0; // all the job gives
    int plain = 0;
    std::array<int, kMethods.size()> compact{}; // by entry of kMethods
};

// `pictures` as ReadDisplayPictures gives them; `frameCapacity`: the plain
// frames the memory holds, whose bytes the compact format may fill too.
MemoryFit FitInMemory(const std::vector<GreyImage>& pictures, const OneBit& oneBit, int framesPerSecond,
                      int frameCapacity);

// The fit in one line, for the `chosen` method and the method that fits most.
std::string FitText(const MemoryFit& fit, Method chosen);

} // namespace velvix::frames
