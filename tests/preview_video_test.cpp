// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"
#include "frame_discovery.h"
#include "frame_timeline.h"
#include "preview_messages.h"
#include "preview_video.h"
#include "stored_frames.h"
#include "vid_reader.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

// The preview of a written video against the frames it was written from.
class Preview : public ::testing::Test, public test::ConverterFixture {
protected:
    // The player file on disk is nobody's business: the preview runs its own.
    void spoilPlayerFile() { test::WriteFile(frames / "VPLAYER.BIN", Bytes(256, 0xC9)); }

    PreviewVideo load()
    {
        PreviewResult result = LoadPreview(frames, "FILM");
        EXPECT_FALSE(result.failure) << result.failure->text;
        if (!result.video) {
            throw std::runtime_error("no preview");
        }
        return std::move(*result.video);
    }

    // Each frame shown is the frame file of its number, standing for its display time;
    // the web page, which cannot run the player, reads the same from the part files.
    void expectFramesAndTimes(const PreviewVideo& video)
    {
        const RunSettings& written = converter.settings();
        const StoredVideo stored = ReadStoredFrames(*ReadVideoParts(frames, "FILM", messages::kPreviewWindow).parts);
        ASSERT_EQ(video.frames.size(), static_cast<std::size_t>(written.frameCount));
        ASSERT_EQ(stored.frames.size(), video.frames.size());
        ASSERT_EQ(stored.ticksPerSecond, video.ticksPerSecond());
        for (std::size_t i = 0; i < video.frames.size(); ++i) {
            SCOPED_TRACE("frame " + std::to_string(i + 1));
            ASSERT_EQ(test::ScreenPicture(video.frames[i].screen),
                      test::BitmapPicture(test::ReadFile(frames / FrameFileName(static_cast<int>(i) + 1))));
            ASSERT_EQ(video.frames[i].ticks, kTicksPerUnit * written.frameTimes[i]);
            ASSERT_EQ(stored.frames[i].screen, video.frames[i].screen);
            ASSERT_EQ(stored.frames[i].ticks, video.frames[i].ticks);
        }
        // The page times the frames by the players' instructions as counted once, the
        // emulator by running them: the two agree within a millisecond at every frame.
        const FrameTimeline page = TimelineOf(stored.frames, stored.ticksPerSecond);
        const FrameTimeline shown = video.timeline();
        for (int k = 0; k <= shown.frameCount(); ++k) {
            ASSERT_NEAR(page.startMs(k), shown.startMs(k), 1) << "frame " << k;
        }
    }
};

TEST_F(Preview, PlainVideoOfFourPartsShowsEveryFrameForOneFrameTime)
{
    test::WriteNumberedFrames(frames, 120);
    chooseMemory(3, 1);
    converter.budget().chooseFrameRate(3); // 8 frames per second
    start();
    ASSERT_EQ(titles(), std::vector<std::string>{"Fertig"});
    ASSERT_EQ(converter.lastPart(), 3);
    spoilPlayerFile();

    const PreviewVideo video = load();
    EXPECT_EQ(video.name, "FILM");
    EXPECT_EQ(video.framesPerSecond, 8);
    EXPECT_EQ(video.baseFrameTime, 17);
    expectFramesAndTimes(video);

    // 120 frames at 8 per second, each 1.3 ms longer for the player's own 4642 T-states.
    const FrameTimeline timeline = video.timeline();
    EXPECT_EQ(timeline.startMs(1), 126);
    EXPECT_EQ(timeline.startMs(119), 15029);
    EXPECT_EQ(timeline.totalMs(), 15155);
}

TEST_F(Preview, CompressedVideoOfFourPartsShowsTheKeptFramesForTheirTimes)
{
    std::vector<Bytes> source;
    for (int n = 1; n <= 200; ++n) {
        source.push_back(test::NearCopy(test::NumberedFrame((n + 1) / 2), n)); // pairs of near copies
    }
    test::WriteFrames(frames, source);
    chooseMemory(3, 1);
    host.ticked[CheckBox::CheckVKomp] = true;
    start();
    ASSERT_EQ(titles().back(), "Fertig");
    ASSERT_EQ(converter.lastPart(), 3);

    const PreviewVideo video = load();
    expectFramesAndTimes(video);
    int ticks = 0;
    for (const ShownFrame& f : video.frames) {
        ticks += f.ticks;
    }
    EXPECT_EQ(ticks, kTicksPerUnit * 23 * 200); // the time of all 200 frames at 6 per second
}

struct TimelineCase {
    std::vector<FrameLength> frames;
    int ticksPerSecond;
    std::vector<std::int64_t> startsMs; // and the end
};

class Timeline : public ::testing::TestWithParam<TimelineCase> {};

INSTANTIATE_TEST_SUITE_P(
    Rates, Timeline,
    ::testing::Values(TimelineCase{{{184}, {184}, {184}}, 1104, {0, 166, 333, 500}},              // 6 per second
                      TimelineCase{{{264}, {264}, {264}, {264}}, 1056, {0, 250, 500, 750, 1000}}, // 4 per second
                      TimelineCase{{{216}, {1840}, {2048}}, 1080, {0, 200, 1903, 3800}},          // compressed, 0 as 256
                      TimelineCase{{{1}}, 1088, {0, 0}},
                      // The player's own T-states at 3.58 MHz: 0.4, 0.4 and 1 ms on top of the ticks.
                      TimelineCase{{{184, 1432}, {184, 1432}, {184, 3580}}, 1104, {0, 167, 334, 501}}));

TEST_P(Timeline, StartsFromTheTicksSummedAndFramesFromTheClock)
{
    const TimelineCase c = GetParam();
    const FrameTimeline timeline(c.frames, c.ticksPerSecond);
    ASSERT_EQ(timeline.frameCount(), static_cast<int>(c.frames.size()));
    for (int k = 0; k <= timeline.frameCount(); ++k) {
        SCOPED_TRACE("frame " + std::to_string(k));
        EXPECT_EQ(timeline.startMs(k), c.startsMs[static_cast<std::size_t>(k)]);
    }
    const int last = timeline.frameCount() - 1;
    for (int k = 0; k <= last; ++k) {
        if (timeline.startMs(k + 1) > timeline.startMs(k)) { // a frame shorter than 1 ms is never due
            EXPECT_EQ(timeline.frameAt(timeline.startMs(k)), k);
            EXPECT_EQ(timeline.frameAt(timeline.startMs(k + 1) - 1), k);
        }
    }
    EXPECT_EQ(timeline.frameAt(timeline.totalMs() + 60'000), last);
}

} // namespace
} // namespace velvix
