// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "child_process.h"
#include "ffmpeg_inputs.h"
#include "make_frames.h"
#include "temp_folder.h"

#include <benchmark/benchmark.h>

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

void Make(benchmark::State& state, const fs::path& input)
{
    frames::Job job;
    job.input = input;
    job.outputFolder = Shared().output;
    job.replace = true;
    for (auto _ : state) {
        const frames::Outcome outcome = MakeFrames(job, {});
        if (outcome.failure) {
            state.SkipWithError(outcome.failure->text.c_str());
        }
    }
}

void BM_ImageFolder(benchmark::State& state) { Make(state, Shared().images); }
BENCHMARK(BM_ImageFolder)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Arguments: seconds, size index.
void BM_Film(benchmark::State& state)
{
    Make(state, Shared().film(static_cast<int>(state.range(0)), kSizes[state.range(1)]));
}
BENCHMARK(BM_Film)->ArgsProduct({{10, 40}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The floors: ffmpeg alone, once reading all pictures in one run, once
// decoding the film and scaling it to the display's size in grey at the same rate.
void RunFloor(benchmark::State& state, const std::vector<std::string>& arguments)
{
    for (auto _ : state) {
        frames::ChildProcess ffmpeg(arguments);
        std::vector<char> buffer(1 << 16);
        while (ffmpeg.output() != nullptr && std::fread(buffer.data(), 1, buffer.size(), ffmpeg.output()) > 0) {
        }
        if (!ffmpeg.finish()) {
            state.SkipWithError(ffmpeg.messages().c_str());
        }
    }
}

void BM_ImageFolderFloor(benchmark::State& state)
{
    RunFloor(state, {"ffmpeg", "-nostdin", "-v", "error", "-i", (Shared().images / "bild%03d.png").string(), "-vf",
                     "scale=156:32", "-f", "rawvideo", "-pix_fmt", "gray", "pipe:1"});
}
BENCHMARK(BM_ImageFolderFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_FilmFloor(benchmark::State& state)
{
    const fs::path film = Shared().film(static_cast<int>(state.range(0)), kSizes[state.range(1)]);
    RunFloor(state, {"ffmpeg", "-nostdin", "-v", "error", "-i", film.string(), "-vf", "fps=6,scale=156:32", "-f",
                     "rawvideo", "-pix_fmt", "gray", "pipe:1"});
}
BENCHMARK(BM_FilmFloor)->ArgsProduct({{10, 40}, {0, 1}})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
} // namespace velvix

BENCHMARK_MAIN();
