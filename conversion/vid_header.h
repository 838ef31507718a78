#pragma once

#include <array>
#include <cstdint>

namespace velvix {

// The 16-byte header of every PC-1600 binary file Velvix writes.
using VidHeader = std::array<std::uint8_t, 16>;

enum class FileType : std::uint8_t { BinaryImage = 0x10, BasicProgram = 0x21 };

struct HeaderFields {
    FileType type = FileType::BinaryImage;
    std::uint16_t dataLength = 0; // bytes after the header that the PC-1600 loads
    std::uint16_t loadAddress = 0;
    std::uint8_t loadBank = 0;
    std::uint16_t startAddress = 0xFFFF; // 0xFFFF: not started after loading
    std::uint8_t startBank = 0;
};

VidHeader MakeVidHeader(const HeaderFields& fields);

} // namespace velvix
