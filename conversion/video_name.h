// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <string>
#include <string_view>

namespace velvix {

inline constexpr std::size_t kMaxNameLength = 7;

// The entered name cut before its first full stop, then to 7 characters, with
// a to z made upper case; every other character stays as it is. UTF-8 in and out.
std::string CleanVideoName(std::string_view entered);

// False when the cleaned name holds a character that could lead a file name
// out of the frame folder or that file systems refuse.
bool IsUsableInFileName(std::string_view cleaned);

} // namespace velvix
