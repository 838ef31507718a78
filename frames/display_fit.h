// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "grey_image.h"

namespace velvix::frames {

// How a picture of another shape meets the display's 156 x 32.
enum class Fit {
    Fill, // scaled to cover the display, the overhang cut off evenly
    Bars, // scaled to lie wholly inside, the rest white
};

// The picture scaled to the display's size, whose dots are square; a picture
// pixel is `pixelAspect` times as wide as high. Each display pixel is the mean
// of the picture area it covers, so fine detail turns grey rather than flicker.
GreyImage FitToDisplay(const GreyImage& picture, Fit fit, double pixelAspect);

// A size in pixels.
struct PictureSize {
    int width = 0;
    int height = 0;
};

// The share of the picture that Fit::Fill cuts off.
double CutOffShare(PictureSize picture, double pixelAspect);

} // namespace velvix::frames
