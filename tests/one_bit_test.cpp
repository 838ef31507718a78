// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "one_bit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace velvix::frames {
namespace {

GreyImage Picture(const std::function<int(int x, int y)>& grey)
{
    GreyImage picture{kFrameWidth, kFrameHeight, {}};
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            picture.pixels.push_back(static_cast<std::uint8_t>(grey(x, y)));
        }
    }
    return picture;
}

// The share of dark dots in columns [from, to).
double DarkShare(const FramePixels& dots, int from = 0, int to = kFrameWidth)
{
    int dark = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = from; x < to; ++x) {
            dark += dots[static_cast<std::size_t>(y * kFrameWidth + x)];
        }
    }
    return static_cast<double>(dark) / ((to - from) * kFrameHeight);
}

OneBit With(Method method)
{
    OneBit settings;
    settings.method = method;
    return settings;
}

std::string Name(Method method)
{
    switch (method) {
    case Method::Threshold:
        return "Threshold";
    case Method::Bayer:
        return "Bayer";
    case Method::FloydSteinberg:
        return "FloydSteinberg";
    case Method::Atkinson:
        return "Atkinson";
    }
    return "?";
}

struct FlatGrey {
    Method method;
    int grey;
    double darkAtLeast; // share of dark dots
    double darkAtMost;
};

void PrintTo(const FlatGrey& c, std::ostream* os) { *os << Name(c.method) << " " << c.grey; }

class Dithering : public ::testing::TestWithParam<FlatGrey> {};

TEST_P(Dithering, AFlatGreyGivesItsShareOfDarkDots)
{
    const FlatGrey& c = GetParam();
    const FramePixels dots = ToOneBit(Picture([&](int, int) { return c.grey; }), With(c.method));
    const double share = DarkShare(dots);
    EXPECT_GE(share, c.darkAtLeast);
    EXPECT_LE(share, c.darkAtMost);
}

FlatGrey Exactly(Method method, int grey, double dark) { return {method, grey, dark, dark}; }
FlatGrey About(Method method, int grey, double dark, double tolerance)
{
    return {method, grey, dark - tolerance, dark + tolerance};
}

// The 4 x 4 pattern reproduces multiples of 16 exactly, (256 - grey) / 256;
// Floyd-Steinberg comes close to (255 - grey) / 255. Atkinson drops a quarter
// of the error, which pushes greys away from the middle: darker below it,
// lighter above it, but not by much.
INSTANTIATE_TEST_SUITE_P(Greys, Dithering,
                         ::testing::Values(Exactly(Method::Bayer, 0, 1.0), Exactly(Method::Bayer, 32, 0.875),
                                           Exactly(Method::Bayer, 64, 0.75), Exactly(Method::Bayer, 128, 0.5),
                                           Exactly(Method::Bayer, 192, 0.25), Exactly(Method::Bayer, 240, 0.0625),
                                           Exactly(Method::Bayer, 255, 0.0), Exactly(Method::FloydSteinberg, 0, 1.0),
                                           About(Method::FloydSteinberg, 32, 1 - 32 / 255.0, 0.01),
                                           About(Method::FloydSteinberg, 100, 1 - 100 / 255.0, 0.01),
                                           About(Method::FloydSteinberg, 128, 1 - 128 / 255.0, 0.01),
                                           About(Method::FloydSteinberg, 200, 1 - 200 / 255.0, 0.01),
                                           Exactly(Method::FloydSteinberg, 255, 0.0), Exactly(Method::Atkinson, 0, 1.0),
                                           FlatGrey{Method::Atkinson, 32, 1 - 32 / 255.0, 1.0},
                                           FlatGrey{Method::Atkinson, 100, 1 - 100 / 255.0, 1 - 100 / 255.0 + 0.08},
                                           About(Method::Atkinson, 128, 0.5, 0.02),
                                           FlatGrey{Method::Atkinson, 160, 1 - 160 / 255.0 - 0.08, 1 - 160 / 255.0},
                                           Exactly(Method::Atkinson, 255, 0.0)),
                         [](const auto& info) { return Name(info.param.method) + std::to_string(info.param.grey); });

class EveryMethod : public ::testing::TestWithParam<Method> {};

// A ramp from black at the left to white at the right: half the dots dark,
// each quarter of the columns no darker than the one before and near as dark
// as its greys (Atkinson's stronger contrast included).
TEST_P(EveryMethod, FollowsAGreyRamp)
{
    const auto ramp = [](int x, int) { return x * 255 / (kFrameWidth - 1); };
    const FramePixels dots = ToOneBit(Picture(ramp), With(GetParam()));
    EXPECT_NEAR(DarkShare(dots), 0.5, 0.02);
    double before = 1.0;
    for (int quarter = 0; quarter < 4; ++quarter) {
        const int from = quarter * 39;
        double expected = 0;
        for (int x = from; x < from + 39; ++x) {
            expected += GetParam() == Method::Threshold ? (ramp(x, 0) < 128) : (255 - ramp(x, 0)) / 255.0;
        }
        const double share = DarkShare(dots, from, from + 39);
        EXPECT_NEAR(share, expected / 39, 0.08) << "quarter " << quarter;
        EXPECT_LE(share, before) << "quarter " << quarter;
        before = share;
    }
}

