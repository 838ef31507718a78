// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "utf8.h"
#include "video_name.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

struct NameCase {
    const char* entered;
    const char* cleaned;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << '"' << c.entered << "\" -> \"" << c.cleaned << '"'; }

class CleanVideoNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CleanVideoNameTest, CutsAtStopThenSevenCharactersAndRaisesAtoZ)
{
    EXPECT_EQ(CleanVideoName(GetParam().entered), GetParam().cleaned);
}

INSTANTIATE_TEST_SUITE_P(Names, CleanVideoNameTest,
                         ::testing::Values(NameCase{"clip.avi", "CLIP"}, NameCase{"a.b.c", "A"},
                                           NameCase{"Abcdefghij", "ABCDEFG"}, NameCase{"Abcdefgh.x", "ABCDEFG"},
                                           NameCase{"Müll", "MüLL"}, NameCase{"Überlänge", "ÜBERLäN"},
                                           NameCase{"ab cd", "AB CD"}, NameCase{"   ", "   "}, NameCase{".x", ""},
                                           NameCase{"az{`@[", "AZ{`@["}, NameCase{"ßéàç12345", "ßéàç123"},
                                           NameCase{"日本語のビデオ名前", "日本語のビデオ"}));

TEST(CleanVideoName, InvalidUtf8CountsEachStrayByteAsOneCharacter)
{
    // Two stray bytes, then "abcdefg": seven characters survive, the last one cut.
    EXPECT_EQ(CleanVideoName("\xFF\xC3"
                             "abcdefg"),
              "\xEF\xBF\xBD\xEF\xBF\xBD"
              "ABCDE");
    EXPECT_EQ(DecodeUtf8("\xE2\x82"), (std::u32string{0xFFFD, 0xFFFD}));             // truncated sequence
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::u32string{0xFFFD, 0xFFFD}));             // overlong "/"
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (std::u32string{0xFFFD, 0xFFFD, 0xFFFD})); // surrogate
    EXPECT_EQ(EncodeUtf8(DecodeUtf8("a\xF0\x9F\x8E\xAC")), "a\xF0\x9F\x8E\xAC");
}

TEST(IsUsableInFileName, RefusesSeparatorsReservedAndControlCharacters)
{
    for (const char* bad : {"A/B", "A\\B", "C:", "A*", "A?", "A\"", "<A", "A>", "A|B", "A\tB", "\x7F", "A\xC2\x85"}) {
        EXPECT_FALSE(IsUsableInFileName(bad)) << bad;
    }
    for (const char* good : {"", "FILM", "AB CD", "MüLL", "   ", "A-B_C", "日本"}) {
        EXPECT_TRUE(IsUsableInFileName(good)) << good;
    }
}

} // namespace
} // namespace velvix
