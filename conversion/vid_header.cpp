// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "vid_header.h"

namespace velvix {

namespace {

std::uint8_t Low(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::uint8_t High(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }
std::uint16_t Word(std::uint8_t low, std::uint8_t high) { return static_cast<std::uint16_t>(low | high << 8); }

} // namespace

VidHeader MakeVidHeader(const HeaderFields& f)
{
    return {0xFF,
            0x10,
            0x00,
            0x00,
            static_cast<std::uint8_t>(f.type),
            Low(f.dataLength),
            High(f.dataLength),
            0x00,
            Low(f.loadAddress),
            High(f.loadAddress),
            f.loadBank,
            Low(f.startAddress),
            High(f.startAddress),
            f.startBank,
            0x00,
            0x0F};
}

std::optional<HeaderFields> ParseVidHeader(std::span<const std::uint8_t> file)
{
    if (file.size() < kVidHeaderBytes) {
        return std::nullopt;
    }
    // Byte 7 would be the third byte of the data length: never more than two here.
    const bool fixed =
        file[0] == 0xFF && file[1] == 0x10 && file[2] == 0x00 && file[3] == 0x00 && file[7] == 0x00 && file[15] == 0x0F;
    if (!fixed) {
        return std::nullopt;
    }
    return HeaderFields{.type = static_cast<FileType>(file[4]),
                        .dataLength = Word(file[5], file[6]),
                        .loadAddress = Word(file[8], file[9]),
                        .loadBank = file[10],
                        .startAddress = Word(file[11], file[12]),
                        .startBank = file[13]};
}

} // namespace velvix
