// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "frame_writer.h"
#include "grey_image.h"

#include <array>

namespace velvix::frames {

enum class Method {
    Threshold,      // darker than the level: a dark dot
    Bayer,          // ordered dithering with a fixed 4 x 4 pattern
    FloydSteinberg, // error diffusion to four neighbours
    Atkinson,       // error diffusion of three quarters of the error, crisper
};

// The methods as lists show them, the tool's default first.
struct MethodEntry {
    const char* name;
    Method method;
};
inline constexpr std::array<MethodEntry, 4> kMethods{{
    {"Bayer (ruhig)", Method::Bayer},
    {"Floyd-Steinberg", Method::FloydSteinberg},
    {"Atkinson", Method::Atkinson},
    {"Schwelle", Method::Threshold},
}};

struct OneBit {
    Method method = Method::Bayer;
    int level = 128;     // Threshold: grey values below it become dark dots
    int brightness = 0;  // -100 to 100: percent of full white added
    int contrast = 100;  // percent; 100 leaves the picture as it is
    bool invert = false; // every dot the other way round
};

// A display-sized grey picture (156 x 32) as dark and light dots.
FramePixels ToOneBit(const GreyImage& display, const OneBit& settings);

} // namespace velvix::frames
