#include "image_decoder.h"

#include "child_process.h"
#include "ffmpeg_run.h"
#include "file_io.h"
#include "frame_bitmap.h"
#include "pgm_reader.h"
#include "system_reason.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <span>
#include <unistd.h>

namespace velvix::frames {

namespace fs = std::filesystem;

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
