// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_bitmap.h"
#include "frame_files.h"
#include "frame_writer.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

FramePixels With(std::initializer_list<std::pair<int, int>> darkDots)
{
    FramePixels pixels{};
    for (auto [x, y] : darkDots) {
        pixels[static_cast<std::size_t>(y * kFrameWidth + x)] = true;
    }
    return pixels;
}

TEST(MakeFrameFile, HeaderAndPaletteByteForByte)
{
    const Bytes file = MakeFrameFile({});
    ASSERT_EQ(file.size(), 704u);
    EXPECT_EQ(test::Hex(Bytes(file.begin(), file.begin() + 62)),
              "42 4D C0 02 00 00 00 00 00 00 3E 00 00 00 28 00 00 00 9C 00 00 00 20 00 00 00 01 00 01 00 00 00 "
              "00 00 80 02 00 00 00 00 00 00 00 00 00 00 02 00 00 00 00 00 00 00 FF FF FF 00 00 00 00 00");
    EXPECT_TRUE(std::all_of(file.begin() + 62, file.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_TRUE(IsAcceptedFrame(file));
}

TEST(MakeFrameFile, CornerDotsLandWhereTheReaderLooks)
{
    Bytes file = MakeFrameFile(With({{0, 0}}));
    EXPECT_EQ(file[682], 0x80); // the top row is stored last
    EXPECT_EQ(std::count(file.begin() + 62, file.end(), 0), 641);

    file = MakeFrameFile(With({{155, 31}}));
    EXPECT_EQ(file[81], 0x10);
    EXPECT_EQ(PackFrame(file)[623], 0x80);
}

TEST(MakeFrameFile, PacksLikeTheSameFrameMadeByHand)
{
    Bytes byHand = test::BlankFrame();
    FramePixels pixels{};
    for (int i = 0; i < 400; ++i) {
        const int x = (i * 37) % kFrameWidth;
        const int y = (i * 11) % kFrameHeight;
        test::SetPixel(byHand, x, y);
        pixels[static_cast<std::size_t>(y * kFrameWidth + x)] = true;
    }
    EXPECT_EQ(PackFrame(MakeFrameFile(pixels)), PackFrame(byHand));
}

} // namespace
} // namespace velvix
