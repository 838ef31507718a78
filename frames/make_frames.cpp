#include "make_frames.h"

#include "contact_sheet.h"
#include "file_io.h"
#include "frame_discovery.h"
#include "frame_folder.h"
#include "image_folder.h"
#include "places.h"

#include <algorithm>
#include <cmath>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) { return "„" + Utf8FromPath(path) + "“"; }

std::optional<Failure> CheckInput(const fs::path& input)
{
    std::error_code ec;
    if (!fs::exists(input, ec)) {
        return Failure{Quoted(input) + " gibt es nicht."};
    }
    if (fs::is_directory(input, ec)) {
        return std::nullopt;
    }
    const FileStart start = ReadFileStart(input, 1);
    if (start.error) {
        return Failure{Quoted(input) + " lässt sich nicht lesen: " + start.error->reason};
    }
    if (start.bytes.empty()) {
        return Failure{Quoted(input) + " ist leer."};
    }
    return std::nullopt;
}

struct Collected {
    std::vector<FramePixels> frames;
    std::optional<Failure> failure;
    bool cancelled = false;
};

bool Cancelled(const Job& job) { return job.cancel != nullptr && job.cancel->load(); }

FramePixels Convert(const GreyImage& picture, const Job& job, double pixelAspect)
{
    return ToOneBit(FitToDisplay(picture, job.fit, pixelAspect), job.oneBit);
}

// How long the chosen stretch of the film runs, when the film says how long it is.
std::optional<double> StretchSeconds(std::optional<double> filmSeconds, const FilmPart& part)
{
    std::optional<double> seconds = part.length;
    if (filmSeconds) {
        const double rest = std::max(*filmSeconds - part.start.value_or(0), 0.0);
        seconds = std::min(rest, part.length.value_or(rest));
    }
    return seconds;
}

Failure FilmTooLong(int expected, const FilmPart& part)
{
    const std::string count = expected > kMaxFrames ? "etwa " + std::to_string(expected) : "mehr als 299";
    return {"Der Film ergäbe bei " + std::to_string(part.rate) + " Bildern pro Sekunde " + count +
            " Bilder; Velvix nimmt höchstens 299. Es wurde nichts geschrieben.\n"
            "Abhilfe: mit --start und --dauer einen kürzeren Abschnitt wählen, eine kleinere --bildrate nehmen "
            "oder mit --erste-299 nur die ersten 299 Bilder schreiben."};
}

Collected FramesFromFilm(const Job& job, const Progress& progress)
{
    Collected result;
    const FilmFacts film = ProbeFilm(job.decoders, job.input);
    if (film.failure) {
        result.failure = film.failure;
        return result;
    }
    if (!film.hasPicture) {
        result.failure =
            Failure{"In " + Quoted(job.input) + " steckt kein Bild, vielleicht nur Ton. Bitte einen Film wählen."};
        return result;
    }
    const int expected = ExpectedFrames(film.seconds, job.part).value_or(0);
    const int shown = job.firstFramesOnly ? std::min(expected, kMaxFrames) : expected;

    bool tooMany = false;
    result.failure = DecodeFilm(job.decoders, job.input, job.part, [&](GreyImage&& picture) {
        if (Cancelled(job)) {
            result.cancelled = true;
            return false;
        }
        if (result.frames.size() == kMaxFrames) {
            tooMany = true;
            return false;
        }
        result.frames.push_back(Convert(picture, job, film.pixelAspect));
        const int done = static_cast<int>(result.frames.size());
        if (progress) {
            progress(done, shown);
        }
        return !(job.firstFramesOnly && done == kMaxFrames);
    });
    if (result.cancelled) {
        return result;
    }
    if (!result.failure && tooMany) {
        result.failure = FilmTooLong(expected, job.part);
    }
    if (!result.failure && result.frames.empty()) {
        result.failure =
            Failure{"Aus " + Quoted(job.input) + " kommt kein einziges Bild. Liegt --start hinter dem Ende des Films?"};
    }
    return result;
}

Collected FramesFromImages(const Job& job, const Progress& progress)
{
    Collected result;
    ImageList list = ListImages(job.input);
    if (list.failure) {
        result.failure = list.failure;
        return result;
    }
    if (list.images.empty()) {
        result.failure = Failure{"Im Ordner " + Quoted(job.input) + " liegen keine Bilder (PNG, JPEG, BMP, ...)."};
        return result;
    }
    if (list.images.size() > kMaxFrames) {
        if (!job.firstFramesOnly) {
            result.failure =
                Failure{"Im Ordner " + Quoted(job.input) + " liegen " + std::to_string(list.images.size()) +
                        " Bilder; Velvix nimmt höchstens 299. Es wurde nichts geschrieben.\n"
                        "Mit --erste-299 werden nur die ersten 299 Bilder geschrieben."};
            return result;
        }
        list.images.resize(kMaxFrames);
    }
    for (const fs::path& image : list.images) {
        if (Cancelled(job)) {
            result.cancelled = true;
            return result;
        }
        GreyImage picture;
        if (auto failure = DecodeImage(job.decoders, image, picture)) {
            result.failure = failure;
            return result;
        }
        result.frames.push_back(Convert(picture, job, 1));
        if (progress) {
            progress(static_cast<int>(result.frames.size()), static_cast<int>(list.images.size()));
        }
    }
    return result;
}

} // namespace

std::optional<int> ExpectedFrames(std::optional<double> filmSeconds, const FilmPart& part)
{
    const std::optional<double> seconds = StretchSeconds(filmSeconds, part);
    if (!seconds) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(*seconds * part.rate));
}

Outcome MakeFrames(const Job& job, const Progress& progress)
{
    if (auto failure = CheckInput(job.input)) {
        return {0, failure};
    }
    if (!job.outputFolder.empty()) {
        if (auto failure = CheckOutputPlace(job.input, job.outputFolder)) {
            return {0, failure};
        }
        if (auto failure = CheckOutputFolder(job.outputFolder, job.replace)) {
            return {0, failure};
        }
    }
    if (!job.preview.empty()) {
        if (auto failure = CheckPreviewPlace(job.input, job.preview, job.replace)) {
            return {0, failure};
        }
    }
    std::error_code ec;
    const Collected collected =
        fs::is_directory(job.input, ec) ? FramesFromImages(job, progress) : FramesFromFilm(job, progress);
    if (collected.cancelled || Cancelled(job)) {
        return {0, std::nullopt, true};
    }
    if (collected.failure) {
        return {0, collected.failure};
    }
    if (!job.preview.empty()) {
        if (auto error = WriteWholeFile(job.preview, MakeContactSheet(collected.frames))) {
            return {0,
                    Failure{"Die Vorschau " + Quoted(error->path) + " lässt sich nicht schreiben: " + error->reason}};
        }
    }
    if (!job.outputFolder.empty()) {
        if (auto failure = WriteFrames(job.outputFolder, collected.frames)) {
            return {0, failure};
        }
    }
    return {static_cast<int>(collected.frames.size()), std::nullopt};
}

} // namespace velvix::frames
