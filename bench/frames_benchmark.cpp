// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "child_process.h"
#include "ffmpeg_inputs.h"
#include "make_frames.h"
#include "temp_folder.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <optional>

namespace velvix {
namespace {

namespace fs = std::filesystem;

// The inputs, made once: 200 PNG pictures of 640 x 480, and H.264 films of
// 10 and 40 seconds in 640 x 360 and 1280 x 720 (60 and 240 frames at 6 per second).
struct Inputs {
    test::TempFolder temp;
    fs::path images = temp.path() / "bilder";
    fs::path output = temp.path() / "ziel";

    Inputs()
    {
        fs::create_directory(images);
        test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc2=size=640x480:rate=25", "-frames:v", "200"},
                        images / "bild%03d.png");
    }

    fs::path film(int seconds, const std::string& size)
    {
        const fs::path film = temp.path() / ("film" + std::to_string(seconds) + "-" + size + ".mp4");
        if (!fs::exists(film)) {
            test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc2=size=" + size + ":rate=25", "-t", std::to_string(seconds),
                             "-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p"},
                            film);
        }
        return film;
    }
};

Inputs& Shared()
{
    static Inputs inputs;
    return inputs;
}

const char* const kSizes[] = {"640x360", "1280x720"};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The yardstick: ffmpeg alone, its pictures read from the pipe as Velvix reads them.
std::optional<std::string> RunFfmpegAlone(const std::vector<std::string>& arguments)
{
    frames::ChildProcess ffmpeg(arguments);
    std::vector<char> buffer(1 << 16);
    while (ffmpeg.output() != nullptr && std::fread(buffer.data(), 1, buffer.size(), ffmpeg.output()) > 0) {
    }
    return ffmpeg.finish() ? std::nullopt : std::optional(ffmpeg.messages());
}

// Velvix's run and ffmpeg's alone in turns, so that both meet the same load
// on a busy machine: the time is Velvix's, "ffmpeg" the yardstick's, "ratio"
// the one over the other.
void Compare(benchmark::State& state, const fs::path& input, const std::vector<std::string>& alone)
{
    frames::Job job;
    job.input = input;
    job.outputFolder = Shared().output;
    job.replace = true;
    double velvix = 0;
    double ffmpeg = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        const frames::Outcome outcome = MakeFrames(job, {});
        const double made = SecondsSince(start);
        state.SetIterationTime(made);
        velvix += made;
        start = Clock::now();
        const auto failure = RunFfmpegAlone(alone);
        ffmpeg += SecondsSince(start);
        if (outcome.failure || failure) {
            state.SkipWithError(outcome.failure ? outcome.failure->text.c_str() : failure->c_str());
        }
    }
    state.counters["ffmpeg_ms"] = benchmark::Counter(ffmpeg * 1000, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = velvix / ffmpeg;
}

// ffmpeg alone reads all pictures in one run.
void BM_ImageFolder(benchmark::State& state)
{
    Compare(state, Shared().images,
            {"ffmpeg", "-nostdin", "-v", "error", "-i", (Shared().images / "bild%03d.png").string(), "-vf",
             "scale=156:32", "-f", "rawvideo", "-pix_fmt", "gray", "pipe:1"});
}
BENCHMARK(BM_ImageFolder)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// ffmpeg alone decodes the film and scales it to the display's size in grey
// at the same rate. Arguments: seconds, size index.
void BM_Film(benchmark::State& state)
{
    const fs::path film = Shared().film(static_cast<int>(state.range(0)), kSizes[state.range(1)]);
    Compare(state, film,
            {"ffmpeg", "-nostdin", "-v", "error", "-i", film.string(), "-vf", "fps=6,scale=156:32", "-f", "rawvideo",
             "-pix_fmt", "gray", "pipe:1"});
}
BENCHMARK(BM_Film)->ArgsProduct({{10, 40}, {0, 1}})->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace
} // namespace velvix

BENCHMARK_MAIN();
