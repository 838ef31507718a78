// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "windows1252.h"

#include "utf8.h"

#include <array>

namespace velvix {

namespace {

// The characters of the bytes 80 to 9F; 0 where Windows-1252 leaves a byte unassigned.
constexpr std::array<char32_t, 32> kBytes80To9F{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr std::uint8_t kNoCode = '?';

std::uint8_t ByteOf(char32_t c)
{
    // Below 80 and from A0 to FF the byte is the character's own code.
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<std::uint8_t>(c);
    }
    for (std::size_t i = 0; i < kBytes80To9F.size(); ++i) {
        if (kBytes80To9F[i] != 0 && kBytes80To9F[i] == c) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return kNoCode;
}

} // namespace

std::vector<std::uint8_t> EncodeWindows1252(std::string_view utf8)
{
    std::vector<std::uint8_t> bytes;
    for (char32_t c : DecodeUtf8(utf8)) {
        bytes.push_back(ByteOf(c));
    }
    return bytes;
}

} // namespace velvix
