// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace velvix {

inline constexpr std::size_t kVidHeaderBytes = 16;

// The 16-byte header of every PC-1600 binary file Velvix writes.
using VidHeader = std::array<std::uint8_t, kVidHeaderBytes>;

enum class FileType : std::uint8_t { BinaryImage = 0x10, BasicProgram = 0x21 };

struct HeaderFields {
    FileType type = FileType::BinaryImage;
    std::uint16_t dataLength = 0; // bytes after the header that the PC-1600 loads
    std::uint16_t loadAddress = 0;
    std::uint8_t loadBank = 0;
    std::uint16_t startAddress = 0xFFFF; // 0xFFFF: not started after loading
    std::uint8_t startBank = 0;

    bool operator==(const HeaderFields&) const = default;
};

VidHeader MakeVidHeader(const HeaderFields& fields);

// The fields of the header at the start of `file`; nullopt when the file is
// shorter than a header or its fixed bytes are not those MakeVidHeader writes.
std::optional<HeaderFields> ParseVidHeader(std::span<const std::uint8_t> file);

} // namespace velvix
