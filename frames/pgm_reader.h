// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "grey_image.h"

#include <cstdio>

namespace velvix::frames {

enum class PgmRead {
    Image, // one picture read
    End,   // the stream ended before a new picture began
    Broken,
};

// Reads the next picture of a stream of binary 8-bit PGM images ("P5"), the
// form in which ffmpeg hands us grey frames: each carries its own size, so
// pictures of any size can follow one another.
PgmRead ReadPgm(std::FILE* in, GreyImage& picture);

} // namespace velvix::frames
