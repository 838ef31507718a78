// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "basic_loader.h"
#include "compact_decoder.h"
#include "compact_encoder.h"
#include "compact_layout.h"
#include "compact_parts.h"
#include "compact_player.h"
#include "converter_fixture.h"
#include "frame_discovery.h"
#include "frame_timeline.h"
#include "frame_files.h"
#include "pc1600.h"
#include "player_image.h"
#include "preview_messages.h"
#include "preview_video.h"
#include "rounding.h"
#include "stored_frames.h"
#include "vid_reader.h"
#include "vid_writer.h"

#include <gtest/gtest.h>

#include <numeric>

namespace velvix {
namespace {

// How long a playback lasts by the emulator's measure: the wait ticks at the
// frame rate, and the player's own T-states at the PC-1600's clock.
double Seconds(const Playback& shown, int ticksPerSecond)
{
    double seconds = 0;
    for (const ShownFrame& f : shown.frames) {
        seconds += static_cast<double>(f.ticks) / ticksPerSecond + static_cast<double>(f.tStates) / kClockHz;
    }
    return seconds;
}

std::vector<PackedFrame> Film(int count, Bytes (*frame)(int))
{
    std::vector<PackedFrame> pictures;
    for (int n = 1; n <= count; ++n) {
        pictures.push_back(PackFrame(frame(n)));
    }
    return pictures;
}

// The plain video of the same frames on the seed's player.
Playback PlayPlain(const std::vector<PackedFrame>& pictures, std::uint8_t frameTime, int perSecond)
{
    std::vector<Bytes> records;
    for (const PackedFrame& p : pictures) {
        Bytes record(p.begin(), p.end());
        record.push_back(frameTime);
        records.push_back(std::move(record));
    }
    const VideoFacts facts{static_cast<std::uint8_t>(pictures.size()), 0, static_cast<std::uint8_t>(perSecond)};
    Pc1600 pc;
    for (const VidPart& part : SplitIntoParts(static_cast<int>(pictures.size()))) {
        EXPECT_TRUE(pc.bload(BuildVidPart(part, records, facts)));
    }
    EXPECT_TRUE(pc.bload(PlayerImage));
    return pc.call(PlayerStart());
}

// The parts and the compact player loaded into a PC-1600, the player last.
void Load(Pc1600& pc, const std::vector<Bytes>& parts)
{
    for (const Bytes& part : parts) {
        ASSERT_TRUE(pc.bload(part));
    }
    ASSERT_TRUE(pc.bload(CompactPlayerFile()));
}

int LoadAddress(const Bytes& file) { return file[8] | file[9] << 8; }

struct CompactCase {
    const char* name;
    Bytes (*frame)(int);
    int frames;
    int capacity;
    int perSecond;
    std::uint8_t frameTime;
    int atLeast; // frames that must fit
};

void PrintTo(const CompactCase& c, std::ostream* os) { *os << c.name; }

class CompactVideoPlays : public ::testing::TestWithParam<CompactCase> {};

INSTANTIATE_TEST_SUITE_P(Films, CompactVideoPlays,
                         ::testing::Values(CompactCase{"OneFrame", test::MovingFrame, 1, 18, 6, 23, 1},
                                           CompactCase{"MovingInBaseMemory", test::MovingFrame, 240, 18, 6, 23, 54},
                                           CompactCase{"MovingLongerThan255Frames", test::MovingFrame, 299, 31, 8, 17,
                                                       299},
                                           CompactCase{"NoiseOverAllBanks", test::NumberedFrame, 140, 120, 4, 33, 110},
                                           CompactCase{"NoiseInTwoParts", test::NumberedFrame, 80, 70, 5, 27, 65}));

// The player shows what the reference decoder decodes, which is the film;
// it keeps to the plain video's memory and lasts as long as the plain video.
TEST_P(CompactVideoPlays, FrameExactWithinThePlainMemoryAndOnTime)
{
    const CompactCase c = GetParam();
    const std::vector<PackedFrame> pictures = Film(c.frames, c.frame);
    const std::vector<std::uint8_t> times(pictures.size(), c.frameTime);
    const CompactVideo video = EncodeCompactVideo(pictures, times, c.perSecond, c.capacity);
    ASSERT_GE(video.frameCount, c.atLeast);
    const std::vector<Bytes> parts = BuildCompactParts(video, 7, static_cast<std::uint8_t>(c.perSecond));

    const std::vector<std::size_t> budgets = CompactPartBudgets(c.capacity);
    ASSERT_LE(parts.size(), budgets.size());
    ASSERT_EQ(LoadAddress(parts[0]), 0xEC41 - (parts[0].size() - 16));
    EXPECT_GE(LoadAddress(parts[0]), 0xEEB1 - static_cast<int>(budgets[0] + kPackedFrameBytes));
    for (std::size_t p = 1; p < parts.size(); ++p) {
        EXPECT_GE(LoadAddress(parts[p]), 0xC000 - static_cast<int>(budgets[p]));
    }
    EXPECT_LE(kPlayerAddress + CompactPlayerCode().size(), 0xEFA1u);

    const CompactDecoding decoded = DecodeCompactVideo(parts);
    ASSERT_EQ(decoded.fault, "");
    ASSERT_EQ(decoded.frames.size(), static_cast<std::size_t>(video.frameCount));
    EXPECT_EQ(decoded.facts.frameCount, video.frameCount);
    EXPECT_EQ(decoded.facts.framesPerSecond, c.perSecond);

    Pc1600 pc;
    Load(pc, parts);
    const Playback shown = pc.call(kPlayerAddress);
    ASSERT_TRUE(shown.returned) << shown.fault;
    ASSERT_EQ(shown.frames.size(), decoded.frames.size());
    for (std::size_t f = 0; f < shown.frames.size(); ++f) {
        SCOPED_TRACE("frame " + std::to_string(f + 1));
        ASSERT_EQ(decoded.frames[f].picture, pictures[f]);
        ASSERT_EQ(test::ScreenPicture(shown.frames[f].screen), test::ScreenPicture(pictures[f]));
        ASSERT_EQ(shown.frames[f].ticks, decoded.frames[f].ticks);
    }

    // The plain format holds at most 120 frames; longer films are timed by its pace.
    const int ticksPerSecond = kTicksPerUnit * c.perSecond * c.frameTime;
    const std::size_t plainFrames = std::min<std::size_t>(pictures.size(), kMaxVideoFrames);
    const Playback plain = PlayPlain({pictures.begin(), pictures.begin() + static_cast<std::ptrdiff_t>(plainFrames)},
                                     c.frameTime, c.perSecond);
    const double plainSeconds = Seconds(plain, ticksPerSecond) / plainFrames * video.frameCount;
    EXPECT_NEAR(Seconds(shown, ticksPerSecond), plainSeconds, plainSeconds / 100);
}

TEST(CompactPlayer, StopsAtAKeyAndPlaysAgainFromFrameOne)
{
    const std::vector<PackedFrame> pictures = Film(120, test::NumberedFrame);
    const CompactVideo video = EncodeCompactVideo(pictures, std::vector<std::uint8_t>(120, 23), 6, 120);
    ASSERT_EQ(video.streams.size(), 4u);
    Pc1600 pc;
    Load(pc, BuildCompactParts(video, 20, 6));
    for (int k : {1, video.partFrames[0], video.partFrames[0] + 1, video.frameCount - 1}) {
        SCOPED_TRACE("key after frame " + std::to_string(k));
        const Playback shown = pc.call(kPlayerAddress, k);
        EXPECT_TRUE(shown.returned) << shown.fault;
        ASSERT_EQ(shown.frames.size(), static_cast<std::size_t>(k));
        EXPECT_EQ(shown.keyChecks, k);
        EXPECT_EQ(shown.frames[0].screen, pictures[0]);
        EXPECT_EQ(shown.frames.back().screen, pictures[static_cast<std::size_t>(k - 1)]);
    }
}

// What the preview and the transfer meet in spoiled files: the decoder names
// the fault rather than read beyond a part or the buffer.
TEST(CompactDecoder, NamesWhatIsWrongWithSpoiledParts)
{
    const std::vector<PackedFrame> pictures = Film(60, test::NumberedFrame);
    const CompactVideo video = EncodeCompactVideo(pictures, std::vector<std::uint8_t>(60, 23), 6, 70);
    const std::vector<Bytes> parts = BuildCompactParts(video, 10, 6);
    ASSERT_EQ(parts.size(), 2u);
    ASSERT_EQ(DecodeCompactVideo(parts).fault, "");

    const auto spoiled = [&parts](std::size_t part, auto change) {
        std::vector<Bytes> copy = parts;
        change(copy[part]);
        return DecodeCompactVideo(copy).fault;
    };
    EXPECT_EQ(DecodeCompactVideo({parts[0]}).fault, "das Video hat 2 Teile, nicht 1");
    EXPECT_EQ(spoiled(1, [](Bytes& b) { b.pop_back(); }), "Teil 1 liegt nicht, wo Teil 0 ihn erwartet");
    EXPECT_EQ(spoiled(1, [](Bytes& b) { b[10] = 2; }), "Teil 1 liegt nicht, wo Teil 0 ihn erwartet");
    EXPECT_EQ(spoiled(0, [](Bytes& b) { b[b.size() - 20] = 1; }),
              "Teil 0 nennt 1 Bilder, seine Teile halten " + std::to_string(video.frameCount));
    EXPECT_EQ(spoiled(0,
                      [](Bytes& b) {
                          b[16] = 0;
                          b[17] = 0;
                      }),
              "Teil 0 hält ein Bild, das keine Zeit steht");
    EXPECT_EQ(spoiled(0,
                      [](Bytes& b) {
                          b[18] = 0x7F;
                          b[19] = 0x7F;
                          b[20] = 0x7F;
                          b[21] = 0x7F;
                          b[22] = 0x7F;
                          b[23] = 0xBF;
                      }),
              "Teil 0: ein Bild schreibt über das Ende des Bildpuffers hinaus");
    EXPECT_EQ(DecodeCompactVideo({parts[1]}).fault, "Teil 0 ist nicht der Anfang eines kompakten Videos");
}

// The page times the frames by the players' instructions as counted once, the
// emulator by running them: the two agree within a millisecond at every frame.
void ExpectThePageOnTime(const std::filesystem::path& folder, const PreviewVideo& shown)
{
    const StoredVideo stored = ReadStoredFrames(*ReadVideoParts(folder, "FILM", messages::kPreviewWindow).parts);
    const FrameTimeline page = TimelineOf(stored.frames, stored.ticksPerSecond);
    const FrameTimeline emulated = shown.timeline();
    ASSERT_EQ(page.frameCount(), emulated.frameCount());
    for (int k = 0; k <= emulated.frameCount(); ++k) {
        ASSERT_NEAR(page.startMs(k), emulated.startMs(k), 1) << "frame " << k;
    }
}

// A run with "Kompakt" ticked writes the compact parts, its own player and a
// loader that loads that player; the preview plays them with the compact
// player's own bytes, whatever lies in the folder.
class CompactRun : public ::testing::Test, public test::ConverterFixture {};

TEST_F(CompactRun, FitsThriceThePlainFramesCutsWithTheWarningAndPreviews)
{
    std::vector<Bytes> source;
    for (int n = 1; n <= 240; ++n) {
        source.push_back(test::MovingFrame(n));
    }
    test::WriteFrames(frames, source);
    for (CheckBox box : {CheckBox::CheckKompakt, CheckBox::CheckvPlay, CheckBox::CheckStartBas}) {
        host.ticked[box] = true;
    }
    start();
    const int fit = converter.settings().frameCount;
    EXPECT_GE(fit, 3 * 18);
    ASSERT_LT(fit, 240);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "Es werden nur " + std::to_string(fit) + " von 240 BMP Files verarbeitet !");
    EXPECT_EQ(titles().back(), "Fertig");
    EXPECT_EQ(host.compactFit, std::vector<std::string>{std::to_string(fit) + " von 240 passen"});
    EXPECT_EQ(host.textVidSekReal.back(), std::to_string(DivideRounded(fit, 6)));

