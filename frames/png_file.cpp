// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "png_file.h"

#include <new>
#include <string_view>
#include <zlib.h>

namespace velvix::frames {

namespace {

void Put32(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(Bytes& out, std::string_view type, const Bytes& data)
{
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    // The check sum covers type and data.
    Put32(out, static_cast<std::uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt))));
}

} // namespace

Bytes MakePalettePng(int width, int height, std::span<const Rgb> palette, std::span<const std::uint8_t> indices)
{
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    Bytes header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 3, 0, 0, 0}); // 8 bits, palette, deflate, no filter choice, no interlace
    PutChunk(png, "IHDR", header);

    Bytes colours;
    for (const Rgb& colour : palette) {
        colours.insert(colours.end(), colour.begin(), colour.end());
    }
    PutChunk(png, "PLTE", colours);

    // Each row starts with its filter type, 0: the bytes as they are.
    const auto rowBytes = static_cast<std::size_t>(width);
    Bytes rows;
    rows.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        rows.push_back(0);
        rows.insert(rows.end(), indices.begin() + static_cast<std::ptrdiff_t>(row * rowBytes),
                    indices.begin() + static_cast<std::ptrdiff_t>((row + 1) * rowBytes));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), Z_BEST_COMPRESSION) !=
        Z_OK) {
        throw std::bad_alloc(); // with room enough for the result, only memory can run out
    }
    packed.resize(packedSize);
    PutChunk(png, "IDAT", packed);

    PutChunk(png, "IEND", {});
    return png;
}

} // namespace velvix::frames
