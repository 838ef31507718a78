// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velvix::frames {

// An 8-bit grey picture, row by row from the top: 0 is black, 255 white.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

} // namespace velvix::frames
