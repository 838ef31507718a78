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

} // namespace
} // namespace velvix::transfer
