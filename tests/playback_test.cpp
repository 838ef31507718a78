// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"
#include "frame_bitmap.h"
#include "frame_discovery.h"
#include "pc1600.h"
#include "player_image.h"
#include "preview_video.h"
#include "vid_writer.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

// A run of numbered frames with the player ticked, then the written files
// loaded into an emulated PC-1600 and played.
class PlayerRun : public test::ConverterFixture {
public:
    void convert(int frames, int rateIndex)
    {
        test::WriteNumberedFrames(folder.path(), frames);
        chooseMemory(3, 1); // room for 120 frames
        converter.budget().chooseFrameRate(rateIndex);
        host.ticked[CheckBox::CheckvPlay] = true;
        start();
    }

    Playback play(std::optional<int> keyAfterFrame = std::nullopt)
    {
        Pc1600 pc;
        for (int part = 0; part <= converter.lastPart(); ++part) {
            EXPECT_TRUE(pc.bload(output("FILM" + std::to_string(part) + ".VID")));
        }
        EXPECT_TRUE(pc.bload(output("VPLAYER.BIN")));
        return pc.call(PlayerStart(), keyAfterFrame);
    }
};

void ExpectFramesShown(const Playback& shown, int count, int baseFrameTime)
{
    ASSERT_EQ(shown.frames.size(), static_cast<std::size_t>(count));
    for (int frame = 1; frame <= count; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        const ShownFrame& f = shown.frames[static_cast<std::size_t>(frame - 1)];
        ASSERT_EQ(test::ScreenPicture(f.screen), test::BitmapPicture(test::NumberedFrame(frame)));
        ASSERT_EQ(f.ticks, kTicksPerUnit * baseFrameTime);
    }
}

struct PlayCase {
    int frames;
    int rateIndex;
    int baseFrameTime;
};

void PrintTo(const PlayCase& c, std::ostream* os) { *os << c.frames << " frames, base time " << c.baseFrameTime; }

class PlaysTheWholeFilm : public ::testing::TestWithParam<PlayCase>, public PlayerRun {};

// Every part boundary: 45 frames fill bank 0 below the player, 25 fill each of banks 1 to 3.
INSTANTIATE_TEST_SUITE_P(PartBoundaries, PlaysTheWholeFilm,
                         ::testing::Values(PlayCase{1, 2, 23}, PlayCase{18, 0, 33}, PlayCase{45, 3, 17},
                                           PlayCase{46, 1, 27}, PlayCase{70, 2, 23}, PlayCase{71, 0, 33},
                                           PlayCase{95, 3, 17}, PlayCase{96, 1, 27}, PlayCase{120, 2, 23}));

TEST_P(PlaysTheWholeFilm, FrameByFrameAsTheBitmapsShowThemAndReturns)
{
    const PlayCase c = GetParam();
    convert(c.frames, c.rateIndex);
    ASSERT_EQ(titles(), std::vector<std::string>{"Fertig"});

    const Playback shown = play();
    EXPECT_TRUE(shown.returned) << shown.fault;
    EXPECT_EQ(shown.displaySetUps, 1);
    ExpectFramesShown(shown, c.frames, c.baseFrameTime);
}

struct CompressedCase {
    int frames;
    int runLength; // frames in a row that are near copies of each other
};

void PrintTo(const CompressedCase& c, std::ostream* os) { *os << c.frames << " frames in runs of " << c.runLength; }

class PlaysTheCompressedFilm : public ::testing::TestWithParam<CompressedCase>, public PlayerRun {};

INSTANTIATE_TEST_SUITE_P(Runs, PlaysTheCompressedFilm,
                         ::testing::Values(CompressedCase{30, 30}, CompressedCase{90, 3}, CompressedCase{200, 2},
                                           CompressedCase{46, 1}));

TEST_P(PlaysTheCompressedFilm, ShowsTheKeptFramesForTheWholeFilmsTime)
{
    const CompressedCase c = GetParam();
    std::vector<Bytes> frames;
    for (int n = 1; n <= c.frames; ++n) {
        frames.push_back(test::NearCopy(test::NumberedFrame((n - 1) / c.runLength + 1), n));
    }
    test::WriteFrames(folder.path(), frames);
    chooseMemory(3, 1);
    host.ticked[CheckBox::CheckVKomp] = true;
    host.ticked[CheckBox::CheckvPlay] = true;
    start();
    ASSERT_EQ(titles().back(), "Fertig");

    const Playback shown = play();
    EXPECT_TRUE(shown.returned) << shown.fault;
    const int kept = converter.settings().frameCount;
    ASSERT_EQ(shown.frames.size(), static_cast<std::size_t>(kept));
    int ticks = 0;
    for (int frame = 1; frame <= kept; ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        const ShownFrame& f = shown.frames[static_cast<std::size_t>(frame - 1)];
        ASSERT_EQ(test::ScreenPicture(f.screen),
                  test::BitmapPicture(test::ReadFile(folder.path() / FrameFileName(frame))));
        ticks += f.ticks;
    }
    EXPECT_EQ(ticks, kTicksPerUnit * c.frames * 23);
}

