// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"
#include "line_timing.h"
#include "sendable_file.h"
#include "video_files.h"
#include "video_folder.h"

#include <gtest/gtest.h>

namespace velvix::transfer {

// Found by the tests' printer beside the type it prints.
void PrintTo(const VideoFile& file, std::ostream* os) { *os << file.name << " (" << file.bytes << " bytes)"; }

namespace {

namespace fs = std::filesystem;
using test::MakeVideoFiles;
using test::WriteVideoFiles;

std::vector<std::string> Names(const std::vector<VideoFile>& files)
{
    std::vector<std::string> names;
    for (const VideoFile& file : files) {
        names.push_back(file.name);
    }
    return names;
}

TEST(VideoFiles, ListedInTheOrderTheyGoWithTheirSizes)
{
    test::TempFolder folder;
    WriteVideoFiles(folder.path(), MakeVideoFiles("FILM", 120, true, true));
    WriteVideoFiles(folder.path(), MakeVideoFiles("ANDERER", 10, false, true)); // another video beside it

    const VideoListing listing = ListVideoFiles(folder.path(), "FILM");
    ASSERT_FALSE(listing.problem) << listing.problem->text;
    EXPECT_EQ(listing.files, (std::vector<VideoFile>{{FileKind::Part, "FILM0.VID", 28145},
                                                     {FileKind::Part, "FILM1.VID", 15643},
                                                     {FileKind::Part, "FILM2.VID", 15643},
                                                     {FileKind::Part, "FILM3.VID", 15643},
                                                     {FileKind::Player, "VPLAYER.BIN", 256},
                                                     {FileKind::Loader, "FILM.BAS", 84}}));
}

// The files as a run of the converter writes them, so the listing follows the
// real format; a compact video goes with its own player.
TEST(VideoFiles, AWrittenVideoIsListedWhole)
{
    for (const bool compact : {false, true}) {
        SCOPED_TRACE(compact ? "compact" : "plain");
        test::ConverterFixture run;
        test::WriteNumberedFrames(run.frames, 60);
        run.host.ticked = {{CheckBox::CheckVKomp, false},
                           {CheckBox::CheckvPlay, true},
                           {CheckBox::CheckStartBas, true},
                           {CheckBox::CheckKompakt, compact}};
        run.chooseMemory(3, 0);
        run.start("Film");
        ASSERT_EQ(run.converter.lastPart(), 1);

        const VideoListing listing = ListVideoFiles(run.frames, "FILM");
        ASSERT_FALSE(listing.problem) << listing.problem->text;
        EXPECT_EQ(
            Names(listing.files),
            (std::vector<std::string>{"FILM0.VID", "FILM1.VID", compact ? "KPLAYER.BIN" : "VPLAYER.BIN", "FILM.BAS"}));
    }
}

// Part `part` of a video with `frameCount` frames, `change` bytes longer or shorter.
Bytes PartOf(int frameCount, int part, int change = 0)
{
    Bytes bytes = MakeVideoFiles("ANDERER", frameCount, false, false)[static_cast<std::size_t>(part)].bytes;
    bytes.resize(static_cast<std::size_t>(static_cast<int>(bytes.size()) + change), 0);
    return bytes;
}

struct ListingCase {
    const char* title;
    int frameCount;
    std::vector<std::string> remove;
    std::vector<test::VideoFolderFile> extra;
    std::vector<std::string> listed;
    const char* problem; // part of the box's text, the words the preview uses too; or nullptr
};

void PrintTo(const ListingCase& c, std::ostream* os) { *os << c.title; }

class Listing : public ::testing::TestWithParam<ListingCase> {};

INSTANTIATE_TEST_SUITE_P(
    Folders, Listing,
    ::testing::Values(
        // Part 0 counts 70 frames, two parts: those of an earlier, longer video stay out.
        ListingCase{"left-over parts",
                    70,
                    {},
                    {{"FILM2.VID", Bytes(900, 1)}, {"FILM3.VID", Bytes(900, 1)}},
                    {"FILM0.VID", "FILM1.VID"},
                    nullptr},
        ListingCase{
            "counted part missing", 120, {"FILM2.VID"}, {}, {}, "FILM2.VID\r\nfehlt. Teil 0 des Videos nennt 120"},
        ListingCase{"part 0 not written by Velvix",
                    70,
                    {},
                    {{"FILM0.VID", Bytes(500, 0)}},
                    {},
                    "ist kein Teil eines Videos von Velvix: ihr Dateikopf ist nicht der einer Binärdatei"},
        ListingCase{"part 1 cut by 10 bytes",
                    70,
                    {},
                    {{"FILM1.VID", PartOf(70, 1, -10)}},
                    {},
                    "FILM1.VID\r\nist unvollständig: sie hat 15633 Bytes, ein Teil dieses Videos 15643."},
        ListingCase{"part 1 a byte longer",
                    70,
                    {},
                    {{"FILM1.VID", PartOf(70, 1, 1)}},
                    {},
                    "ist zu lang: sie hat 15644 Bytes, ein Teil dieses Videos nur 15643."},
        ListingCase{"part 1 of a shorter video",
                    70,
                    {},
                    {{"FILM1.VID", PartOf(50, 1)}},
                    {},
                    "gehört nicht zu diesem Video: sie hält 5 Bilder, Teil 1 eines Videos mit 70 Bildern hält 25."},
        ListingCase{"too large for the PC-1600", 1, {}, {{"FILM.BAS", Bytes(kMaxFileBytes + 1, 0)}}, {}, "zu groß"},
        ListingCase{"no part 0", 1, {"FILM0.VID"}, {}, {}, "FILM0.VID\r\nfehlt: dieses Video"},
        ListingCase{"a run with compression stopped while renaming",
                    70,
                    {},
                    {{"B007_.bmp", Bytes(100, 0)}},
                    {},
                    "ein Lauf mit Kompression unterbrochen"}));

TEST_P(Listing, TakesOnlyTheFilesOfThisVideo)
{
    const ListingCase& c = GetParam();
    test::TempFolder folder;
    WriteVideoFiles(folder.path(), MakeVideoFiles("FILM", c.frameCount, false, false));
    WriteVideoFiles(folder.path(), c.extra);
    for (const std::string& name : c.remove) {
        fs::remove(folder.path() / name);
    }
    const VideoListing listing = ListVideoFiles(folder.path(), "FILM");
    if (c.problem != nullptr) {
        ASSERT_TRUE(listing.problem);
        EXPECT_EQ(listing.problem->title, "Übertragen");
        EXPECT_NE(listing.problem->text.find(c.problem), std::string::npos) << listing.problem->text;
        EXPECT_TRUE(listing.files.empty()) << "nothing to send";
        return;
    }
    ASSERT_FALSE(listing.problem) << listing.problem->text;
    EXPECT_EQ(Names(listing.files), c.listed);
}

TEST(SendableFile, IsReadWholeOnlyWhileItIsAsListed)
{
    test::TempFolder folder;
    const auto files = MakeVideoFiles("FILM", 50, true, false);
    WriteVideoFiles(folder.path(), files);
    const VideoListing listing = ListVideoFiles(folder.path(), "FILM");
    ASSERT_EQ(listing.files.size(), 3U);

    SendableFile part1 = ReadForSending(folder.path(), listing.files[1]);
    EXPECT_FALSE(part1.problem);
    EXPECT_EQ(part1.bytes, files[1].bytes);

    test::WriteFile(folder.path() / "FILM1.VID", Bytes(100, 0)); // the video was made anew
    SendableFile changed = ReadForSending(folder.path(), listing.files[1]);
    ASSERT_TRUE(changed.problem);
    EXPECT_NE(changed.problem->text.find("FILM1.VID hat sich geändert"), std::string::npos) << changed.problem->text;

    fs::remove(folder.path() / "VPLAYER.BIN");
    SendableFile gone = ReadForSending(folder.path(), listing.files[2]);
    ASSERT_TRUE(gone.problem);
    EXPECT_NE(gone.problem->text.find("existiert nicht"), std::string::npos) << gone.problem->text;
    EXPECT_TRUE(gone.bytes.empty());
}

TEST(LineTiming, EstimatesAndShowsTheTimeOnTheLine)
{
    EXPECT_DOUBLE_EQ(LineSeconds(960, 9600), 1.0); // ten bits a byte
    EXPECT_DOUBLE_EQ(LineSeconds(75074, 38400), 75074 * 10 / 38400.0);
    const std::pair<double, const char*> durations[] = {{0.0, "unter 1 s"},   {0.2, "1 s"},
                                                        {17.0, "17 s"},       {59.5, "1 min 00 s"},
                                                        {65.0, "1 min 05 s"}, {2502.5, "41 min 43 s"}};
    for (const auto& [seconds, text] : durations) {
        EXPECT_EQ(FormatDuration(seconds), text) << seconds;
    }
    const std::pair<std::uintmax_t, const char*> numbers[] = {
        {0, "0"}, {999, "999"}, {1000, "1.000"}, {28145, "28.145"}, {1234567, "1.234.567"}};
    for (const auto& [number, text] : numbers) {
        EXPECT_EQ(GroupDigits(number), text);
    }
}

} // namespace
} // namespace velvix::transfer
