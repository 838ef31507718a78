// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"
#include "frame_discovery.h"

#include <benchmark/benchmark.h>

#include <fstream>

namespace velvix {
namespace {

// 299 frames, four parts of 120 frames written: the heaviest run without compression.
struct HeaviestRun : test::ConverterFixture {
    HeaviestRun()
    {
        test::WriteNumberedFrames(folder.path(), 299);
        chooseMemory(3, 1);
    }
};

void BM_HeaviestRun(benchmark::State& state)
{
    HeaviestRun run;
    for (auto _ : state) {
        run.start();
        if (run.host.messages.back().title != "Fertig") {
            state.SkipWithError("the run failed");
        }
    }
}
BENCHMARK(BM_HeaviestRun)->Unit(benchmark::kMillisecond);

// The floor for the same work: read the 120 frames, write as many bytes.
void BM_ReadAndWriteFloor(benchmark::State& state)
{
    HeaviestRun run;
    const std::size_t outputBytes = 28145 + 3 * 15643; // the four parts of 120 frames
    std::vector<char> frame(704);
    std::vector<char> out(outputBytes, 0x55);
    for (auto _ : state) {
        for (int i = 1; i <= 120; ++i) {
            std::ifstream in(run.folder.path() / FrameFileName(i), std::ios::binary);
            in.read(frame.data(), 702);
            benchmark::DoNotOptimize(frame.data());
        }
        std::ofstream file(run.folder.path() / "floor.bin", std::ios::binary | std::ios::trunc);
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
    }
}
BENCHMARK(BM_ReadAndWriteFloor)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velvix

BENCHMARK_MAIN();
