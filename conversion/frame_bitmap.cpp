// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_bitmap.h"

namespace velvix {

namespace {

bool PixelIsSet(std::span<const std::uint8_t> file, int x, int y)
{
    return (file[FramePixelByte(x, y)] & FramePixelBit(x)) != 0;
}

} // namespace

bool IsAcceptedFrame(std::span<const std::uint8_t> file)
{
    return file.size() >= kFrameBytes && file[0] == 'B' && file[18] == kFrameWidth && file[22] == kFrameHeight &&
           file[28] == 1;
}

PackedFrame PackFrame(std::span<const std::uint8_t> acceptedFile)
{
    PackedFrame packed{};
    std::size_t out = 0;
    for (int band = 0; band < kFrameHeight / 8; ++band) {
        for (int x = 0; x < kFrameWidth; ++x) {
            std::uint8_t column = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (PixelIsSet(acceptedFile, x, 8 * band + bit)) {
                    column |= static_cast<std::uint8_t>(1u << bit);
                }
            }
            packed[out++] = column;
        }
    }
    return packed;
}

} // namespace velvix
