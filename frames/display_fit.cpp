// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "display_fit.h"

#include "frame_bitmap.h"

#include <algorithm>
#include <cmath>

namespace velvix::frames {

namespace {

// The source pixels one target pixel covers, each with the share it covers.
struct Coverage {
    int first = 0;
    std::vector<double> weights;
};

// Target pixels 0..count-1 spread evenly over source [start, start + length).
std::vector<Coverage> CoverageOf(double start, double length, int count, int sourceSize)
{
    std::vector<Coverage> result(static_cast<std::size_t>(count));
    const double step = length / count;
    for (int i = 0; i < count; ++i) {
        const double from = std::clamp(start + step * i, 0.0, static_cast<double>(sourceSize));
        const double to = std::clamp(start + step * (i + 1), from, static_cast<double>(sourceSize));
        Coverage& c = result[static_cast<std::size_t>(i)];
        c.first = std::min(static_cast<int>(from), sourceSize - 1);
        if (to - from < 1e-9) { // only rounding can shrink a step to nothing
            c.weights = {1.0};
            continue;
        }
        for (int s = c.first; s < sourceSize && s < to; ++s) {
            c.weights.push_back((std::min(to, s + 1.0) - std::max(from, static_cast<double>(s))) / (to - from));
        }
    }
    return result;
}

double Mean(const Coverage& c, auto&& value)
{
    double sum = 0;
    for (std::size_t k = 0; k < c.weights.size(); ++k) {
        sum += c.weights[k] * value(c.first + static_cast<int>(k));
    }
    return sum;
}

struct Placement {
    double sourceX, sourceY, sourceWidth, sourceHeight;
    int targetX, targetY, targetWidth, targetHeight;
};

// A scale is display dots per picture pixel height; a picture pixel is `aspect`
// times as wide as it is high.
Placement Place(int width, int height, double aspect, Fit fit)
{
    const double scaleX = kFrameWidth / (width * aspect);
    const double scaleY = static_cast<double>(kFrameHeight) / height;
    if (fit == Fit::Fill) {
        const double scale = std::max(scaleX, scaleY);
        const double usedWidth = kFrameWidth / (scale * aspect);
        const double usedHeight = kFrameHeight / scale;
        return {
            (width - usedWidth) / 2, (height - usedHeight) / 2, usedWidth, usedHeight, 0, 0, kFrameWidth, kFrameHeight};
    }
    const double scale = std::min(scaleX, scaleY);
    const int targetWidth = std::clamp(static_cast<int>(std::lround(width * aspect * scale)), 1, kFrameWidth);
    const int targetHeight = std::clamp(static_cast<int>(std::lround(height * scale)), 1, kFrameHeight);
    return {0,
            0,
            static_cast<double>(width),
            static_cast<double>(height),
            (kFrameWidth - targetWidth) / 2,
            (kFrameHeight - targetHeight) / 2,
            targetWidth,
            targetHeight};
}

} // namespace

GreyImage FitToDisplay(const GreyImage& picture, Fit fit, double pixelAspect)
{
    const Placement p = Place(picture.width, picture.height, pixelAspect, fit);
    const auto columns = CoverageOf(p.sourceX, p.sourceWidth, p.targetWidth, picture.width);
    const auto rows = CoverageOf(p.sourceY, p.sourceHeight, p.targetHeight, picture.height);

    // Across first: every picture row shrunk to the target width; then down.
    std::vector<double> across(static_cast<std::size_t>(picture.height * p.targetWidth));
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < p.targetWidth; ++x) {
            across[static_cast<std::size_t>(y * p.targetWidth + x)] =
                Mean(columns[static_cast<std::size_t>(x)], [&](int sx) { return picture.at(sx, y); });
        }
    }
    GreyImage display{kFrameWidth, kFrameHeight,
                      std::vector<std::uint8_t>(static_cast<std::size_t>(kFrameWidth) * kFrameHeight, 255)};
    for (int y = 0; y < p.targetHeight; ++y) {
        for (int x = 0; x < p.targetWidth; ++x) {
            const double mean = Mean(rows[static_cast<std::size_t>(y)],
                                     [&](int sy) { return across[static_cast<std::size_t>(sy * p.targetWidth + x)]; });
            display.pixels[static_cast<std::size_t>((p.targetY + y) * kFrameWidth + p.targetX + x)] =
                static_cast<std::uint8_t>(std::lround(std::clamp(mean, 0.0, 255.0)));
        }
    }
    return display;
}

double CutOffShare(PictureSize picture, double pixelAspect)
{
    const Placement p = Place(picture.width, picture.height, pixelAspect, Fit::Fill);
    return 1 - p.sourceWidth * p.sourceHeight / (static_cast<double>(picture.width) * picture.height);
}

} // namespace velvix::frames
