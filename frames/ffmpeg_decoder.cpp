// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "ffmpeg_decoder.h"

#include "child_process.h"
#include "ffmpeg_run.h"
#include "file_io.h"
#include "frame_bitmap.h"
#include "pgm_reader.h"

#include <cstdio>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

// ffmpeg's scaling, shape kept, to two pixels or more each way for every
// display dot the picture fills under `fit`: small pictures through the
// pipe, and no visible difference after our own area averaging. Pictures no larger
// stay as they are; the film's pixel shape counts, as in FitToDisplay.
std::string ReduceFilter(Fit fit)
{
    const std::string factor = "2*" + std::string(fit == Fit::Fill ? "max" : "min") + "(" +
                               std::to_string(kFrameWidth) + "/(iw*sar)," + std::to_string(kFrameHeight) + "/ih)";
    const auto side = [&](const char* in) {
        return "'if(gte(" + factor + ",1)," + in + ",max(ceil(" + in + "*" + factor + "),1))'";
    };
    return "scale=w=" + side("iw") + ":h=" + side("ih") + ":flags=area,format=gray";
}

// Reads pictures until the stream ends or `take` wants no more; `facts` are
// read from ffmpeg's log as soon as the first picture is there.
std::optional<Message> ReadPictures(ChildProcess& decoder, const std::string& program, const fs::path& file,
                                    const TakePicture& take, FilmFacts& facts)
{
    if (decoder.startError() != 0) {
        return NotStarted(program, decoder.startError());
    }
    GreyImage picture;
    PgmRead read;
    bool first = true;
    while ((read = ReadPgm(decoder.output(), picture)) == PgmRead::Image) {
        if (first) {
            facts = ReadFilmHeader(decoder.messages());
            first = false;
        }
        if (!take(std::move(picture))) {
            decoder.end(); // not waiting for its next picture, which can take long to decode
            return std::nullopt;
        }
    }
    const bool ended = decoder.finish();
    facts = ReadFilmHeader(decoder.messages());
    if (ended && read != PgmRead::Broken) {
        return std::nullopt;
    }
    if (facts.opened && !facts.hasPicture) {
        return ErrorMessage("In „" + Utf8FromPath(file) +
                            "“ steckt kein Bild, vielleicht nur Ton. Bitte einen Film wählen.");
    }
    return Unreadable(file, InputKind::Film, decoder);
}

} // namespace

std::optional<Message> DecodeFilm(const Decoders& decoders, const fs::path& film, const FilmPart& part, Fit fit,
                                  const TakePicture& take, FilmFacts& facts)
{
    std::vector<std::string> arguments = FfmpegStart(decoders.ffmpeg);
    if (part.start) {
        arguments.insert(arguments.end(), {"-ss", Seconds(*part.start)});
    }
    arguments.insert(arguments.end(), {"-i", InputName(film)});
    if (part.length) {
        arguments.insert(arguments.end(), {"-t", Seconds(*part.length)});
    }
    arguments.insert(arguments.end(), {"-vf", "fps=" + std::to_string(part.rate) + "," + ReduceFilter(fit)});
    const auto output = PictureOutput();
    arguments.insert(arguments.end(), output.begin(), output.end());
    ChildProcess ffmpeg(arguments);
    return ReadPictures(ffmpeg, decoders.ffmpeg, film, take, facts);
}

std::optional<Message> DecodeFilmPicture(const Decoders& decoders, const fs::path& film, double seconds,
                                         GreyImage& picture, FilmFacts& facts)
{
    std::vector<std::string> arguments = FfmpegStart(decoders.ffmpeg);
    arguments.insert(arguments.end(), {"-ss", Seconds(seconds), "-i", InputName(film), "-frames:v", "1"});
    const auto output = PictureOutput();
    arguments.insert(arguments.end(), output.begin(), output.end());
    ChildProcess ffmpeg(arguments);
    bool found = false;
    auto failure = ReadPictures(ffmpeg, decoders.ffmpeg, film, [&](GreyImage&& decoded) {
        picture = std::move(decoded);
        found = true;
        return true;
    }, facts);
    if (!failure && !found) {
        failure = ErrorMessage("„" + Utf8FromPath(film) + "“ zeigt bei " + Seconds(seconds) + " s kein Bild.");
    }
    return failure;
}

std::optional<Message> DecodeImage(const Decoders& decoders, const fs::path& image, GreyImage& picture)
{
    std::vector<std::string> arguments = FfmpegStart(decoders.ffmpeg);
    arguments.insert(arguments.end(), {"-i", InputName(image), "-frames:v", "1"});
    const auto output = PictureOutput();
    arguments.insert(arguments.end(), output.begin(), output.end());
    ChildProcess ffmpeg(arguments);
    if (ffmpeg.startError() != 0) {
        return NotStarted(decoders.ffmpeg, ffmpeg.startError());
    }
    const PgmRead read = ReadPgm(ffmpeg.output(), picture);
    if (!ffmpeg.finish() || read == PgmRead::Broken) {
        return Unreadable(image, InputKind::Image, ffmpeg);
    }
    if (read != PgmRead::Image) {
        return ErrorMessage("In „" + Utf8FromPath(image) + "“ steckt kein Bild.");
    }
    return std::nullopt;
}

} // namespace velvix::frames
