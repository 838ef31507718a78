// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
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
constexpr int kCanvasScale = 2;

// Grey first, so each scaling works on one plane. A picture smaller than the
// canvas then grows by a whole factor, each pixel copied, so a picture drawn for the display keeps its exact dots; area
// averaging then brings it to the canvas.
// Half of a bar, in whole display dots.
std::string Whole(const char* bar)
{
    const std::string scale = std::to_string(kCanvasScale);
    return "trunc((" + std::string(bar) + ")/" + std::to_string(2 * kCanvasScale) + ")*" + scale;
}

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
                   ":flags=area,pad=" + w + ":" + h + ":x='" + Whole("ow-iw") + "':y='" + Whole("oh-ih") + "':color=white";
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

// The pictures of one ffmpeg run, or why there are none.
struct RunResult {
    std::vector<GreyImage> pictures;
    std::optional<Message> failure;
};

// One ffmpeg run over `images`; only a run that gives exactly one picture per
// image succeeds.
RunResult DecodeRun(const Decoders& decoders, std::span<const fs::path> images, Fit fit)
{
    RunResult result;
    std::vector<std::string> arguments = FfmpegStart(decoders.ffmpeg);
    arguments.push_back("-xerror");
    std::optional<ImageList> list;
    if (images.size() == 1) {
        arguments.insert(arguments.end(), {"-i", InputName(images.front()), "-frames:v", "1"});
    } else {
        list.emplace(images);
        if (list->error()) {
            result.failure = ErrorMessage(
                "Die Liste der Bilder für ffmpeg lässt sich nicht anlegen: " + SystemReason(list->error()) + ".");
            return result;
        }
        arguments.insert(arguments.end(), {"-f", "concat", "-safe", "0", "-i", Utf8FromPath(list->path())});
    }
    arguments.insert(arguments.end(), {"-vf", CanvasFilters(fit), "-fps_mode", "passthrough"});
    const auto output = PictureOutput();
    arguments.insert(arguments.end(), output.begin(), output.end());
    ChildProcess ffmpeg(arguments);
    if (ffmpeg.startError() != 0) {
        result.failure = NotStarted(decoders.ffmpeg, ffmpeg.startError());
        return result;
    }
    GreyImage picture;
    PgmRead read;
    while (result.pictures.size() <= images.size() && (read = ReadPgm(ffmpeg.output(), picture)) == PgmRead::Image) {
        result.pictures.push_back(std::move(picture));
    }
    const bool ended = ffmpeg.finish();
    const std::size_t count = result.pictures.size();
    if (count > images.size()) {
        result.failure = ErrorMessage("Ein Bild ergibt mehrere."); // an animation: only each image alone tells which
    } else if (!ended || read == PgmRead::Broken) {
        // The pictures come in order: the first one missing is the one ffmpeg stumbled over.
        result.failure = Unreadable(images[std::min(count, images.size() - 1)], InputKind::Image, ffmpeg);
    } else if (count < images.size()) {
        result.failure = ErrorMessage("In „" + Utf8FromPath(images[count]) + "“ steckt kein Bild.");
    }
    return result;
}

// Anything odd in a run of many (an animation among them, images that only
// fail together) is sorted out image by image, each giving its first picture.
RunResult DecodeEach(const Decoders& decoders, std::span<const fs::path> images, Fit fit)
{
    RunResult result;
    for (std::size_t i = 0; i < images.size(); ++i) {
        RunResult alone = DecodeRun(decoders, images.subspan(i, 1), fit);
        if (alone.failure) {
            return alone;
        }
        result.pictures.push_back(std::move(alone.pictures.front()));
    }
    return result;
}

} // namespace

std::optional<Message> DecodeImages(const Decoders& decoders, const std::vector<fs::path>& images, Fit fit,
                                    const TakePicture& take)
{
    for (std::size_t from = 0; from < images.size();) {
        std::size_t to = from + 1;
        while (to < images.size() && SameRun(images[from], images[to])) {
            ++to;
        }
        const auto run = std::span<const fs::path>(images).subspan(from, to - from);
        RunResult result = DecodeRun(decoders, run, fit);
        if (result.failure && run.size() > 1) {
            // Alone, the first image missing shows whether it is to blame.
            const std::size_t suspect = std::min(result.pictures.size(), run.size() - 1);
            if (RunResult alone = DecodeRun(decoders, run.subspan(suspect, 1), fit); alone.failure) {
                return alone.failure;
            }
            result = DecodeEach(decoders, run, fit);
        }
        if (result.failure) {
            return result.failure;
        }
        for (GreyImage& picture : result.pictures) {
            if (!take(std::move(picture))) {
                return std::nullopt;
            }
        }
        from = to;
    }
    return std::nullopt;
}

} // namespace velvix::frames
