// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_writer.h"

namespace velvix {

namespace {

void Put32(Bytes& file, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace

Bytes MakeFrameFile(const FramePixels& pixels)
{
    constexpr std::uint32_t kPixelBytes = kFrameRowBytes * kFrameHeight;
    Bytes file(kFrameFileSize, 0); // the two bytes after the pixels stay 0
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, kFrameFileSize);
    Put32(file, 10, kFrameHeaderBytes);
    Put32(file, 14, 40); // size of the information header
    Put32(file, 18, kFrameWidth);
    Put32(file, 22, kFrameHeight); // positive: bottom row first
    file[26] = 1;                  // planes
    file[28] = 1;                  // bits per pixel
    Put32(file, 34, kPixelBytes);
    Put32(file, 46, 2); // colours in the palette
    for (std::size_t i = 54; i < 57; ++i) {
        file[i] = 0xFF; // entry 0 white; entry 1 (bytes 58 to 61) stays black
    }
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (pixels[static_cast<std::size_t>(y * kFrameWidth + x)]) {
                file[FramePixelByte(x, y)] |= FramePixelBit(x);
            }
        }
    }
    return file;
}

} // namespace velvix
