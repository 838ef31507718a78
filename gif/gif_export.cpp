// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "gif_export.h"

#include "child_process.h"
#include "ffmpeg_run.h"
#include "file_io.h"
#include "frame_timeline.h"
#include "gif_messages.h"
#include "system_reason.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace velvix::gif {

namespace fs = std::filesystem;

namespace {

// A folder of our own for the pictures, gone with everything in it when the work ends.
class PictureFolder {
public:
    PictureFolder()
    {
        std::error_code error;
        std::string pattern = Utf8FromPath(fs::temp_directory_path(error) / "velvix-gif-XXXXXX");
        if (error || ::mkdtemp(pattern.data()) == nullptr) {
            reason_ = error ? SystemReason(error) : SystemReasonFromErrno(errno);
            return;
        }
        path_ = PathFromUtf8(pattern);
    }
    ~PictureFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;

    bool made() const { return !path_.empty(); }
    const fs::path& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    fs::path path_;
    std::string reason_;
};

// A free name beside the target for ffmpeg's output; ffmpeg makes the file anew, with the rights a
// new file of the user gets. Removed again unless it was renamed into place.
class PartialFile {
public:
    explicit PartialFile(const fs::path& target)
    {
        std::string pattern = Utf8FromPath(target.parent_path() / ".velvix-XXXXXX.gif");
        const int descriptor = ::mkstemps(pattern.data(), 4);
        if (descriptor < 0) {
            reason_ = SystemReasonFromErrno(errno);
            return;
        }
        ::close(descriptor);
        path_ = PathFromUtf8(pattern);
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    ~PartialFile()
    {
        std::error_code ignored;
        if (!path_.empty()) {
            fs::remove(path_, ignored);
        }
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const fs::path& path() const { return path_; }
    const std::string& reason() const { return reason_; }
    std::error_code renameTo(const fs::path& target)
    {
        std::error_code error;
        fs::rename(path_, target, error);
        if (!error) {
            path_.clear();
        }
        return error;
    }

private:
    fs::path path_;
    std::string reason_;
};

bool WritePicture(const fs::path& file, const RgbPicture& picture)
{
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" + std::to_string(picture.width) + ' ' + std::to_string(picture.height) + "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    out.close();
    return static_cast<bool>(out);
}

std::string PictureName(std::size_t frame)
{
    char name[16];
    std::snprintf(name, sizeof name, "b%03zu.ppm", frame);
    return name;
}

// "0.167": milliseconds as seconds, with a point whatever the user's language.
std::string Seconds(std::int64_t ms)
{
    const std::string thousandths = std::to_string(1000 + ms % 1000);
    return std::to_string(ms / 1000) + '.' + thousandths.substr(1);
}

// Hundredths of a second, the GIF's unit, nearest to a time in milliseconds.
std::int64_t Hundredths(std::int64_t ms) { return (ms + 5) / 10; }

// ffmpeg joins the listed pictures into `output`, reporting each frame on its standard output. Four
// colours at most: the two of the display, and no dithering that would blur the dots.
std::vector<std::string> GifArguments(const std::string& program, const fs::path& list, std::int64_t finalDelay,
                                      const fs::path& output)
{
    std::vector<std::string> arguments{program, "-hide_banner", "-nostdin"};
    arguments.insert(arguments.end(), {"-loglevel", "error", "-progress", "pipe:1"});
    arguments.insert(arguments.end(), {"-f", "concat", "-safe", "0", "-i", frames::InputName(list)});
    arguments.insert(arguments.end(), {"-fps_mode", "vfr", "-loop", "0", "-f", "gif", "-y"});
    arguments.insert(arguments.end(),
                     {"-filter_complex", "split[a][b];[a]palettegen=max_colors=4:reserve_transparent=0[p];"
                                         "[b][p]paletteuse=dither=none"});
    arguments.insert(arguments.end(), {"-final_delay", std::to_string(finalDelay), frames::InputName(output)});
    return arguments;
}

} // namespace

GifResult WriteGif(const PreviewVideo& video, const fs::path& target, const GifWork& work)
{
    const auto cancelled = [&work] { return work.cancel != nullptr && work.cancel->load(); };
    const auto failed = [](Message message) { return GifResult{GifResult::Outcome::Failed, std::move(message)}; };
    const int frameCount = static_cast<int>(video.frames.size());
    const auto progress = [&](int done) {
        if (work.progress) {
            work.progress(done, 2 * frameCount); // drawing the pictures, then ffmpeg's frames
        }
    };

    PictureFolder pictures;
    if (!pictures.made()) {
        return failed(messages::NoTemporaryRoom(target, pictures.reason()));
    }
    // The list gives every picture its time; ffmpeg places each frame at the hundredth of a second
    // nearest its start, so the delays never add up to more or less than the whole video.
    const FrameTimeline timeline = video.timeline();
    std::ofstream list(pictures.path() / "bilder.txt");
    list << "ffconcat version 1.0\n";
    for (int k = 0; k < frameCount; ++k) {
        if (cancelled()) {
            return {GifResult::Outcome::Cancelled, {}};
        }
        const std::string name = PictureName(static_cast<std::size_t>(k));
        if (!WritePicture(pictures.path() / name, work.draw(video.frames[static_cast<std::size_t>(k)].screen))) {
            return failed(messages::NoTemporaryRoom(target, SystemReasonFromErrno(errno)));
        }
        // Read at 100 frames per second, a picture's time base is the GIF's own.
        const std::int64_t ms = timeline.startMs(k + 1) - timeline.startMs(k);
        list << "file '" + name + "'\noption framerate 100\nduration " + Seconds(ms) + '\n';
        progress(k + 1);
    }
    list.close();
    if (!list) {
        return failed(messages::NoTemporaryRoom(target, SystemReasonFromErrno(errno)));
    }
    // The last frame has no follower to end it; the GIF gives it its time apart.
    const std::int64_t finalDelay =
        frameCount == 0 ? 0 : Hundredths(timeline.totalMs()) - Hundredths(timeline.startMs(frameCount - 1));

    PartialFile partial(target);
    if (partial.path().empty()) {
        return failed(messages::FolderNotWritable(target, partial.reason()));
    }
    frames::ChildProcess ffmpeg(GifArguments(work.ffmpeg, pictures.path() / "bilder.txt", finalDelay, partial.path()));
    if (ffmpeg.startError() != 0) {
        return failed(messages::FfmpegNotStarted(target, ffmpeg.startError()));
    }
    char line[256];
    while (!cancelled() && std::fgets(line, sizeof line, ffmpeg.output()) != nullptr) {
        if (std::string_view(line).starts_with("frame=")) {
            progress(frameCount + std::atoi(line + 6));
        }
    }
    // ffmpeg reports at least twice a second, so a cancel is seen within half a second; its file goes unused.
    if (cancelled()) {
        ffmpeg.end();
        return {GifResult::Outcome::Cancelled, {}};
    }
    const bool done = ffmpeg.finish();
    if (!done) {
        return failed(messages::FfmpegFailed(target, ffmpeg.messages()));
    }
    if (const std::error_code error = partial.renameTo(target)) {
        return failed(messages::NotRenamed(target, error));
    }
    return {GifResult::Outcome::Written, messages::Written(target)};
}

} // namespace velvix::gif
