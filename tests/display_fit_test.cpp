// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "display_fit.h"
#include "frame_bitmap.h"

#include <gtest/gtest.h>

namespace velvix::frames {
namespace {

struct Box {
    int x, y, width, height;
    bool holds(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

struct Shape {
    const char* name;
    int width, height; // the picture, white
    Box black;         // a black box in it
    Fit fit;
    Box expected; // where the display is black; white elsewhere
    double pixelAspect = 1;
};

void PrintTo(const Shape& s, std::ostream* os) { *os << s.name; }

class Fitting : public ::testing::TestWithParam<Shape> {};

TEST_P(Fitting, PutsThePictureWhereItBelongs)
{
    const Shape& s = GetParam();
    GreyImage picture{s.width, s.height, {}};
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            picture.pixels.push_back(s.black.holds(x, y) ? 0 : 255);
        }
    }
    const GreyImage display = FitToDisplay(picture, s.fit, s.pixelAspect);
    ASSERT_EQ(display.width, kFrameWidth);
    ASSERT_EQ(display.height, kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            ASSERT_EQ(display.at(x, y), s.expected.holds(x, y) ? 0 : 255) << "x " << x << ", y " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, Fitting,
    ::testing::Values(Shape{"same shape, halved", 312, 64, {0, 0, 156, 32}, Fit::Fill, {0, 0, 78, 16}},
                      Shape{"same shape, bars", 312, 64, {0, 0, 156, 32}, Fit::Bars, {0, 0, 78, 16}},
                      Shape{"narrow with bars left and right", 64, 32, {0, 0, 64, 32}, Fit::Bars, {46, 0, 64, 32}},
                      Shape{"narrow filled", 64, 32, {0, 0, 64, 32}, Fit::Fill, {0, 0, 156, 32}},
                      Shape{"wide with bars above and below", 312, 32, {0, 0, 312, 32}, Fit::Bars, {0, 8, 156, 16}},
                      Shape{"wide filled: sides cut off", 312, 32, {0, 0, 78, 32}, Fit::Fill, {0, 0, 0, 0}},
                      Shape{"wide filled: middle kept", 312, 32, {78, 0, 10, 32}, Fit::Fill, {0, 0, 10, 32}},
                      Shape{
                          "tall filled: top and bottom cut off", 312, 128, {0, 40, 312, 16}, Fit::Fill, {0, 4, 156, 8}},
                      Shape{"one pixel enlarged", 1, 1, {0, 0, 1, 1}, Fit::Bars, {62, 0, 32, 32}},
                      Shape{"pixels twice as wide", 64, 32, {0, 0, 64, 32}, Fit::Bars, {14, 0, 128, 32}, 2},
                      Shape{"pixels half as wide", 312, 64, {0, 16, 312, 16}, Fit::Fill, {0, 0, 156, 16}, 0.5}),
    [](const auto& info) {
        std::string name;
        for (const char* c = info.param.name; *c; ++c) {
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        }
        return name;
    });

TEST(Fitting, FineDetailTurnsGrey)
{
    GreyImage checker{312, 64, {}};
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 312; ++x) {
            checker.pixels.push_back((x + y) % 2 ? 255 : 0);
        }
    }
    const GreyImage display = FitToDisplay(checker, Fit::Fill, 1);
    for (std::uint8_t grey : display.pixels) {
        ASSERT_EQ(grey, 128); // 127.5 rounded
    }
}

} // namespace
} // namespace velvix::frames