    EXPECT_EQ(output("KPLAYER.BIN"), CompactPlayerFile());
    EXPECT_EQ(output("FILM.BAS"), BuildBasicLoader("FILM", 0, "KPLAYER.BIN")); // bytes in the loader test
    EXPECT_FALSE(std::filesystem::exists(frames / "VPLAYER.BIN"));
    test::WriteFile(frames / "KPLAYER.BIN", Bytes(256, 0xC9));

    const PreviewResult preview = LoadPreview(frames, "FILM");
    ASSERT_FALSE(preview.failure) << preview.failure->text;
    ASSERT_EQ(preview.video->frames.size(), static_cast<std::size_t>(fit));
    // The web page, which cannot run the player, reads the same from the parts.
    const StoredVideo stored = ReadStoredFrames(*ReadVideoParts(frames, "FILM", messages::kPreviewWindow).parts);
    ASSERT_EQ(stored.frames.size(), static_cast<std::size_t>(fit));
    EXPECT_EQ(stored.ticksPerSecond, preview.video->ticksPerSecond());
    for (int n = 1; n <= fit; ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        const auto i = static_cast<std::size_t>(n - 1);
        ASSERT_EQ(test::ScreenPicture(preview.video->frames[i].screen), test::BitmapPicture(source[i]));
        ASSERT_EQ(stored.frames[i].screen, preview.video->frames[i].screen);
        ASSERT_EQ(stored.frames[i].ticks, preview.video->frames[i].ticks);
    }
    ExpectThePageOnTime(frames, *preview.video);
}

TEST_F(CompactRun, AfterCompressionKeepsTheMergedTimesAndUsesAllFourBanks)
{
    std::vector<Bytes> source;
    for (int n = 1; n <= 240; ++n) {
        source.push_back(test::NearCopy(test::NumberedFrame((n + 1) / 2), n)); // pairs of near copies
    }
    test::WriteFrames(frames, source);
    chooseMemory(3, 1);
    host.ticked[CheckBox::CheckVKomp] = true;
    host.ticked[CheckBox::CheckKompakt] = true;
    start();
    ASSERT_EQ(titles().back(), "Fertig");
    ASSERT_EQ(converter.lastPart(), 3);
    const int fit = converter.settings().frameCount;
    EXPECT_EQ(host.messages[host.messages.size() - 2].text.rfind(
                  "Es werden nur " + std::to_string(fit) + " von neu kompremierten ", 0),
              0u);

    const PreviewResult preview = LoadPreview(frames, "FILM");
    ASSERT_FALSE(preview.failure) << preview.failure->text;
    ASSERT_EQ(preview.video->frames.size(), static_cast<std::size_t>(fit));
    for (int n = 1; n <= fit; ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        ASSERT_EQ(test::ScreenPicture(preview.video->frames[static_cast<std::size_t>(n - 1)].screen),
                  test::BitmapPicture(test::ReadFile(frames / FrameFileName(n))));
    }
    ExpectThePageOnTime(frames, *preview.video);
}

} // namespace
} // namespace velvix
