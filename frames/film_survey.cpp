// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "film_survey.h"

#include "frame_bitmap.h"
#include "frame_discovery.h"
#include "frame_folder.h"
#include "image_folder.h"
#include "video_name.h"

#include <algorithm>
#include <cmath>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

std::string Kilobytes(int frameCount)
{
    return std::to_string((static_cast<long>(frameCount) * static_cast<long>(kPackedFrameBytes) + 1023) / 1024);
}

} // namespace

InputSurvey SurveyInput(const fs::path& input, const Decoders& decoders)
{
    InputSurvey survey;
    std::error_code ec;
    survey.folder = fs::is_directory(input, ec);
    GreyImage picture;
    if (survey.folder) {
        ImageList list = ListImages(input);
        survey.images = std::move(list.images);
        survey.failure = list.failure;
        if (!survey.failure && survey.images.empty()) {
            survey.failure = ErrorMessage("Im Ordner " + Quoted(input) +
                                          " liegen keine Bilder (PNG, JPEG, BMP, ...). Bitte einen Film oder ein "
                                          "Bild aus einem Ordner mit Bildern wählen.");
        }
        if (!survey.failure) {
            survey.failure = DecodeImage(decoders, survey.images.front(), picture);
        }
    } else if (!fs::is_regular_file(input, ec)) {
        // A pipe or a device would keep ffmpeg waiting for ever.
        survey.failure =
            ErrorMessage(Quoted(input) + " ist keine gewöhnliche Datei. Bitte einen Film oder ein Bild wählen.");
    } else {
        survey.failure = DecodeFilmPicture(decoders, input, 0, picture, survey.film);
    }
    if (!survey.failure) {
        survey.picture = std::move(picture);
    }
    return survey;
}

std::optional<Message> PictureAt(const InputSurvey& survey, const fs::path& input, int place, GreyImage& picture)
{
    if (survey.folder) {
        const auto image = static_cast<std::size_t>(std::clamp(place, 0, static_cast<int>(survey.images.size()) - 1));
        return DecodeImage({}, survey.images[image], picture);
    }
    FilmFacts ignored;
    return DecodeFilmPicture({}, input, place / 10.0, picture, ignored);
}

FramePixels LookOf(const GreyImage& picture, const InputSurvey& survey, const Job& job)
{
    return ToOneBit(FitToDisplay(picture, job.fit, survey.folder ? 1 : survey.film.pixelAspect), job.oneBit);
}

JobSurvey SurveyJob(const InputSurvey& survey, const Job& job, int frameCapacity)
{
    JobSurvey result;
    if (survey.failure) {
        return result;
    }
    result.frames = survey.folder ? std::optional<int>(static_cast<int>(survey.images.size()))
                                  : ExpectedFrames(survey.film.seconds, job.part);
    result.tooMany = !result.frames || *result.frames > kMaxFrames;
    const std::string most = std::to_string(kMaxFrames);
    if (!result.frames) {
        result.count = "Wie viele Bilder es werden, sagt der Film nicht.";
    } else if (result.tooMany) {
        result.count = "Das ergibt " + std::to_string(*result.frames) + " Bilder; Velvix nimmt höchstens " + most +
                       ". Bitte die Dauer kürzen oder:";
    } else {
        result.count = "Das ergibt " + std::to_string(*result.frames) + " Bilder.";
    }
    result.firstOnly = "nur die ersten " + most + " Bilder nehmen";
    if (!survey.folder) {
        result.firstOnly +=
            " (bis " + Clock(job.part.start.value_or(0) + static_cast<double>(kMaxFrames) / job.part.rate) + ")";
    }
    if (result.frames) {
        const int frames = std::min(*result.frames, kMaxFrames);
        result.memory = "Speicher: " + std::to_string(frames) + " Bilder brauchen " + Kilobytes(frames) +
                        " KB auf dem PC-1600; die Module im Hauptfenster fassen " + std::to_string(frameCapacity) +
                        " Bilder (" + Kilobytes(frameCapacity) + " KB).";
        if (frames > frameCapacity) {
            result.memory += " Die Videokompression spart ähnliche Bilder ein; was dann noch nicht passt, lässt "
                             "Start am Ende weg.";
        }
    }
    result.convertible = !result.tooMany || job.firstFramesOnly;
    return result;
}

std::optional<int> ExpectedFrames(std::optional<double> filmSeconds, const FilmPart& part)
{
    std::optional<double> seconds = part.length;
    if (filmSeconds) {
        const double rest = std::max(*filmSeconds - part.start.value_or(0), 0.0);
        seconds = std::min(rest, part.length.value_or(rest));
    }
    if (!seconds) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(*seconds * part.rate));
}

std::string SuggestedVideoName(const fs::path& input)
{
    std::string letters;
    for (const char c : Utf8FromPath(input.filename().replace_extension())) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            letters += c;
        }
    }
    return CleanVideoName(letters);
}

std::string Clock(double seconds)
{
    const long tenths = std::lround(seconds * 10);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld,%ld", tenths / 600, tenths / 10 % 60, tenths % 10);
    return text;
}

} // namespace velvix::frames
