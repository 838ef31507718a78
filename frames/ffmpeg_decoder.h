// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "display_fit.h"
#include "error_message.h"
#include "film_header.h"
#include "grey_image.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace velvix::frames {

// The program that decodes for us, looked up on PATH; tests name another.
struct Decoders {
    std::string ffmpeg = "ffmpeg";
};

// Which stretch of a film, at which rate.
struct FilmPart {
    int rate = 6;                 // frames per second
    std::optional<double> start;  // seconds from the film's beginning
    std::optional<double> length; // seconds
};

// Receives one decoded picture; returns false when it wants no more.
using TakePicture = std::function<bool(GreyImage&&)>;

// Decodes the film's first video stream at the part's rate, picture by
// picture, in one ffmpeg run that also tells `facts` before the first
// picture arrives. Each picture is first reduced by ffmpeg as far as `fit`
// allows without a visible difference. A stop asked for by `take` is no
// failure.
std::optional<Message> DecodeFilm(const Decoders& decoders, const std::filesystem::path& film, const FilmPart& part,
                                  Fit fit, const TakePicture& take, FilmFacts& facts);

// The picture shown `seconds` into the film, and what the film tells about
// itself, for a look before the work.
std::optional<Message> DecodeFilmPicture(const Decoders& decoders, const std::filesystem::path& film, double seconds,
                                         GreyImage& picture, FilmFacts& facts);

// The (first) picture of an image file.
std::optional<Message> DecodeImage(const Decoders& decoders, const std::filesystem::path& image, GreyImage& picture);

} // namespace velvix::frames
