#include "make_frames.h"

#include "contact_sheet.h"
#include "file_io.h"
#include "film_survey.h"
#include "frame_discovery.h"
#include "frame_folder.h"
#include "image_decoder.h"
#include "image_folder.h"
#include "output_swap.h"
#include "places.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

std::optional<Message> CheckInput(const fs::path& input)
{
    std::error_code ec;
    if (!fs::exists(input, ec)) {
        return ErrorMessage(Quoted(input) + " gibt es nicht.");
    }
    if (fs::is_directory(input, ec)) {
        return std::nullopt;
    }
    const FileStart start = ReadFileStart(input, 1);
    if (start.error) {
        return ErrorMessage(Quoted(input) + " lässt sich nicht lesen: " + start.error->reason);
    }
    if (start.bytes.empty()) {
        return ErrorMessage(Quoted(input) + " ist leer.");
    }
    return std::nullopt;
}

struct Collected {
    std::vector<FramePixels> frames;
    std::optional<Message> failure;
    std::vector<std::string> notes;
    bool cancelled = false;
};

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

FramePixels Convert(const GreyImage& picture, const Job& job, double pixelAspect)
{
    return ToOneBit(FitToDisplay(picture, job.fit, pixelAspect), job.oneBit);
}

Message FilmTooLong(int expected, const FilmPart& part)
{
    const std::string count = expected > kMaxFrames ? "etwa " + std::to_string(expected) : "mehr als 299";
    return ErrorMessage("Der Film ergäbe bei " + std::to_string(part.rate) + " Bildern pro Sekunde " + count +
                        " Bilder; Velvix nimmt höchstens 299. Es wurde nichts geschrieben.\n"
                        "Abhilfe: mit --start und --dauer einen kürzeren Abschnitt wählen, eine kleinere --bildrate "
                        "nehmen oder mit --erste-299 nur die ersten 299 Bilder schreiben.");
}

Collected FramesFromFilm(const Job& job, const Progress& progress)
{
    Collected result;
    FilmFacts film;
    int expected = 0;
    bool tooMany = false;
    const auto take = [&](GreyImage&& picture) {
        if (Cancelled(job)) {
            result.cancelled = true;
            return false;
        }
        if (result.frames.size() == kMaxFrames) {
            tooMany = true;
            return false;
        }
        if (result.frames.empty()) {
            expected = ExpectedFrames(film.seconds, job.part).value_or(0); // the film has told its length by now
        }
        result.frames.push_back(Convert(picture, job, film.pixelAspect));
        const int done = static_cast<int>(result.frames.size());
        if (progress) {
            progress(done, job.firstFramesOnly ? std::min(expected, kMaxFrames) : expected);
        }
        return !(job.firstFramesOnly && done == kMaxFrames);
    };
    result.failure = DecodeFilm(job.decoders, job.input, job.part, job.fit, take, film);
    if (!result.failure && tooMany) {
        result.failure = FilmTooLong(ExpectedFrames(film.seconds, job.part).value_or(0), job.part);
    }
    if (!result.failure && !result.cancelled && result.frames.empty()) {
        result.failure = ErrorMessage("Aus " + Quoted(job.input) +
                                      " kommt kein einziges Bild. Liegt --start hinter dem Ende des Films?");
    }
    if (!result.failure) {
        result.notes = FilmNotes(film, job);
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
    result.failure = DecodeImages(job.decoders, list.images, job.fit, [&](GreyImage&& picture) {
        if (Cancelled(job)) {
            result.cancelled = true;
            return false;
        }
        result.frames.push_back(Convert(picture, job, 1));
        if (progress) {
            progress(static_cast<int>(result.frames.size()), expected);
        }
        return true;
    });
    return result;
}

Outcome Failed(std::optional<Message> failure) { return {0, std::move(failure), {}, false}; }

} // namespace

Outcome MakeFrames(const Job& job, const Progress& progress)
{
    if (auto failure = CheckInput(job.input)) {
        return Failed(failure);
    }
    if (!job.outputFolder.empty()) {
        if (auto failure = CheckOutputPlace(job.input, job.outputFolder)) {
            return Failed(failure);
        }
    }
    if (!job.preview.empty()) {
        if (auto failure = CheckPreviewPlace(job.input, job.preview, job.replace)) {
            return Failed(failure);
        }
    }
    Recovered recovered = RecoverOutput(job.outputFolder, job.preview, *job.folderOps);
    if (recovered.failure) {
        return Failed(recovered.failure);
    }
    if (!job.outputFolder.empty()) {
        if (auto failure = CheckOutputFolder(job.outputFolder, job.replace, *job.folderOps)) {
            return Failed(failure);
        }
    }
    std::error_code ec;
    Collected collected =
        fs::is_directory(job.input, ec) ? FramesFromImages(job, progress) : FramesFromFilm(job, progress);
    // Before any failure: a stop can make ffmpeg fail too (Ctrl-C reaches it as well).
    if (collected.cancelled || Cancelled(job)) {
        return {0,
                Message{"Abgebrochen", "Abgebrochen. Es wurde nichts geschrieben.", Message::Icon::Information,
                        Message::Buttons::Ok},
                recovered.notes, true};
    }
    if (collected.failure) {
        return {0, collected.failure, recovered.notes, false};
    }
    const int count = static_cast<int>(collected.frames.size());
    NewOutput output{job.outputFolder, std::move(collected.frames), job.preview, {}};
    if (!job.preview.empty()) {
        output.sheetBytes = MakeContactSheet(output.frames);
    }
    if (auto failure = WriteOutput(output, *job.folderOps)) {
        return {0, failure, recovered.notes, false};
    }
    recovered.notes.insert(recovered.notes.end(), collected.notes.begin(), collected.notes.end());
    return {count, std::nullopt, recovered.notes, false};
}

} // namespace velvix::frames