TEST_P(EveryMethod, InversionFlipsEveryDot)
{
    const auto grey = [](int x, int y) { return (x * 7 + y * 31 + x * y) % 256; };
    OneBit settings = With(GetParam());
    const FramePixels plain = ToOneBit(Picture(grey), settings);
    settings.invert = true;
    const FramePixels inverted = ToOneBit(Picture(grey), settings);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_NE(plain[i], inverted[i]) << "dot " << i;
    }
}

// Dark shares of lines of dots (columns or rows) and how far the furthest of
// them lies from their mean.
double Spread(const std::vector<double>& shares, std::size_t from, std::size_t to)
{
    double mean = 0;
    for (double share : shares) {
        mean += share / static_cast<double>(shares.size());
    }
    double furthest = 0;
    for (std::size_t i = from; i < to; ++i) {
        furthest = std::max(furthest, std::abs(shares[i] - mean));
    }
    return furthest;
}

// On a flat grey no column or row at the picture's edge stands out more than
// the method's own pattern does inside the picture (error diffusion used to
// leave a dark line at column 1).
TEST_P(EveryMethod, DrawsNoLineAtTheEdgesOfAFlatGrey)
{
    for (int grey = 0; grey < 256; ++grey) {
        const FramePixels dots = ToOneBit(Picture([&](int, int) { return grey; }), With(GetParam()));
        std::vector<double> columns(kFrameWidth);
        std::vector<double> rows(kFrameHeight);
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                const bool dark = dots[static_cast<std::size_t>(y * kFrameWidth + x)];
                columns[static_cast<std::size_t>(x)] += dark / static_cast<double>(kFrameHeight);
                rows[static_cast<std::size_t>(y)] += dark / static_cast<double>(kFrameWidth);
            }
        }
        const double inside = Spread(columns, 8, kFrameWidth - 8) + 2.0 / kFrameHeight;
        EXPECT_LE(Spread(columns, 0, 8), inside) << "grey " << grey << ", left edge";
        EXPECT_LE(Spread(columns, kFrameWidth - 8, kFrameWidth), inside) << "grey " << grey << ", right edge";
        // Rows hold the longer patterns of error diffusion, so they get more room.
        EXPECT_LE(Spread(rows, 0, 8), Spread(rows, 8, kFrameHeight) + 0.1) << "grey " << grey << ", top";
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, EveryMethod,
                         ::testing::Values(Method::Threshold, Method::Bayer, Method::FloydSteinberg, Method::Atkinson),
                         [](const auto& info) { return Name(info.param); });

TEST(Threshold, IsExactAtItsLevel)
{
    for (int level : {1, 2, 64, 128, 200, 255}) {
        OneBit settings = With(Method::Threshold);
        settings.level = level;
        // Even columns one below the level, odd columns at it.
        const FramePixels dots = ToOneBit(Picture([&](int x, int) { return level - 1 + x % 2; }), settings);
        for (int x = 0; x < kFrameWidth; ++x) {
            ASSERT_EQ(dots[static_cast<std::size_t>(x)], x % 2 == 0) << "level " << level << ", column " << x;
        }
        EXPECT_DOUBLE_EQ(DarkShare(dots), 0.5);
    }
}

struct Tone {
    int brightness;
    int contrast;
    int grey;
    double dark; // with the 4 x 4 pattern
};

void PrintTo(const Tone& t, std::ostream* os)
{
    *os << "brightness " << t.brightness << ", contrast " << t.contrast << ", grey " << t.grey;
}

class ToneChange : public ::testing::TestWithParam<Tone> {};

TEST_P(ToneChange, ShiftsTheGreyBeforeDithering)
{
    OneBit settings;
    settings.brightness = GetParam().brightness;
    settings.contrast = GetParam().contrast;
    const FramePixels dots = ToOneBit(Picture([](int, int) { return GetParam().grey; }), settings);
    EXPECT_DOUBLE_EQ(DarkShare(dots), GetParam().dark);
}

INSTANTIATE_TEST_SUITE_P(Settings, ToneChange,
                         ::testing::Values(Tone{0, 100, 64, 0.75},    // unchanged
                                           Tone{20, 100, 77, 0.5},    // 77 + 51 = 128
                                           Tone{-20, 100, 179, 0.5},  // 179 - 51 = 128
                                           Tone{100, 100, 0, 0.0},    // all white
                                           Tone{-100, 100, 255, 1.0}, // all black
                                           Tone{0, 200, 96, 0.75},    // 127.5 - 2 x 31.5 = 64.5
                                           Tone{0, 200, 160, 0.25},   // 127.5 + 2 x 32.5 = 192.5
                                           Tone{0, 0, 10, 0.5}),      // no contrast: all mid-grey
                         [](const auto& info) { return "case" + std::to_string(info.index); });

} // namespace
} // namespace velvix::frames
