// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace velvix {

// A frame is a 1-bit Windows bitmap of 156 x 32 pixels: a 62-byte header with
// a two-colour palette, then 32 rows of 20 bytes, bottom row first.
inline constexpr std::size_t kFrameFileSize = 704; // what frame 1 must measure
inline constexpr std::size_t kFrameBytes = 702;    // header and pixels; the rest is ignored
inline constexpr std::size_t kFrameHeaderBytes = 62;
inline constexpr int kFrameWidth = 156;
inline constexpr int kFrameHeight = 32;
inline constexpr std::size_t kFrameRowBytes = 20; // 156 pixels and 4 padding bits

// Where pixel (x, y), y counted from the top, is stored: the bottom row comes
// first, and the leftmost pixel of a byte is its bit 7.
inline constexpr std::size_t FramePixelByte(int x, int y)
{
    return kFrameHeaderBytes + kFrameRowBytes * static_cast<std::size_t>(kFrameHeight - 1 - y) +
           static_cast<std::size_t>(x / 8);
}
inline constexpr std::uint8_t FramePixelBit(int x) { return static_cast<std::uint8_t>(0x80u >> (x % 8)); }

inline constexpr std::size_t kPackedFrameBytes = 624; // four bands of 156 column bytes

using PackedFrame = std::array<std::uint8_t, kPackedFrameBytes>;

// Signature "B", width 156, height 32 (bottom-up), 1 bit per pixel, and all
// 702 bytes present. Only the low bytes of the fields are looked at.
bool IsAcceptedFrame(std::span<const std::uint8_t> file);

// The display's byte order: for each band of eight rows, top band first, one
// byte per column, left column first; bit i is row 8 x band + i. A set bitmap
// bit becomes a set display bit; the palette is never read.
PackedFrame PackFrame(std::span<const std::uint8_t> acceptedFile);

// Whether dot (x, y), y counted from the top, is set in the display's byte order.
inline constexpr bool PackedDotSet(const PackedFrame& frame, int x, int y)
{
    return (frame[static_cast<std::size_t>(y / 8 * kFrameWidth + x)] >> (y % 8) & 1) != 0;
}

} // namespace velvix
