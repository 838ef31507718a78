// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

namespace fs = std::filesystem;

// "VPLAYER.BIN" as the PC-1600 expects it, 16 bytes a row.
const std::string kPlayerFile = "FF 10 00 00 10 F0 00 00 B1 EE 00 B1 EE 00 00 0F "
                                "3E 00 06 02 CD 90 01 3A AE EE 32 04 F6 3E 01 32 "
                                "02 F6 CD 12 01 21 AD EE 22 06 F6 21 AD EE 22 00 "
                                "F6 3E 00 32 03 F6 3A 03 F6 06 02 CD 90 01 2A 00 "
                                "F6 11 9C 00 37 3F ED 52 22 00 F6 3E 03 EB CD 60 "
                                "01 2A 00 F6 11 9C 00 37 3F ED 52 22 00 F6 3E 02 "
                                "EB CD 60 01 2A 00 F6 11 9C 00 37 3F ED 52 22 00 "
                                "F6 3E 01 EB CD 60 01 2A 00 F6 11 9C 00 37 3F ED "
                                "52 22 00 F6 3E 00 EB CD 60 01 2A 00 F6 2B 22 00 "
                                "F6 2A 06 F6 7E 47 CD 2A 01 CD 2A 01 CD 2A 01 CD "
                                "2A 01 CD 2A 01 CD 2A 01 CD 2A 01 CD 2A 01 10 E6 "
                                "2A 06 F6 11 71 02 37 3F ED 52 22 06 F6 CD 6F 01 "
                                "D8 3A 02 F6 47 3A 04 F6 B8 C8 3A 02 F6 FE 2D 28 "
                                "12 FE 46 28 0E FE 5F 28 0A FE 78 C8 3C 32 02 F6 "
                                "C3 D7 EE 3A 03 F6 3C 32 03 F6 21 FF BF 22 00 F6 "
                                "21 FF BF 22 06 F6 3A 02 F6 3C 32 02 F6 C3 D7 EE";

class PlayerFile : public ::testing::Test, public test::ConverterFixture {};

struct Settings {
    std::string name;
    int rateIndex;
    int slot1;
    int slot2;
    bool compression;
    int frames;
};

void PrintTo(const Settings& s, std::ostream* os) { *os << s.name << ", " << s.frames << " frames"; }

class PlayerFileWhateverTheSettings : public ::testing::TestWithParam<Settings>, public test::ConverterFixture {};

INSTANTIATE_TEST_SUITE_P(Runs, PlayerFileWhateverTheSettings,
                         ::testing::Values(Settings{"Film", 2, 0, 0, false, 1}, Settings{"x", 0, 3, 1, false, 50},
                                           Settings{"Überlänge", 3, 1, 0, true, 2}));

TEST_P(PlayerFileWhateverTheSettings, IsTheFixed256Bytes)
{
    const Settings s = GetParam();
    test::WriteNumberedFrames(folder.path(), s.frames);
    converter.budget().chooseFrameRate(s.rateIndex);
    chooseMemory(s.slot1, s.slot2);
    host.ticked[CheckBox::CheckVKomp] = s.compression;
    host.ticked[CheckBox::CheckvPlay] = true;
    start(s.name);
    ASSERT_EQ(titles().back(), "Fertig");
    EXPECT_EQ(test::Hex(output("VPLAYER.BIN")), kPlayerFile);
}

TEST_F(PlayerFile, ReplacesALongerFileWhole)
{
    test::WriteNumberedFrames(folder.path(), 1);
    test::WriteFile(folder.path() / "VPLAYER.BIN", Bytes(300, 0x55));
    host.ticked[CheckBox::CheckvPlay] = true;
    start();
    EXPECT_EQ(test::Hex(output("VPLAYER.BIN")), kPlayerFile);
}

TEST_F(PlayerFile, IsNeitherWrittenNorTouchedWithTheBoxClear)
{
    test::WriteNumberedFrames(folder.path(), 1);
    start();
    EXPECT_FALSE(fs::exists(folder.path() / "VPLAYER.BIN"));

    test::WriteFile(folder.path() / "VPLAYER.BIN", Bytes{1, 2, 3});
    start();
    EXPECT_EQ(output("VPLAYER.BIN"), (Bytes{1, 2, 3}));
}

TEST_F(PlayerFile, NorLoaderAfterARejectedFrame)
{
    test::WriteNumberedFrames(folder.path(), 3);
    Bytes bad = test::NumberedFrame(2);
    bad[28] = 4; // four bits per pixel
    test::WriteFile(folder.path() / "B002.bmp", bad);
    host.ticked[CheckBox::CheckvPlay] = true;
    host.ticked[CheckBox::CheckStartBas] = true;
    start();
    EXPECT_EQ(titles(), std::vector<std::string>{"Laufzeitfehler"});
    EXPECT_FALSE(fs::exists(folder.path() / "VPLAYER.BIN"));
    EXPECT_FALSE(fs::exists(folder.path() / "FILM.BAS"));
}

// The player is written before the loader; the first file that cannot be
// written ends the run with its name and no completion notice.
struct Blocked {
    std::string file;
    bool playerWritten;
};

class UnwritableOutput : public ::testing::TestWithParam<Blocked>, public test::ConverterFixture {};

INSTANTIATE_TEST_SUITE_P(Files, UnwritableOutput,
                         ::testing::Values(Blocked{"VPLAYER.BIN", false}, Blocked{"FILM.BAS", true}),
                         [](const auto& info) { return info.param.playerWritten ? "Loader" : "Player"; });

TEST_P(UnwritableOutput, EndsTheRunWithAWarningNamingIt)
{
    const Blocked b = GetParam();
    test::WriteNumberedFrames(folder.path(), 2);
    fs::create_directory(folder.path() / b.file); // no file can take its place
    host.ticked[CheckBox::CheckvPlay] = true;
    host.ticked[CheckBox::CheckStartBas] = true;
    start();

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Laufzeitfehler");
    EXPECT_EQ(host.messages[0].icon, Message::Icon::Warning);
    EXPECT_NE(host.messages[0].text.find(b.file), std::string::npos) << host.messages[0].text;
    EXPECT_EQ(host.name, "Film");
    EXPECT_EQ(fs::is_regular_file(folder.path() / "VPLAYER.BIN"), b.playerWritten);
    EXPECT_FALSE(fs::is_regular_file(folder.path() / "FILM.BAS"));
    EXPECT_TRUE(fs::exists(folder.path() / "FILM0.VID"));
}

} // namespace
} // namespace velvix
