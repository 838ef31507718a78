// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_bitmap.h"
#include "frame_files.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

using test::BlankFrame;
using test::SetPixel;

TEST(PackFrame, CornerPixelsLandInTheirBandColumnAndBit)
{
    Bytes frame = BlankFrame();
    SetPixel(frame, 0, 0);
    EXPECT_EQ(frame[682], 0x80); // the top row is stored last
    PackedFrame packed = PackFrame(frame);
    EXPECT_EQ(packed[0], 0x01);
    for (std::size_t i = 1; i < packed.size(); ++i) {
        ASSERT_EQ(packed[i], 0) << i;
    }

    frame = BlankFrame();
    SetPixel(frame, 155, 31);
    EXPECT_EQ(frame[81], 0x10);
    packed = PackFrame(frame);
    EXPECT_EQ(packed[623], 0x80);
    EXPECT_EQ(std::count(packed.begin(), packed.end(), 0), 623);
}

TEST(PackFrame, EachRowOfABandIsItsOwnBit)
{
    Bytes frame = BlankFrame();
    // Column 9, rows 8 to 15 (band 1), every second row.
    for (int y = 8; y < 16; y += 2) {
        SetPixel(frame, 9, y);
    }
    SetPixel(frame, 100, 23); // band 2, bottom row of the band
    const PackedFrame packed = PackFrame(frame);
    EXPECT_EQ(packed[156 + 9], 0x55);
    EXPECT_EQ(packed[312 + 100], 0x80);
}

TEST(PackFrame, IgnoresPaddingColumnsAndPalette)
{
    Bytes plain = test::NumberedFrame(77);
    Bytes other = plain;
    for (int row = 0; row < 32; ++row) {
        other[static_cast<std::size_t>(62 + 20 * row + 19)] |= 0x0F; // columns 156 to 159
    }
    std::swap_ranges(other.begin() + 54, other.begin() + 58, other.begin() + 58); // palette swapped
    EXPECT_EQ(PackFrame(plain), PackFrame(other));
}

TEST(IsAcceptedFrame, ChecksSignatureSizeDepthAndLength)
{
    EXPECT_TRUE(IsAcceptedFrame(BlankFrame()));

    struct Fault {
        std::size_t offset;
        std::uint8_t value;
    };
    for (Fault f : {Fault{0, 'b'}, Fault{18, 155}, Fault{22, 0xE0}, Fault{28, 4}, Fault{28, 0}}) {
        Bytes frame = BlankFrame();
        frame[f.offset] = f.value;
        EXPECT_FALSE(IsAcceptedFrame(frame)) << "offset " << f.offset;
    }

    Bytes frame = BlankFrame();
    frame[1] = 'X'; // second signature byte, file size and palette are not looked at
    frame[2] = 0;
    frame[54] = 0x12;
    EXPECT_TRUE(IsAcceptedFrame(frame));

    frame = BlankFrame();
    frame.resize(702);
    EXPECT_TRUE(IsAcceptedFrame(frame));
    frame.resize(701);
    EXPECT_FALSE(IsAcceptedFrame(frame));
    EXPECT_FALSE(IsAcceptedFrame({}));
}

} // namespace
} // namespace velvix
