// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "video_name.h"

#include "utf8.h"

namespace velvix {

std::string CleanVideoName(std::string_view entered)
{
    std::u32string name = DecodeUtf8(entered);
    if (const auto stop = name.find(U'.'); stop != std::u32string::npos) {
        name.resize(stop);
    }
    if (name.size() > kMaxNameLength) {
        name.resize(kMaxNameLength);
    }
    for (char32_t& c : name) {
        if (c >= U'a' && c <= U'z') {
            c -= 32;
        }
    }
    return EncodeUtf8(name);
}

bool IsUsableInFileName(std::string_view cleaned)
{
    constexpr std::u32string_view kReserved = U"/\\:*?\"<>|";
    for (char32_t c : DecodeUtf8(cleaned)) {
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
        if (control || kReserved.find(c) != std::u32string_view::npos) {
            return false;
        }
    }
    return true;
}

} // namespace velvix
