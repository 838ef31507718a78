// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "one_bit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace velvix::frames {

namespace {

constexpr std::size_t Index(int x, int y) { return static_cast<std::size_t>(y * kFrameWidth + x); }

std::vector<double> AdjustTone(const GreyImage& display, const OneBit& settings)
{
    std::vector<double> grey(display.pixels.size());
    for (std::size_t i = 0; i < grey.size(); ++i) {
        const double value =
            (display.pixels[i] - 127.5) * settings.contrast / 100.0 + 127.5 + settings.brightness * 2.55;
        grey[i] = std::clamp(value, 0.0, 255.0);
    }
    return grey;
}

// Thresholds 8, 24, ..., 248 in the classic order: a flat grey of v dots
// (256 - v) / 256 of the area dark, and a still picture dots the same way
// in every frame.
constexpr std::array<std::array<int, 4>, 4> kBayer{{{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}}};

struct Spread {
    int dx, dy;
    double share;
};

constexpr std::array<Spread, 4> kFloydSteinberg{
    {{1, 0, 7 / 16.0}, {-1, 1, 3 / 16.0}, {0, 1, 5 / 16.0}, {1, 1, 1 / 16.0}}};
constexpr std::array<Spread, 6> kAtkinson{
    {{1, 0, 1 / 8.0}, {2, 0, 1 / 8.0}, {-1, 1, 1 / 8.0}, {0, 1, 1 / 8.0}, {1, 1, 1 / 8.0}, {0, 2, 1 / 8.0}}};

// The picture continues past its left, right and top edges with its edge
// pixels, so the error reaching the first columns and rows is what it would
// be inside the picture: without this, the first columns receive less error
// than the rest and turn into a dark or light line on flat areas.
// From a fresh start, error diffusion takes up to some sixty rows to settle
// into its pattern (before, some greys drew alternating black rows), so it
// starts that far above.
constexpr int kMargin = 16;
constexpr int kLeadIn = 64;

template <std::size_t N>
void Diffuse(const std::vector<double>& grey, FramePixels& dark, const std::array<Spread, N>& spreads)
{
    constexpr int width = kFrameWidth + 2 * kMargin;
    constexpr int height = kFrameHeight + kLeadIn;
    std::vector<double> work(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int px = std::clamp(x - kMargin, 0, kFrameWidth - 1);
            const int py = std::max(y - kLeadIn, 0);
            work[static_cast<std::size_t>(y * width + x)] = grey[Index(px, py)];
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double value = work[static_cast<std::size_t>(y * width + x)];
            const bool isDark = value < 127.5;
            if (y >= kLeadIn && x >= kMargin && x < kMargin + kFrameWidth) {
                dark[Index(x - kMargin, y - kLeadIn)] = isDark;
            }
            const double error = value - (isDark ? 0.0 : 255.0);
            for (const Spread& s : spreads) {
                const int nx = x + s.dx;
                const int ny = y + s.dy;
                if (nx >= 0 && nx < width && ny < height) {
                    work[static_cast<std::size_t>(ny * width + nx)] += error * s.share;
                }
            }
        }
    }
}

} // namespace

FramePixels ToOneBit(const GreyImage& display, const OneBit& settings)
{
    const std::vector<double> grey = AdjustTone(display, settings);
    FramePixels dark{};
    switch (settings.method) {
    case Method::Threshold:
        for (std::size_t i = 0; i < grey.size(); ++i) {
            dark[i] = std::lround(grey[i]) < settings.level;
        }
        break;
    case Method::Bayer:
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                dark[Index(x, y)] = grey[Index(x, y)] < kBayer[y % 4][x % 4] * 16 + 8;
            }
        }
        break;
    case Method::FloydSteinberg:
        Diffuse(grey, dark, kFloydSteinberg);
        break;
    case Method::Atkinson:
        Diffuse(grey, dark, kAtkinson);
        break;
    }
    if (settings.invert) {
        for (bool& dot : dark) {
            dot = !dot;
        }
    }
    return dark;
}

} // namespace velvix::frames