class KeyPress : public ::testing::Test, public PlayerRun {};

TEST_F(KeyPress, AfterTheKthFrameEndsPlaybackAtOnce)
{
    convert(96, 2);
    for (int k : {1, 44, 45, 46, 70, 95}) {
        SCOPED_TRACE("key after frame " + std::to_string(k));
        const Playback shown = play(k);
        EXPECT_TRUE(shown.returned) << shown.fault;
        EXPECT_EQ(shown.keyChecks, k);
        ExpectFramesShown(shown, k, 23);
    }
}

// The player counts a display time down with DJNZ, which takes 0 as 256: a
// frame with time 0 stands for 256 units, not for none. The converter never
// writes 0: display times stay between 17 and 253.
TEST(Player, HoldsAFrameEightTicksPerUnitAndZeroAs256Units)
{
    for (const auto& [time, ticks] : std::vector<std::pair<std::uint8_t, int>>{{1, 8}, {253, 2024}, {0, 2048}}) {
        SCOPED_TRACE("display time " + std::to_string(time));
        const PackedFrame packed = PackFrame(test::NumberedFrame(7));
        Bytes record(packed.begin(), packed.end());
        record.push_back(time);

        Pc1600 pc;
        ASSERT_TRUE(pc.bload(BuildVidPart({0, 1, 1}, {record}, {1, 0, 6})));
        ASSERT_TRUE(pc.bload(PlayerImage));
        const Playback shown = pc.call(PlayerStart());
        EXPECT_TRUE(shown.returned) << shown.fault;
        ASSERT_EQ(shown.frames.size(), 1u);
        EXPECT_EQ(shown.frames[0].ticks, ticks);
    }
}

// A routine keeps only B across the wait tick and the carry of the key check.
// Each probe shows a band (a tick needs a picture), loads HL, BC and DE, calls
// one routine and stores the three pairs at 0xC100: the kept ones come back.
TEST(Emulator, SystemRoutinesScrambleWhatPlayersMustNotRelyOn)
{
    for (const std::uint8_t routine : {0x12, 0x2A, 0x60, 0x6F, 0x90}) {
        SCOPED_TRACE("routine 0x01" + std::to_string(routine));
        // clang-format off
        const Bytes program{0x3E, 0x00, 0x21, 0x9C, 0x00, 0x11, 0x00, 0xC2, // LD A,0  LD HL,156  LD DE,0xC200
                            0xCD, 0x60, 0x01,                               // CALL 0x0160
                            0x3E, 0x00, 0x21, 0x9C, 0x00, 0x01, 0x9C, 0x02, // LD A,0  LD HL,156  LD BC,0x029C
                            0x11, 0x00, 0xC2, 0xCD, routine, 0x01,          // LD DE,0xC200  CALL the routine
                            0x22, 0x00, 0xC1, 0xED, 0x43, 0x02, 0xC1,       // LD (0xC100),HL  LD (0xC102),BC
                            0xED, 0x53, 0x04, 0xC1, 0xC9};                  // LD (0xC104),DE  RET
        // clang-format on
        Pc1600 pc;
        for (std::size_t i = 0; i < program.size(); ++i) {
            pc.memory(0, static_cast<std::uint16_t>(0xC000 + i)) = program[i];
        }
        const Playback run = pc.call(0xC000);
        ASSERT_TRUE(run.returned) << run.fault;
        EXPECT_NE(pc.memory(0, 0xC100) | pc.memory(0, 0xC101) << 8, 0x009C);
        EXPECT_NE(pc.memory(0, 0xC104) | pc.memory(0, 0xC105) << 8, 0xC200);
        EXPECT_NE(pc.memory(0, 0xC102), 0x9C);
        EXPECT_EQ(pc.memory(0, 0xC103) == 0x02, routine == 0x2A); // B across the wait tick
    }
}

} // namespace
} // namespace velvix
