// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <string>
#include <string_view>

namespace velvix {

// Text from the window is UTF-8. Bytes that do not form a valid sequence each
// become U+FFFD, so every input decodes to whole characters.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);

} // namespace velvix
