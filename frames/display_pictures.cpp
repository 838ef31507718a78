// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "display_pictures.h"

#include "film_survey.h"
#include "frame_discovery.h"
#include "frame_folder.h"
#include "image_decoder.h"
#include "image_folder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

bool Cancelled(const Job& job) { return job.cancel != nullptr && job.cancel->load(); }

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result = text;
    if (result.size() > 2 && result.compare(result.size() - 2, 2, ".0") == 0) {
        result.resize(result.size() - 2);
    }
    std::replace(result.begin(), result.end(), '.', ',');
    return result;
}

// What the user may not expect from the film: a stretch past its end, or a
// picture mostly cut away.
std::vector<std::string> FilmNotes(const FilmFacts& film, const Job& job)
{
    std::vector<std::string> notes;
    const FilmPart& part = job.part;
    if (part.length && film.seconds && part.start.value_or(0) + *part.length > *film.seconds + 0.5 / part.rate) {
        const double rest = std::max(*film.seconds - part.start.value_or(0), 0.0);
        notes.push_back("--dauer reicht über das Ende des Films hinaus: " +
                        std::string(part.start ? "ab --start bleiben nur " : "der Film dauert nur ") + Number(rest) +
                        " Sekunden; es werden entsprechend weniger Bilder.");
    }
    if (job.fit == Fit::Fill && film.width > 0 && film.height > 0) {
        const double cut = CutOffShare({film.width, film.height}, film.pixelAspect);
        if (cut > 0.5) {
            const bool tall =
                film.width * film.pixelAspect / film.height < static_cast<double>(kFrameWidth) / kFrameHeight;
            notes.push_back("Um das Display zu füllen, werden " + std::to_string(std::lround(cut * 100)) +
                            " % des Filmbilds " + (tall ? "oben und unten" : "links und rechts") +
                            " abgeschnitten; --einpassen zeigt das ganze Bild mit weißen Rändern.");
        }
    }
    return notes;
}

Message FilmTooLong(int expected, const FilmPart& part)
{
    const std::string count = expected > kMaxFrames ? "etwa " + std::to_string(expected) : "mehr als 299";
    return ErrorMessage("Der Film ergäbe bei " + std::to_string(part.rate) + " Bildern pro Sekunde " + count +
                        " Bilder; Velvix nimmt höchstens 299. Es wurde nichts geschrieben.\n"
                        "Abhilfe: mit --start und --dauer einen kürzeren Abschnitt wählen, eine kleinere --bildrate "
                        "nehmen oder mit --erste-299 nur die ersten 299 Bilder schreiben.");
}

DisplayRead PicturesFromFilm(const Job& job, const Progress& progress, const TakePicture& take)
{
    DisplayRead result;
    FilmFacts film;
    int count = 0;
    int expected = 0;
    bool tooMany = false;
    bool stopped = false;
    const auto each = [&](GreyImage&& picture) {
        if (Cancelled(job)) {
            result.cancelled = true;
            return false;
        }
        if (count == kMaxFrames) {
            tooMany = true;
            return false;
        }
        if (count == 0) {
            expected = ExpectedFrames(film.seconds, job.part).value_or(0); // the film has told its length by now
        }
        if (!take(FitToDisplay(picture, job.fit, film.pixelAspect))) {
            stopped = true;
            return false;
        }
        const int done = ++count;
        if (progress) {
            progress(done, job.firstFramesOnly ? std::min(expected, kMaxFrames) : expected);
        }
        return !(job.firstFramesOnly && done == kMaxFrames);
    };
    result.failure = DecodeFilm(job.decoders, job.input, job.part, job.fit, each, film);
    if (!result.failure && tooMany) {
        result.failure = FilmTooLong(ExpectedFrames(film.seconds, job.part).value_or(0), job.part);
    }
    if (!result.failure && !result.cancelled && !stopped && count == 0) {
        result.failure = ErrorMessage("Aus " + Quoted(job.input) +
                                      " kommt kein einziges Bild. Liegt --start hinter dem Ende des Films?");
    }
    if (!result.failure) {
        result.notes = FilmNotes(film, job);
    }
    return result;
}

DisplayRead PicturesFromImages(const Job& job, const Progress& progress, const TakePicture& take)
{
    DisplayRead result;
    ImageList list = ListImages(job.input);
    if (list.failure) {
        result.failure = list.failure;
        return result;
    }
    if (list.images.empty()) {
        result.failure = ErrorMessage("Im Ordner " + Quoted(job.input) + " liegen keine Bilder (PNG, JPEG, BMP, ...).");
        return result;
    }
    if (list.images.size() > kMaxFrames) {
        if (!job.firstFramesOnly) {
            result.failure =
                ErrorMessage("Im Ordner " + Quoted(job.input) + " liegen " + std::to_string(list.images.size()) +
                             " Bilder; Velvix nimmt höchstens 299. Es wurde nichts geschrieben.\n"
                             "Mit --erste-299 werden nur die ersten 299 Bilder geschrieben.");
            return result;
        }
        list.images.resize(kMaxFrames);
    }
    const int expected = static_cast<int>(list.images.size());
    int count = 0;
    result.failure = DecodeImages(job.decoders, list.images, job.fit, [&](GreyImage&& picture) {
        if (Cancelled(job)) {
            result.cancelled = true;
            return false;
        }
        if (!take(FitToDisplay(picture, job.fit, 1))) {
            return false;
        }
        ++count;
        if (progress) {
            progress(count, expected);
        }
        return true;
    });
    return result;
}

} // namespace

DisplayRead ReadDisplayPictures(const Job& job, const Progress& progress, const TakePicture& take)
{
    std::error_code ec;
    return fs::is_directory(job.input, ec) ? PicturesFromImages(job, progress, take)
                                           : PicturesFromFilm(job, progress, take);
}

DisplayPictures ReadDisplayPictures(const Job& job, const Progress& progress)
{
    DisplayPictures result;
    static_cast<DisplayRead&>(result) = ReadDisplayPictures(job, progress, [&](GreyImage&& picture) {
        result.pictures.push_back(std::move(picture));
        return true;
    });
    return result;
}

} // namespace velvix::frames
