// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "command_line.h"

#include <gtest/gtest.h>

namespace velvix::frames {
namespace {

CommandLine Read(std::vector<std::string> arguments) { return ReadCommandLine(arguments); }

TEST(CommandLine, DefaultsSuitAnOrdinaryFilm)
{
    const CommandLine line = Read({"film.mp4", "bilder"});
    ASSERT_FALSE(line.failure);
    EXPECT_EQ(line.job.input, "film.mp4");
    EXPECT_EQ(line.job.outputFolder, "bilder");
    EXPECT_EQ(line.job.part.rate, 6);
    EXPECT_FALSE(line.job.part.start);
    EXPECT_FALSE(line.job.part.length);
    EXPECT_EQ(line.job.fit, Fit::Fill);
    EXPECT_EQ(line.job.oneBit.method, Method::Bayer);
    EXPECT_FALSE(line.job.oneBit.invert);
    EXPECT_FALSE(line.job.replace);
    EXPECT_FALSE(line.job.firstFramesOnly);
}

TEST(CommandLine, TakesEveryOption)
{
    const CommandLine line = Read({"--bildrate",
                                   "8",
                                   "--start=1:02:03,5",
                                   "--dauer",
                                   "90",
                                   "--einpassen",
                                   "--verfahren",
                                   "Atkinson",
                                   "--schwelle",
                                   "90",
                                   "--helligkeit",
                                   "-20",
                                   "--kontrast=150",
                                   "--invertieren",
                                   "--vorschau",
                                   "v.png",
                                   "--ersetzen",
                                   "--erste-299",
                                   "--",
                                   "-film.mp4",
                                   "ziel"});
    ASSERT_FALSE(line.failure) << line.failure->text;
    EXPECT_EQ(line.job.part.rate, 8);
    EXPECT_EQ(line.job.part.start, 3723.5);
    EXPECT_EQ(line.job.part.length, 90.0);
    EXPECT_EQ(line.job.fit, Fit::Bars);
    EXPECT_EQ(line.job.oneBit.method, Method::Atkinson);
    EXPECT_EQ(line.job.oneBit.level, 90);
    EXPECT_EQ(line.job.oneBit.brightness, -20);
    EXPECT_EQ(line.job.oneBit.contrast, 150);
    EXPECT_TRUE(line.job.oneBit.invert);
    EXPECT_EQ(line.job.preview, "v.png");
    EXPECT_TRUE(line.job.replace);
    EXPECT_TRUE(line.job.firstFramesOnly);
    EXPECT_EQ(line.job.input, "-film.mp4");
    EXPECT_EQ(line.job.outputFolder, "ziel");
}

TEST(CommandLine, SaysWhenTheLevelIsIgnored)
{
    EXPECT_EQ(Read({"--schwelle", "90", "f", "o"}).notes,
              std::vector<std::string>{"--schwelle gilt nur für --verfahren schwelle und bleibt hier ohne Wirkung."});
    EXPECT_TRUE(Read({"--schwelle", "90", "--verfahren", "SCHWELLE", "f", "o"}).notes.empty());
}

TEST(CommandLine, APreviewNeedsNoOutputFolder)
{
    const CommandLine line = Read({"--vorschau", "v.png", "film.mp4"});
    ASSERT_FALSE(line.failure);
    EXPECT_TRUE(line.job.outputFolder.empty());
}

TEST(CommandLine, RefusesWhatDoesNotFit)
{
    const std::vector<std::vector<std::string>> wrong{{"--bildrate", "7", "f", "o"},
                                                      {"--bildrate", "07", "f", "o"},
                                                      {"--start", "inf", "f", "o"},
                                                      {"--bildrate", "3", "f", "o"},
                                                      {"--bildrate", "6x", "f", "o"},
                                                      {"--start", "x", "f", "o"},
                                                      {"--start", "1:2:3:4", "f", "o"},
                                                      {"--start", "-5", "f", "o"},
                                                      {"--start", "1.5:00", "f", "o"},
                                                      {"--start", "1:75", "f", "o"},
                                                      {"--start", "1:60:00", "f", "o"},
                                                      {"--vorschau", "film.mp4", "bilder"},
                                                      {"--vorschau", "bogen.jpg", "film.mp4"},
                                                      {"--vorschau", "--ersetzen", "film.mp4", "bilder"},
                                                      {"--dauer", "0", "f", "o"},
                                                      {"--verfahren", "sierra", "f", "o"},
                                                      {"--schwelle", "0", "f", "o"},
                                                      {"--helligkeit", "101", "f", "o"},
                                                      {"--kontrast", "-1", "f", "o"},
                                                      {"--invertieren=ja", "f", "o"},
                                                      {"--unbekannt", "f", "o"},
                                                      {"f", "o", "--bildrate"},
                                                      {},
                                                      {"f"},
                                                      {"f", "o", "dritte"}};
    for (const auto& arguments : wrong) {
        const CommandLine line = Read(arguments);
        std::string shown;
        for (const auto& a : arguments) {
            shown += a + " ";
        }
        EXPECT_TRUE(line.failure) << shown;
    }
}

// A wrong or missing value is answered with what the option allows.
TEST(CommandLine, NamesWhatAnOptionAllows)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--bildrate", "7", "f", "o"}, "„7“ passt nicht zu --bildrate (erlaubt: 4, 5, 6, 8)."},
        {{"--kontrast=500", "f", "o"}, "„500“ passt nicht zu --kontrast (erlaubt: 0 bis 400)."},
        {{"--verfahren", "sierra", "f", "o"},
         "„sierra“ passt nicht zu --verfahren (erlaubt: bayer, schwelle, floyd-steinberg, atkinson)."},
        {{"--start", "1:75", "f", "o"}, "„1:75“ passt nicht zu --start (erlaubt: Sekunden wie 75"},
        {{"--vorschau", "film.mp4", "o"}, "„film.mp4“ passt nicht zu --vorschau (erlaubt: ein Dateiname, der auf .png"},
        {{"--vorschau", "--ersetzen", "f", "o"}, "--vorschau braucht einen Wert (erlaubt: ein Dateiname"},
        {{"f", "o", "--schwelle"}, "--schwelle braucht einen Wert (erlaubt: 1 bis 255)."}};
    for (const auto& [arguments, expected] : cases) {
        const CommandLine line = Read(arguments);
        ASSERT_TRUE(line.failure) << expected;
        EXPECT_EQ(line.failure->text.substr(0, expected.size()), expected);
    }
}

TEST(CommandLine, HelpAndVersionNeedNothingElse)
{
    EXPECT_TRUE(Read({"--hilfe"}).help);
    EXPECT_FALSE(Read({"--hilfe"}).failure);
    EXPECT_TRUE(Read({"--version"}).version);
    EXPECT_FALSE(Read({"--version"}).failure);
}

} // namespace
} // namespace velvix::frames
