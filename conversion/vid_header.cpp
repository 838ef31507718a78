#include "vid_header.h"

namespace velvix {

namespace {

std::uint8_t Low(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::uint8_t High(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }

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

} // namespace velvix
