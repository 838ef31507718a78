// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "send_progress.h"
#include "typing_plan.h"

#include <gtest/gtest.h>

namespace velvix::transfer {
namespace {

struct PlanCase {
    const char* title;
    int parts;
    bool player;
    bool loader;
    Way way;
    std::vector<std::string> steps;
    std::vector<std::size_t> unneeded;
    std::vector<std::string> startLines;
};

void PrintTo(const PlanCase& c, std::ostream* os) { *os << c.title; }

std::vector<VideoFile> Files(const PlanCase& c)
{
    std::vector<VideoFile> files;
    for (int part = 0; part < c.parts; ++part) {
        files.push_back({FileKind::Part, "FILM" + std::to_string(part) + ".VID", 1000});
    }
    if (c.player) {
        files.push_back({FileKind::Player, "VPLAYER.BIN", 256});
    }
    if (c.loader) {
        files.push_back({FileKind::Loader, "FILM.BAS", 84});
    }
    return files;
}

const std::string kBload = "BLOAD \"COM1:\"";

class Typing : public ::testing::TestWithParam<PlanCase> {};

INSTANTIATE_TEST_SUITE_P(
    Videos, Typing,
    ::testing::Values(
        PlanCase{"1 part into memory", 1, false, false, Way::Memory, {kBload}, {}, {"CALL &EEB1"}},
        PlanCase{"1 part and player into memory", 1, true, false, Way::Memory, {kBload, kBload}, {}, {"CALL &EEB1"}},
        // The loader reads the parts from S2:, so going into memory it is left out.
        PlanCase{
            "1 part, player and loader into memory", 1, true, true, Way::Memory, {kBload, kBload}, {2}, {"CALL &EEB1"}},
        PlanCase{
            "4 parts into memory", 4, false, false, Way::Memory, {kBload, kBload, kBload, kBload}, {}, {"CALL &EEB1"}},
        PlanCase{"4 parts, player and loader into memory",
                 4,
                 true,
                 true,
                 Way::Memory,
                 {kBload, kBload, kBload, kBload, kBload},
                 {5},
                 {"CALL &EEB1"}},
        PlanCase{"1 part onto the RAM disk",
                 1,
                 false,
                 false,
                 Way::RamDisk,
                 {"COPY \"COM1:\" TO \"S2:FILM0.VID\""},
                 {},
                 {"BLOAD \"S2:FILM0.VID\"", "CALL &EEB1"}},
        PlanCase{"1 part and loader onto the RAM disk",
                 1,
                 false,
                 true,
                 Way::RamDisk,
                 {"COPY \"COM1:\" TO \"S2:FILM0.VID\"", "COPY \"COM1:\" TO \"S2:FILM.BAS\""},
                 {},
                 {"LOAD \"S2:FILM.BAS\"", "RUN", "CALL &EEB1"}},
        PlanCase{"4 parts and player onto the RAM disk",
                 4,
                 true,
                 false,
                 Way::RamDisk,
                 {"COPY \"COM1:\" TO \"S2:FILM0.VID\"", "COPY \"COM1:\" TO \"S2:FILM1.VID\"",
                  "COPY \"COM1:\" TO \"S2:FILM2.VID\"", "COPY \"COM1:\" TO \"S2:FILM3.VID\"",
                  "COPY \"COM1:\" TO \"S2:VPLAYER.BIN\""},
                 {},
                 {"BLOAD \"S2:FILM0.VID\"", "BLOAD \"S2:FILM1.VID\"", "BLOAD \"S2:FILM2.VID\"",
                  "BLOAD \"S2:FILM3.VID\"", "BLOAD \"S2:VPLAYER.BIN\""}},
        PlanCase{"4 parts, player and loader onto the RAM disk",
                 4,
                 true,
                 true,
                 Way::RamDisk,
                 {"COPY \"COM1:\" TO \"S2:FILM0.VID\"", "COPY \"COM1:\" TO \"S2:FILM1.VID\"",
                  "COPY \"COM1:\" TO \"S2:FILM2.VID\"", "COPY \"COM1:\" TO \"S2:FILM3.VID\"",
                  "COPY \"COM1:\" TO \"S2:VPLAYER.BIN\"", "COPY \"COM1:\" TO \"S2:FILM.BAS\""},
                 {},
                 {"LOAD \"S2:FILM.BAS\"", "RUN", "BLOAD \"S2:VPLAYER.BIN\""}}));

TEST_P(Typing, ShowsTheLineForEachFileAndHowToStart)
{
    const PlanCase& c = GetParam();
    const std::vector<VideoFile> files = Files(c);
    const TypingPlan plan = PlanTyping(files, c.way, 9600);

    EXPECT_EQ(plan.setup, (std::vector<std::string>{"INIT \"COM1:\",4096", "SETCOM \"COM1:\",9600,8,N,1,X,N"}));
    std::vector<std::string> lines;
    std::size_t previous = 0;
    for (const TypedStep& step : plan.steps) {
        lines.push_back(step.line);
        EXPECT_TRUE(lines.size() == 1 || step.file > previous) << "files go in their listed order";
        previous = step.file;
    }
    EXPECT_EQ(lines, c.steps);
    EXPECT_EQ(plan.unneeded, c.unneeded);
    EXPECT_EQ(plan.startLines, c.startLines);
    EXPECT_FALSE(plan.startNote.empty());
    EXPECT_EQ(plan.steps.size() + plan.unneeded.size(), files.size()) << "every file either goes or is named unneeded";
}

TEST(Typing, SetUpLinesCarryTheChosenRate)
{
    for (const int baud : {300, 38400}) {
        EXPECT_EQ(SetupLines(baud).back(), "SETCOM \"COM1:\"," + std::to_string(baud) + ",8,N,1,X,N");
    }
}

// Skipped files may be missing on the PC-1600: the note after the last step says so instead of claiming all is there.
TEST(Typing, TheFinishNoteSaysWhatWasSkipped)
{
    const std::vector<VideoFile> files = Files({"two parts", 2, true, true, Way::RamDisk, {}, {}, {}});
    const TypingPlan plan = PlanTyping(files, Way::RamDisk, 9600);
    EXPECT_EQ(FinishNote(plan, 0), plan.startNote);
    EXPECT_EQ(FinishNote(plan, 1), "1 von 4 Dateien wurde übersprungen. Nur wenn der PC-1600 sie schon hat, zum Laden "
                                   "und Abspielen eingeben:");
    EXPECT_EQ(FinishNote(PlanTyping(files, Way::Memory, 9600), 3),
              "Es wurde keine Datei gesendet. Nur wenn der PC-1600 alle schon hat, zum Abspielen eingeben:");
}

// A compact video goes with its own player, and the note after the last step names it.
TEST(Typing, TheStartNoteNamesThePlayerThatGoes)
{
    const std::vector<VideoFile> files{{FileKind::Part, "FILM0.VID", 1000}, {FileKind::Player, "KPLAYER.BIN", 300}};
    EXPECT_EQ(PlanTyping(files, Way::Memory, 9600).startNote,
              "Das Video läuft, sobald KPLAYER.BIN geladen ist. Zum erneuten Abspielen eingeben:");
    const TypingPlan ramDisk = PlanTyping(files, Way::RamDisk, 9600);
    EXPECT_EQ(ramDisk.startNote, "Alles ist auf der RAM-Disk. Zum Laden und Abspielen eingeben (KPLAYER.BIN startet "
                                 "das Video nach dem Laden von selbst):");
    EXPECT_EQ(ramDisk.startLines.back(), "BLOAD \"S2:KPLAYER.BIN\"");
}

TEST(Typing, TotalsAndProgressCountWhatGoes)
{
    const std::vector<VideoFile> files = Files({"two parts", 2, true, true, Way::Memory, {}, {}, {}});
    // The loader does not go this way: 2 x 1000 + 256 bytes.
    EXPECT_EQ(PlanTotals(files, PlanTyping(files, Way::Memory, 9600), 9600),
              "Zusammen 2.256 Bytes, bei 9600 Baud ca. 3 s");
    // Before half a second the rate is the line's; a port that cannot count says "etwa".
    EXPECT_EQ(ProgressText(0, 28145, 0.1, 9600, true), "0 von 28.145 Bytes, noch ca. 30 s");
    EXPECT_EQ(ProgressText(4096, 28145, 4.0, 9600, true), "4.096 von 28.145 Bytes, 1.024 Bytes/s, noch ca. 24 s");
    EXPECT_EQ(ProgressText(11776, 28145, 2.0, 9600, false),
              "etwa 11.776 von 28.145 Bytes, 5.888 Bytes/s, noch ca. 3 s");
}

} // namespace
} // namespace velvix::transfer
