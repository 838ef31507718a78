// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <optional>
#include <string>

namespace velvix::frames {

// What a film says about itself.
struct FilmFacts {
    bool opened = false;           // ffmpeg could read the film's header
    bool hasPicture = false;       // false for a sound file: it has no video stream
    std::optional<double> seconds; // nothing when the film does not say
    int width = 0;                 // of its pictures, in film pixels; 0 when the film does not say
    int height = 0;
    double pixelAspect = 1; // width of a film pixel over its height; not 1 in anamorphic films
};

// Reads the facts from the header lines ffmpeg logs about its input (at
// info level, each line marked with its level) before it decodes: the
// duration, and size and pixel shape of the first video stream.
FilmFacts ReadFilmHeader(const std::string& log);

} // namespace velvix::frames
