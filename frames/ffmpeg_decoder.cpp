#include "ffmpeg_decoder.h"

#include "child_process.h"
#include "file_io.h"
#include "frame_bitmap.h"
#include "pgm_reader.h"
#include "system_reason.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <sstream>
#include <unistd.h>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

// "file:" keeps ffmpeg from reading a name with a colon as a protocol, or
// one with a leading dash as an option.
std::string InputName(const fs::path& file)
{
    std::error_code ignored;
    return "file:" + Utf8FromPath(fs::absolute(file, ignored));
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

Failure NotStarted(const std::string& program, int error)
{
    if (error == ENOENT) {
        return {"Das Programm „" + program +
                "“ wurde nicht gefunden. Es gehört zu ffmpeg; bitte ffmpeg installieren (Debian: apt-get install "
                "ffmpeg)."};
    }
    return {"Das Programm „" + program + "“ lässt sich nicht starten: " + SystemReasonFromErrno(error) + "."};
}

Failure Unreadable(const fs::path& file, const ChildProcess& decoder)
{
    const std::string said = decoder.messages();
    return {"ffmpeg kann „" + Utf8FromPath(file) + "“ nicht lesen." + (said.empty() ? "" : "\nffmpeg meldet: " + said)};
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

std::vector<std::string> PictureOutput()
{
    return {"-map", "0:v:0", "-f", "image2pipe", "-c:v", "pgm", "-pix_fmt", "gray", "pipe:1"};
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

namespace {

// The canvas every picture of an image folder is fitted to: the display's
// shape, this many times its size.
constexpr int kCanvasScale = 4;

// Grey first, so each scaling works on one plane. A picture smaller than the
// canvas then grows by a whole factor, each pixel copied, so a picture drawn for the display keeps its exact dots; area
// averaging then brings it to the canvas.
std::string CanvasFilters(Fit fit)
{
    const std::string w = std::to_string(kFrameWidth * kCanvasScale);
    const std::string h = std::to_string(kFrameHeight * kCanvasScale);
    const std::string grow =
        "max(1,ceil(" + std::string(fit == Fit::Fill ? "max" : "min") + "(" + w + "/iw," + h + "/ih)))";
    std::string filters =
        "format=gray,scale=w='iw*" + grow + "':h='ih*" + grow + "':flags=neighbor,scale=" + w + ":" + h;
    if (fit == Fit::Fill) {
        filters += ":force_original_aspect_ratio=increase:flags=area,crop=" + w + ":" + h;
    } else {
        // Bars of whole display dots, so the picture's edge is no half-grey dot.
        filters += ":force_original_aspect_ratio=decrease:force_divisible_by=" + std::to_string(kCanvasScale) +
                   ":flags=area,pad=" + w + ":" + h + ":x='trunc((ow-iw)/8)*4':y='trunc((oh-ih)/8)*4':color=white";
    }
    return filters;
}

// A list of images for ffmpeg's concat reader in the temporary folder,
// removed again when done.
class ImageList {
public:
    explicit ImageList(std::span<const fs::path> images)
    {
        std::string pattern = Utf8FromPath(fs::temp_directory_path(error_) / "velvix-bilder-XXXXXX");
        const int fd = error_ ? -1 : mkstemp(pattern.data());
        if (fd < 0) {
            error_ = std::error_code(errno, std::generic_category());
            return;
        }
        path_ = pattern;
        std::string text = "ffconcat version 1.0\n";
        for (const fs::path& image : images) {
            std::string name = InputName(image);
            for (std::size_t at = 0; (at = name.find('\'', at)) != std::string::npos; at += 4) {
                name.replace(at, 1, "'\\''");
            }
            text += "file '" + name + "'\nduration 1\n";
        }
        if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            error_ = std::error_code(errno, std::generic_category());
        }
        close(fd);
    }
    ~ImageList()
    {
        std::error_code ignored;
        if (!path_.empty()) {
            fs::remove(path_, ignored);
        }
    }
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    std::error_code error() const { return error_; }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    std::error_code error_;
};

// Images that one ffmpeg run can read through the concat reader: the same
// file type (its decoder is chosen once), and a name its list can hold.
bool SameRun(const fs::path& a, const fs::path& b)
{
    const auto kind = [](const fs::path& file) {
        std::string ending = Utf8FromPath(file.extension());
        std::transform(ending.begin(), ending.end(), ending.begin(),
                       [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
        return ending == ".jpeg" ? ".jpg" : ending == ".tiff" ? ".tif" : ending;
    };
    const auto listable = [](const fs::path& file) {
        return Utf8FromPath(file).find_first_of("\r\n") == std::string::npos;
    };
    return kind(a) == kind(b) && listable(a) && listable(b);
}

// One ffmpeg run over `run`; `stopped` when `take` wants no more.
std::optional<Failure> DecodeRun(const Decoders& decoders, std::span<const fs::path> run, Fit fit,
                                 const TakePicture& take, bool& stopped)
{
    std::vector<std::string> arguments{decoders.ffmpeg, "-nostdin", "-v", "error", "-xerror"};
    std::optional<ImageList> list;
    if (run.size() == 1) {
        arguments.insert(arguments.end(), {"-i", InputName(run.front())});
    } else {
        list.emplace(run);
        if (list->error()) {
            return Failure{"Die Liste der Bilder für ffmpeg lässt sich nicht anlegen: " + SystemReason(list->error()) +
                           "."};
        }
        arguments.insert(arguments.end(), {"-f", "concat", "-safe", "0", "-i", Utf8FromPath(list->path())});
    }
    arguments.insert(arguments.end(), {"-vf", CanvasFilters(fit), "-fps_mode", "passthrough"});
    const auto output = PictureOutput();
    arguments.insert(arguments.end(), output.begin(), output.end());
    ChildProcess ffmpeg(arguments);
    if (ffmpeg.startError() != 0) {
        return NotStarted(decoders.ffmpeg, ffmpeg.startError());
    }
    std::size_t taken = 0;
    GreyImage picture;
    PgmRead read;
    while (taken < run.size() && (read = ReadPgm(ffmpeg.output(), picture)) == PgmRead::Image) {
        ++taken;
        if (!take(std::move(picture))) {
            stopped = true;
            ffmpeg.finish();
            return std::nullopt;
        }
    }
    const bool ended = ffmpeg.finish();
    if (taken < run.size()) {
        // The pictures come in order: the first one missing is the one ffmpeg stumbled over.
        if (!ended || read == PgmRead::Broken) {
            return Unreadable(run[taken], ffmpeg);
        }
        return Failure{"In „" + Utf8FromPath(run[taken]) + "“ steckt kein Bild."};
    }
    return std::nullopt;
}

} // namespace

std::optional<Failure> DecodeImages(const Decoders& decoders, const std::vector<fs::path>& images, Fit fit,
                                    const TakePicture& take)
{
    bool stopped = false;
    for (std::size_t from = 0; from < images.size() && !stopped;) {
        std::size_t to = from + 1;
        while (to < images.size() && SameRun(images[from], images[to])) {
            ++to;
        }
        if (auto failure =
                DecodeRun(decoders, std::span<const fs::path>(images).subspan(from, to - from), fit, take, stopped)) {
            return failure;
        }
        from = to;
    }
    return std::nullopt;
}

} // namespace velvix::frames
