// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velvix {

// Text for PC-1600 files: one Windows-1252 byte per character of the UTF-8
// input. A character without a Windows-1252 code becomes "?", so there is
// still exactly one byte per character.
std::vector<std::uint8_t> EncodeWindows1252(std::string_view utf8);

} // namespace velvix
