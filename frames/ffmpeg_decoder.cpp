#include "ffmpeg_decoder.h"

#include "child_process.h"
#include "ffmpeg_run.h"
#include "file_io.h"
#include "pgm_reader.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

// Reads pictures until the stream ends or `take` wants no more.
std::optional<Failure> ReadPictures(ChildProcess& decoder, const std::string& program, const fs::path& file,
                                    const TakePicture& take)
{
    if (decoder.startError() != 0) {
        return NotStarted(program, decoder.startError());
    }
    GreyImage picture;
    PgmRead read;
    while ((read = ReadPgm(decoder.output(), picture)) == PgmRead::Image) {
        if (!take(std::move(picture))) {
            decoder.finish(); // it ends on its next write; its complaint about that is no failure
            return std::nullopt;
        }
    }
    if (!decoder.finish() || read == PgmRead::Broken) {
        return Unreadable(file, decoder);
    }
    return std::nullopt;
}

} // namespace

FilmFacts ProbeFilm(const Decoders& decoders, const fs::path& film)
{
    ChildProcess probe({decoders.ffprobe, "-v", "error", "-select_streams", "v:0", "-show_entries",
                        "format=duration:stream=codec_type,width,height,sample_aspect_ratio", "-of",
                        "default=noprint_wrappers=1", InputName(film)});
    if (probe.startError() != 0) {
        return {std::nullopt, 1, NotStarted(decoders.ffprobe, probe.startError())};
    }
    std::string text(1000, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), probe.output()));
    if (!probe.finish()) {
        return {std::nullopt, 1, Unreadable(film, probe)};
    }
    // Lines "codec_type=video", "duration=12.345", "width=720" and "sample_aspect_ratio=64:45"; "N/A" where the
    // film does not say.
    FilmFacts facts;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        double seconds = 0;
        int across = 0;
        int down = 0;
        if (line == "codec_type=video") {
            facts.hasPicture = true;
        } else if (std::sscanf(line.c_str(), "duration=%lf", &seconds) == 1 && seconds >= 0) {
            facts.seconds = seconds;
        } else if (std::sscanf(line.c_str(), "sample_aspect_ratio=%d:%d", &across, &down) == 2 && across > 0 &&
                   down > 0) {
            facts.pixelAspect = std::clamp(static_cast<double>(across) / down, 0.1, 10.0);
        } else if (std::sscanf(line.c_str(), "width=%d", &across) == 1 && across > 0 && across <= 16384) {
            facts.width = across;
        } else if (std::sscanf(line.c_str(), "height=%d", &down) == 1 && down > 0 && down <= 16384) {
            facts.height = down;
        }
    }
    return facts;
}

std::optional<Failure> DecodeFilm(const Decoders& decoders, const fs::path& film, const FilmPart& part,
                                  const TakePicture& take, PictureSize reduceTo)
{
    std::vector<std::string> arguments{decoders.ffmpeg, "-nostdin", "-v", "error"};
    if (part.start) {
        arguments.insert(arguments.end(), {"-ss", Seconds(*part.start)});
    }
    arguments.insert(arguments.end(), {"-i", InputName(film)});
    if (part.length) {
        arguments.insert(arguments.end(), {"-t", Seconds(*part.length)});
    }
    std::string filters = "fps=" + std::to_string(part.rate);
    if (reduceTo.width > 0 && reduceTo.height > 0) {
        // Smaller pictures through the pipe; one pass turns them grey as well.
        filters += ",scale=" + std::to_string(reduceTo.width) + ":" + std::to_string(reduceTo.height) +
                   ":flags=area,format=gray";
    }
    arguments.insert(arguments.end(), {"-vf", filters});
    const auto output = PictureOutput();
    arguments.insert(arguments.end(), output.begin(), output.end());
    ChildProcess ffmpeg(arguments);
    return ReadPictures(ffmpeg, decoders.ffmpeg, film, take);
}

namespace {

// The first picture that ffmpeg gives for `arguments`; `none` when there is none.
std::optional<Failure> DecodeOnePicture(std::vector<std::string> arguments, const Decoders& decoders,
                                        const fs::path& file, GreyImage& picture, const std::string& none)
{
    const auto output = PictureOutput();
    arguments.insert(arguments.end(), {"-frames:v", "1"});
    arguments.insert(arguments.end(), output.begin(), output.end());
    ChildProcess ffmpeg(arguments);
    bool found = false;
    auto failure = ReadPictures(ffmpeg, decoders.ffmpeg, file, [&](GreyImage&& decoded) {
        picture = std::move(decoded);
        found = true;
        return true;
    });
    if (!failure && !found) {
        failure = Failure{none};
    }
    return failure;
}

} // namespace

std::optional<Failure> DecodeFilmPicture(const Decoders& decoders, const fs::path& film, double seconds,
                                         GreyImage& picture)
{
    return DecodeOnePicture(
        {decoders.ffmpeg, "-nostdin", "-v", "error", "-ss", Seconds(seconds), "-i", InputName(film)}, decoders, film,
        picture, "„" + Utf8FromPath(film) + "“ zeigt bei " + Seconds(seconds) + " s kein Bild.");
}

std::optional<Failure> DecodeImage(const Decoders& decoders, const fs::path& image, GreyImage& picture)
{
    return DecodeOnePicture({decoders.ffmpeg, "-nostdin", "-v", "error", "-i", InputName(image)}, decoders, image,
                            picture, "In „" + Utf8FromPath(image) + "“ steckt kein Bild.");
}

} // namespace velvix::frames
