// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "image_decoder.h"

#include "child_process.h"
#include "ffmpeg_run.h"
#include "file_io.h"
#include "frame_bitmap.h"
#include "image_folder.h"
#include "pgm_reader.h"
#include "system_reason.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <span>

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

// The images of one run under the numbers ffmpeg's image sequence reader
// counts through ("1", "2", ...): links in a folder of their own in the
// temporary folder, removed again when done. That reader takes each file
// as one picture and opens it only to decode it; a list of files for the
// concat reader would have ffmpeg decode every image twice, once to learn
// its size. A hard link where the image lies on the temporary folder's file
// system, as it needs no new file; a symbolic one elsewhere.
class NumberedLinks {
public:
    explicit NumberedLinks(std::span<const fs::path> images)
    {
        std::string pattern = Utf8FromPath(fs::temp_directory_path(error_) / "velvix-bilder-XXXXXX");
        if (error_ || mkdtemp(pattern.data()) == nullptr) {
            error_ = error_ ? error_ : std::error_code(errno, std::generic_category());
            return;
        }
        folder_ = PathFromUtf8(pattern);
        for (std::size_t i = 0; i < images.size() && !error_; ++i) {
            // A link resolved first: a hard link to a link with a relative target would point
            // elsewhere. Only a link, as not every file system resolves (the page's does not).
            const fs::path image =
                fs::is_symlink(images[i]) ? fs::canonical(images[i], error_) : fs::absolute(images[i], error_);
            const fs::path link = folder_ / std::to_string(i + 1);
            std::error_code elsewhere;
            if (!error_) {
                fs::create_hard_link(image, link, elsewhere);
            }
            if (!error_ && elsewhere) {
                fs::create_symlink(image, link, error_);
            }
        }
    }
    ~NumberedLinks()
    {
        std::error_code ignored;
        if (!folder_.empty()) {
            fs::remove_all(folder_, ignored);
        }
    }
    NumberedLinks(const NumberedLinks&) = delete;
    NumberedLinks& operator=(const NumberedLinks&) = delete;

    std::error_code error() const { return error_; }

    // The reader's name for them: "%" in the folder's own name doubled.
    std::string pattern() const
    {
        std::string folder = Utf8FromPath(folder_);
        for (std::size_t at = 0; (at = folder.find('%', at)) != std::string::npos; at += 2) {
            folder.insert(at, 1, '%');
        }
        return "file:" + folder + "/%d";
    }

private:
    fs::path folder_;
    std::error_code error_;
};

// Images that one ffmpeg run can read: the same decoder for all.
bool SameRun(const fs::path& a, const fs::path& b) { return ImageDecoder(a) == ImageDecoder(b); }

// How one ffmpeg run went.
struct RunResult {
    std::size_t taken = 0; // pictures handed on, one for each image from the first
    std::optional<Message> failure;
    bool stopped = false; // `take` wanted no more
};

// One ffmpeg run over `images`, each picture handed on as soon as it is
// there; a run that gives fewer or more pictures than images fails.
RunResult DecodeRun(const Decoders& decoders, std::span<const fs::path> images, Fit fit, const TakePicture& take)
{
    RunResult result;
    std::vector<std::string> arguments = FfmpegStart(decoders.ffmpeg);
    arguments.push_back("-xerror");
    std::optional<NumberedLinks> links;
    if (images.size() == 1) {
        arguments.insert(arguments.end(), {"-i", InputName(images.front()), "-frames:v", "1"});
    } else {
        links.emplace(images);
        if (links->error()) {
            result.failure = ErrorMessage("Die Verweise auf die Bilder für ffmpeg lassen sich nicht anlegen: " +
                                          SystemReason(links->error()) + ".");
            return result;
        }
        arguments.insert(arguments.end(), {"-f", "image2", "-pattern_type", "sequence", "-start_number", "1", "-c:v",
                                           std::string(ImageDecoder(images.front())), "-i", links->pattern()});
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
    while ((read = ReadPgm(ffmpeg.output(), picture)) == PgmRead::Image && result.taken < images.size()) {
        if (!take(std::move(picture))) {
            ffmpeg.end(); // not waiting for its next picture
            result.stopped = true;
            return result;
        }
        ++result.taken;
    }
    if (read == PgmRead::Image) {
        ffmpeg.end();
        result.failure = ErrorMessage("ffmpeg macht aus den Bildern ab „" + Utf8FromPath(images.front()) +
                                      "“ mehr Bilder, als es Dateien sind. Bitte die Bilder einzeln prüfen.");
    } else if (!ffmpeg.finish() || read == PgmRead::Broken) {
        // The pictures come in order: the first one missing is the one ffmpeg stumbled over.
        result.failure = Unreadable(images[std::min(result.taken, images.size() - 1)], InputKind::Image, ffmpeg);
    } else if (result.taken < images.size()) {
        result.failure = ErrorMessage("In „" + Utf8FromPath(images[result.taken]) + "“ steckt kein Bild.");
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
        RunResult result = DecodeRun(decoders, run, fit, take);
        if (result.failure && run.size() > 1 && result.taken < run.size()) {
            // The images not yet read go one by one: alone, each shows whether
            // it is to blame, and ffmpeg's words name the image itself.
            for (std::size_t i = result.taken; i < run.size(); ++i) {
                result = DecodeRun(decoders, run.subspan(i, 1), fit, take);
                if (result.failure || result.stopped) {
                    break;
                }
            }
        }
        if (result.failure || result.stopped) {
            return result.failure;
        }
        from = to;
    }
    return std::nullopt;
}

} // namespace velvix::frames
