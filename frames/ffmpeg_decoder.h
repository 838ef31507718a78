#pragma once

#include "display_fit.h"
#include "failure.h"
#include "grey_image.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace velvix::frames {

// The programs that decode for us, looked up on PATH; tests name others.
struct Decoders {
    std::string ffmpeg = "ffmpeg";
    std::string ffprobe = "ffprobe";
};

// Which stretch of a film, at which rate.
struct FilmPart {
    int rate = 6;                 // frames per second
    std::optional<double> start;  // seconds from the film's beginning
    std::optional<double> length; // seconds
};

struct FilmFacts {
    std::optional<double> seconds; // nothing when the film does not say
    double pixelAspect = 1;        // width of a film pixel over its height; not 1 in anamorphic films
    std::optional<Failure> failure;
    int width = 0; // of its pictures, in film pixels; 0 when the film does not say
    int height = 0;
    bool hasPicture = false; // false for a sound file: it has no video stream
};

// Asks ffprobe how long the film runs and what shape its pixels have; fails
// when ffprobe cannot read it.
FilmFacts ProbeFilm(const Decoders& decoders, const std::filesystem::path& film);

// Receives one decoded picture; returns false when it wants no more.
using TakePicture = std::function<bool(GreyImage&&)>;

// Decodes the film's first video stream at the part's rate, picture by
// picture, each first reduced by ffmpeg to `reduceTo` (area averaging; keep
// the shape) when given. A stop asked for by `take` is no failure.
std::optional<Failure> DecodeFilm(const Decoders& decoders, const std::filesystem::path& film, const FilmPart& part,
                                  const TakePicture& take, PictureSize reduceTo = {});

// The picture shown `seconds` into the film, for a look before the work.
std::optional<Failure> DecodeFilmPicture(const Decoders& decoders, const std::filesystem::path& film, double seconds,
                                         GreyImage& picture);

// The (first) picture of an image file.
std::optional<Failure> DecodeImage(const Decoders& decoders, const std::filesystem::path& image, GreyImage& picture);

} // namespace velvix::frames
