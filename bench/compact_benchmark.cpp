// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The compact format against the plain one on films velvix-frames makes from
// ffmpeg's test sources: bytes per frame for each dithering method, frames
// that fit each memory choice, the player's decoding cost and the encoding time.
#include "compact_encoder.h"
#include "compact_parts.h"
#include "compact_player.h"
#include "ffmpeg_inputs.h"
#include "make_frames.h"
#include "memory_budget.h"
#include "pc1600.h"
#include "temp_folder.h"
#include "vid_layout.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>

namespace velvix {
namespace {

namespace fs = std::filesystem;

constexpr int kSeconds = 50;     // 300 frames at 6 per second: enough for the 299 a run may hold
constexpr int kFilmFrames = 240; // 40 s at 6 per second

const char* const kSources[] = {"testsrc2", "mandelbrot", "life"};
const std::pair<const char*, frames::Method> kMethods[] = {{"Bayer", frames::Method::Bayer},
                                                           {"Schwelle", frames::Method::Threshold},
                                                           {"FloydSteinberg", frames::Method::FloydSteinberg},
                                                           {"Atkinson", frames::Method::Atkinson}};

// The frames of each film and method, made once.
std::vector<PackedFrame>& Pictures(int source, int method)
{
    static test::TempFolder temp;
    static std::map<std::pair<int, int>, std::vector<PackedFrame>> made;
    auto& pictures = made[{source, method}];
    if (!pictures.empty()) {
        return pictures;
    }
    const fs::path film = temp.path() / (std::string(kSources[source]) + ".mp4");
    if (!fs::exists(film)) {
        test::RunFfmpeg({"-f", "lavfi", "-i", std::string(kSources[source]) + "=size=320x240:rate=25", "-t",
                         std::to_string(kSeconds), "-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p"},
                        film);
    }
    frames::Job job;
    job.input = film;
    job.outputFolder = temp.path() / "bilder";
    job.replace = true;
    job.firstFramesOnly = true;
    job.oneBit.method = kMethods[method].second;
    const frames::Outcome outcome = MakeFrames(job, {});
    if (outcome.failure) {
        throw std::runtime_error(outcome.failure->text);
    }
    for (int n = 1; n <= outcome.frameCount; ++n) {
        pictures.push_back(PackFrame(test::ReadFile(test::WrittenFrame(job.outputFolder, n))));
    }
    return pictures;
}

std::vector<std::uint8_t> FrameTimes(std::size_t count) { return std::vector<std::uint8_t>(count, 23); }

// Bytes of each frame of the 40 s film in either format, wait bytes included.
void BM_BytesPerFrame(benchmark::State& state)
{
    const auto source = static_cast<int>(state.range(0));
    const auto method = static_cast<int>(state.range(1));
    const std::vector<PackedFrame>& pictures = Pictures(source, method);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        PackedFrame before{};
        for (int f = 0; f < kFilmFrames; ++f) {
            bytes += 2 + EncodeFrameChanges(before, pictures[static_cast<std::size_t>(f)]).size();
            before = pictures[static_cast<std::size_t>(f)];
        }
    }
    const double compact = static_cast<double>(bytes) / kFilmFrames;
    state.SetLabel(std::string(kSources[source]) + " " + kMethods[method].first);
    state.counters["plain"] = static_cast<double>(kFrameRecordBytes);
    state.counters["compact"] = compact;
    state.counters["times_fewer"] = static_cast<double>(kFrameRecordBytes) / compact;
}
BENCHMARK(BM_BytesPerFrame)->ArgsProduct({{0, 1, 2}, {0, 1, 2, 3}})->Iterations(1)->Unit(benchmark::kMillisecond);

// Frames of the 40 s testsrc2 film with Bayer that fit each memory choice.
void BM_FramesThatFit(benchmark::State& state)
{
    const int capacity = static_cast<int>(state.range(0));
    std::vector<PackedFrame> pictures = Pictures(0, 0);
    pictures.resize(kFilmFrames);
    int fit = 0;
    for (auto _ : state) {
        fit = EncodeCompactVideo(pictures, FrameTimes(pictures.size()), 6, capacity).frameCount;
    }
    state.counters["plain"] = capacity;
    state.counters["compact"] = fit;
}
BENCHMARK(BM_FramesThatFit)->Arg(18)->Arg(31)->Arg(45)->Arg(70)->Arg(120)->Iterations(1)->Unit(benchmark::kMillisecond);

// The compact player on the emulated PC-1600: T-states between two frames
// beyond its waiting, worst and mean, over the 120-frame memory.
void BM_DecodingCost(benchmark::State& state)
{
    std::vector<PackedFrame> pictures = Pictures(0, static_cast<int>(state.range(0)));
    const CompactVideo video = EncodeCompactVideo(pictures, FrameTimes(pictures.size()), 6, 120);
    long worst = 0;
    double mean = 0;
    for (auto _ : state) {
        Pc1600 pc;
        for (const Bytes& part : BuildCompactParts(video, 40, 6)) {
            (void)pc.bload(part);
        }
        (void)pc.bload(CompactPlayerFile());
        const Playback shown = pc.call(kPlayerAddress);
        worst = 0;
        mean = 0;
        for (std::size_t f = 0; f + 1 < shown.frames.size(); ++f) {
            const long beyondWaiting = shown.frames[f].tStates - 40L * shown.frames[f].ticks;
            worst = std::max(worst, beyondWaiting);
            mean += static_cast<double>(beyondWaiting) / static_cast<double>(shown.frames.size() - 1);
        }
    }
    state.SetLabel(std::string("testsrc2 ") + kMethods[static_cast<std::size_t>(state.range(0))].first);
    state.counters["frames"] = video.frameCount;
    state.counters["worst_T"] = static_cast<double>(worst);
    state.counters["mean_T"] = mean;
    state.counters["worst_ms"] = 1000.0 * static_cast<double>(worst) / kClockHz;
}
BENCHMARK(BM_DecodingCost)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kMillisecond);

// Encoding all 299 frames a run may hold; must stay below 0.1 s.
void BM_Encode299Frames(benchmark::State& state)
{
    std::vector<PackedFrame> pictures = Pictures(0, 0);
    pictures.resize(std::min<std::size_t>(pictures.size(), 299));
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeCompactVideo(pictures, FrameTimes(pictures.size()), 6, 1000)); // room for all
    }
    state.counters["frames"] = static_cast<double>(pictures.size());
}
BENCHMARK(BM_Encode299Frames)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velvix

BENCHMARK_MAIN();
