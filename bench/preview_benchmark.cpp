// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"
#include "preview_video.h"
#include "vid_layout.h"

#include <benchmark/benchmark.h>

namespace velvix {
namespace {

// 120 frames at 4 per second, four parts: the most frames with the longest
// plain display time, so the most the player has to do.
struct HeaviestVideo : test::ConverterFixture {
    HeaviestVideo()
    {
        test::WriteNumberedFrames(folder.path(), 120);
        chooseMemory(3, 1);
        converter.budget().chooseFrameRate(0);
        start();
    }
};

void BM_PreviewHeaviestVideo(benchmark::State& state)
{
    HeaviestVideo video;
    for (auto _ : state) {
        const PreviewResult preview = LoadPreview(video.folder.path(), "FILM");
        if (!preview.video || preview.video->frames.size() != 120) {
            state.SkipWithError("the preview failed");
        }
    }
}
BENCHMARK(BM_PreviewHeaviestVideo)->Unit(benchmark::kMillisecond);

// The floor for the same work: read the four part files.
void BM_ReadPartFilesFloor(benchmark::State& state)
{
    HeaviestVideo video;
    for (auto _ : state) {
        for (int part = 0; part < 4; ++part) {
            FileStart file = ReadFileStart(video.folder.path() / PartFileName("FILM", part), 1 << 16);
            benchmark::DoNotOptimize(file.bytes.data());
        }
    }
}
BENCHMARK(BM_ReadPartFilesFloor)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velvix
