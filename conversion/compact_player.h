// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "message.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace velvix {

// The compact player's Z80 code, assembled from player/compact_player.asm
// when Velvix is built; it loads to and starts at 0xEEB1.
std::span<const std::uint8_t> CompactPlayerCode();

// "KPLAYER.BIN" as the PC-1600 loads it: a binary file header that loads and
// starts the code at 0xEEB1, then the code.
Bytes CompactPlayerFile();

// Writes "KPLAYER.BIN" into the folder, whole or not at all.
std::optional<Message> WriteCompactPlayerFile(const std::filesystem::path& folder);

} // namespace velvix
