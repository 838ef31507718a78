// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "basic_loader.h"
#include "converter_fixture.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

namespace fs = std::filesystem;

const std::string kFilmTwoParts = "FF 10 00 00 21 28 00 00 00 00 00 00 00 00 00 0F "
                                  "00 01 11 F2 90 22 53 32 3A 46 49 4C 4D 30 2E 56 "
                                  "49 44 22 0D 00 02 11 F2 90 22 53 32 3A 46 49 4C "
                                  "4D 31 2E 56 49 44 22 0D";

// Ü and ä take their Windows-1252 bytes DC and E4.
const std::string kUmlautName = "FF 10 00 00 21 17 00 00 00 00 00 00 00 00 00 0F "
                                "00 01 14 F2 90 22 53 32 3A DC 42 45 52 4C E4 4E 30 2E 56 49 44 22 0D";

struct LoaderCase {
    std::string outputName;
    int lastPart;
    std::string hex;
    std::string player = {}; // a compact video's loader loads its player last, which starts it
};

void PrintTo(const LoaderCase& c, std::ostream* os) { *os << '"' << c.outputName << "\", last part " << c.lastPart; }

class Loader : public ::testing::TestWithParam<LoaderCase> {};

INSTANTIATE_TEST_SUITE_P(
    Names, Loader,
    ::testing::Values(LoaderCase{"FILM", 1, kFilmTwoParts},
                      LoaderCase{"A", 0,
                                 "FF 10 00 00 21 11 00 00 00 00 00 00 00 00 00 0F "
                                 "00 01 0E F2 90 22 53 32 3A 41 30 2E 56 49 44 22 0D"},
                      LoaderCase{"ABCDEFG", 3,
                                 "FF 10 00 00 21 5C 00 00 00 00 00 00 00 00 00 0F "
                                 "00 01 14 F2 90 22 53 32 3A 41 42 43 44 45 46 47 30 2E 56 49 44 22 0D "
                                 "00 02 14 F2 90 22 53 32 3A 41 42 43 44 45 46 47 31 2E 56 49 44 22 0D "
                                 "00 03 14 F2 90 22 53 32 3A 41 42 43 44 45 46 47 32 2E 56 49 44 22 0D "
                                 "00 04 14 F2 90 22 53 32 3A 41 42 43 44 45 46 47 33 2E 56 49 44 22 0D"},
                      LoaderCase{"", 0,
                                 "FF 10 00 00 21 10 00 00 00 00 00 00 00 00 00 0F "
                                 "00 01 0D F2 90 22 53 32 3A 30 2E 56 49 44 22 0D"},
                      LoaderCase{"AB CD", 0,
                                 "FF 10 00 00 21 15 00 00 00 00 00 00 00 00 00 0F "
                                 "00 01 12 F2 90 22 53 32 3A 41 42 20 43 44 30 2E 56 49 44 22 0D"},
                      LoaderCase{"ÜBERLäN", 0, kUmlautName},
                      // Windows-1252's own characters between 80 and 9F.
                      LoaderCase{"€ŠŸ–", 0,
                                 "FF 10 00 00 21 14 00 00 00 00 00 00 00 00 00 0F "
                                 "00 01 11 F2 90 22 53 32 3A 80 8A 9F 96 30 2E 56 49 44 22 0D"},
                      // The no-break space and ÿ, the edges of the codes kept as they are.
                      LoaderCase{"\u00A0ÿ", 0,
                                 "FF 10 00 00 21 12 00 00 00 00 00 00 00 00 00 0F "
                                 "00 01 0F F2 90 22 53 32 3A A0 FF 30 2E 56 49 44 22 0D"},
                      // Ω and 😀 have no Windows-1252 code: one "?" each keeps the length byte true.
                      LoaderCase{"AΩ😀B", 0,
                                 "FF 10 00 00 21 14 00 00 00 00 00 00 00 00 00 0F "
                                 "00 01 11 F2 90 22 53 32 3A 41 3F 3F 42 30 2E 56 49 44 22 0D"},
                      LoaderCase{"FILM", 0,
                                 "FF 10 00 00 21 2A 00 00 00 00 00 00 00 00 00 0F "
                                 "00 01 11 F2 90 22 53 32 3A 46 49 4C 4D 30 2E 56 49 44 22 0D "
                                 "00 02 13 F2 90 22 53 32 3A 4B 50 4C 41 59 45 52 2E 42 49 4E 22 0D",
                                 "KPLAYER.BIN"}));

TEST_P(Loader, IsTheTokenisedProgramByteForByte)
{
    const LoaderCase c = GetParam();
    EXPECT_EQ(test::Hex(BuildBasicLoader(c.outputName, c.lastPart, c.player)), c.hex);
}

struct LoaderRun {
    std::string entered;
    int frames;
    std::string file; // UTF-8
    std::string hex;
};

void PrintTo(const LoaderRun& r, std::ostream* os) { *os << r.entered << ", " << r.frames << " frames"; }

class LoaderFromARun : public ::testing::TestWithParam<LoaderRun>, public test::ConverterFixture {};

INSTANTIATE_TEST_SUITE_P(Runs, LoaderFromARun,
                         ::testing::Values(LoaderRun{"Film", 46, "FILM.BAS", kFilmTwoParts},
                                           LoaderRun{"Überlänge", 1, "ÜBERLäN.BAS", kUmlautName}));

TEST_P(LoaderFromARun, IsWrittenUnderTheVideoNameWithoutThePlayer)
{
    const LoaderRun r = GetParam();
    test::WriteNumberedFrames(folder.path(), r.frames);
    chooseMemory(3, 0);
    host.ticked[CheckBox::CheckStartBas] = true;
    start(r.entered);
    ASSERT_EQ(titles(), std::vector<std::string>{"Fertig"});
    EXPECT_EQ(test::Hex(test::ReadFile(folder.path() / PathFromUtf8(r.file))), r.hex);
    EXPECT_FALSE(fs::exists(folder.path() / "VPLAYER.BIN"));
}

} // namespace
} // namespace velvix
