// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"

#include <array>
#include <cstdint>
#include <span>

namespace velvix::frames {

using Rgb = std::array<std::uint8_t, 3>;

// An 8-bit palette PNG: `indices` holds one palette index per pixel, row by
// row from the top.
Bytes MakePalettePng(int width, int height, std::span<const Rgb> palette, std::span<const std::uint8_t> indices);

} // namespace velvix::frames
