// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace velvix {

inline constexpr std::size_t kPlayerImageBytes = 256;

// "VPLAYER.BIN" as the PC-1600 loads it: a binary file header that loads and
// starts the program at 0xEEB1, then 240 bytes of Z80 code that show the
// video in memory once and return. The code reads the frame count at 0xEEAE,
// walks the frames of part 0 down from 0xEEAD and those of banks 1 to 3 down
// from 0xBFFF, so it is bound to the VID layout; it is a constant, never built.
extern const std::array<std::uint8_t, kPlayerImageBytes> PlayerImage;

// Writes "VPLAYER.BIN" into the folder, whole or not at all.
std::optional<Message> WritePlayerFile(const std::filesystem::path& folder);

} // namespace velvix
