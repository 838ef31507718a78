// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "display_pictures.h"
#include "film_survey.h"
#include "frame_folder.h"
#include "frame_writer.h"
#include "image_folder.h"
#include "js_values.h"
#include "memory_budget.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>

// "Film …" for the page's film worker: the film dialog's work on a film or a
// folder of images in the worker's file system, through the frames library
// as the desktop runs it; ffmpeg is the one for WebAssembly (ffmpeg_process.cpp).
namespace velvix::web {

using emscripten::val;

namespace {

// The dialog's controls as the page sends them: {rate (index into kFrameRates),
// start, length (seconds, 0: none), fill, method (index into kMethods), level,
// brightness, contrast, invert, firstOnly}.
frames::Job JobOf(const std::filesystem::path& input, bool folder, const val& options)
{
    const auto index = [&](const char* name, std::size_t count) {
        return static_cast<std::size_t>(std::clamp(options[name].as<int>(), 0, static_cast<int>(count) - 1));
    };
    frames::Job job;
    job.input = input;
    job.part.rate = kFrameRates[index("rate", kFrameRates.size())].perSecond;
    const double start = options["start"].as<double>();
    const double length = options["length"].as<double>();
    if (!folder && start > 0) {
        job.part.start = start;
    }
    if (!folder && length > 0) {
        job.part.length = length;
    }
    job.fit = options["fill"].as<bool>() ? frames::Fit::Fill : frames::Fit::Bars;
    job.oneBit.method = frames::kMethods[index("method", frames::kMethods.size())].method;
    job.oneBit.level = options["level"].as<int>();
    job.oneBit.brightness = options["brightness"].as<int>();
    job.oneBit.contrast = options["contrast"].as<int>();
    job.oneBit.invert = options["invert"].as<bool>();
    job.firstFramesOnly = options["firstOnly"].as<bool>();
    return job;
}

val Dots(const FramePixels& pixels)
{
    Bytes dots(pixels.size());
    std::transform(pixels.begin(), pixels.end(), dots.begin(), [](bool dark) { return dark ? 1 : 0; });
    return Copy(dots);
}

// The dithering methods as the dialog lists them.
val MethodNames()
{
    val names = val::array();
    for (const frames::MethodEntry& entry : frames::kMethods) {
        names.call<void>("push", std::string(entry.name));
    }
    return names;
}

} // namespace

// The film dialog's state for one input: what the input holds, read once,
// and the grey picture at the chosen place, for the look of every setting.
class FilmWindow {
public:
    // `chosen`: the film, or the first of the images. {failure} or
    // {folder, seconds (null when the film does not say), images}.
    val open(const std::string& chosen)
    {
        input_ = frames::ChosenInput(chosen);
        survey_ = frames::SurveyInput(input_);
        picture_ = std::move(survey_.picture);
        val result = val::object();
        if (survey_.failure) {
            result.set("failure", Box(*survey_.failure));
            return result;
        }
        result.set("folder", survey_.folder);
        result.set("seconds", survey_.film.seconds ? val(*survey_.film.seconds) : val::null());
        result.set("images", static_cast<int>(survey_.images.size()));
        return result;
    }

    // What the settings give, in the dialog's words: {count, tooMany, firstOnly, memory, convertible}.
    val count(const val& options, int frameCapacity) const
    {
        const frames::JobSurvey survey = frames::SurveyJob(survey_, job(options), frameCapacity);
        val result = val::object();
        result.set("count", survey.count);
        result.set("tooMany", survey.tooMany);
        result.set("known", survey.frames.has_value());
        result.set("firstOnly", survey.firstOnly);
        result.set("memory", survey.memory);
        result.set("convertible", survey.convertible);
        return result;
    }

    // The place to look at: tenths of a second into a film, or an image's number.
    // An empty string when the picture is there, or why there is none.
    std::string pictureAt(int place)
    {
        frames::GreyImage picture;
        const auto failure = frames::PictureAt(survey_, input_, place, picture);
        picture_ = failure ? std::nullopt : std::optional(std::move(picture));
        return failure ? failure->text : std::string();
    }

    // The picture at the place as a frame of the settings: 156 x 32 bytes, 1 for a dark dot; null without one.
    val look(const val& options) const
    {
        return picture_ ? Dots(frames::LookOf(*picture_, survey_, job(options))) : val::null();
    }

    // {frames: [{name, bytes}]} or {failure}; `progress(done, expected)` hears of every frame.
    val make(const val& options, const val& progress) const
    {
        const frames::Job work = job(options);
        const frames::DisplayPictures read =
            frames::ReadDisplayPictures(work, [&](int done, int expected) { progress(done, expected); });
        val result = val::object();
        if (read.failure) {
            result.set("failure", Box(*read.failure));
            return result;
        }
        val made = val::array();
        for (std::size_t i = 0; i < read.pictures.size(); ++i) {
            val frame = val::object();
            frame.set("name", frames::FrameName(static_cast<int>(i) + 1));
            frame.set("bytes", Copy(MakeFrameFile(frames::ToOneBit(read.pictures[i], work.oneBit))));
            made.call<void>("push", frame);
        }
        result.set("frames", made);
        result.set("videoName", frames::SuggestedVideoName(input_));
        return result;
    }

private:
    frames::Job job(const val& options) const { return JobOf(input_, survey_.folder, options); }

    std::filesystem::path input_;
    frames::InputSurvey survey_;
    std::optional<frames::GreyImage> picture_;
};

EMSCRIPTEN_BINDINGS(film)
{
    emscripten::function("filmMethods", &MethodNames);
    emscripten::function("filmClock", &frames::Clock);
    emscripten::class_<FilmWindow>("FilmWindow")
        .constructor<>()
        .function("open", &FilmWindow::open)
        .function("count", &FilmWindow::count)
        .function("pictureAt", &FilmWindow::pictureAt)
        .function("look", &FilmWindow::look)
        .function("make", &FilmWindow::make);
}

} // namespace velvix::web
