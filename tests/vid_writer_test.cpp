// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_bitmap.h"
#include "frame_discovery.h"
#include "frame_files.h"
#include "temp_folder.h"
#include "vid_header.h"
#include "vid_reader.h"
#include "vid_writer.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velvix {
namespace {

namespace fs = std::filesystem;
using test::FirstDifference;
using test::ReadFile;

struct Video {
    test::TempFolder folder;
    std::vector<fs::path> paths;
    std::vector<std::uint8_t> times;

    explicit Video(int frames)
    {
        test::WriteNumberedFrames(folder.path(), frames);
        for (int i = 1; i <= frames; ++i) {
            paths.push_back(folder.path() / FrameFileName(i));
            times.push_back(static_cast<std::uint8_t>(i)); // distinct, to see which record carries which
        }
    }

    VidResult write(std::uint8_t playSeconds = 7)
    {
        return WriteVidParts(folder.path(), "FILM", paths, times,
                             {static_cast<std::uint8_t>(paths.size()), playSeconds, 6});
    }
    Bytes part(int number) const { return ReadFile(folder.path() / ("FILM" + std::to_string(number) + ".VID")); }
};

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

Bytes Record(int frame, std::uint8_t time)
{
    const PackedFrame packed = PackFrame(test::NumberedFrame(frame));
    Bytes record(packed.begin(), packed.end());
    record.push_back(time);
    return record;
}

TEST(WriteVidParts, OneFrameWithTheTopLeftPixelGivesTheDocumentedFile)
{
    test::TempFolder folder;
    Bytes frame = test::BlankFrame();
    test::SetPixel(frame, 0, 0);
    test::WriteFile(folder.path() / "B001.bmp", frame);

    const VidResult result = WriteVidParts(folder.path(), "A", {folder.path() / "B001.bmp"}, {23}, {1, 0, 6});
    ASSERT_FALSE(result.failure);
    EXPECT_EQ(result.lastPart, 0);

    Bytes expected{0xFF, 0x10, 0x00, 0x00, 0x10, 0x75, 0x02, 0x00, 0x3C,
                   0xEC, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x0F, 0x00, 0x01};
    expected.resize(641, 0x00);
    expected.insert(expected.end(), {0x17, 0x01, 0x00, 0x06});
    const Bytes actual = ReadFile(folder.path() / "A0.VID");
    EXPECT_EQ(FirstDifference(actual, expected), "");
}

struct PartCase {
    int frames;
    int lastPart;
    std::vector<std::size_t> sizes;
    std::vector<Bytes> headerBytes5to10;
};

void PrintTo(const PartCase& c, std::ostream* os) { *os << c.frames << " frames"; }

class PartSplitTest : public ::testing::TestWithParam<PartCase> {};

TEST_P(PartSplitTest, SizesHeadersRecordOrderAndClosingBytesAsTheReaderTakesThem)
{
    const PartCase& c = GetParam();
    Video video(c.frames);
    const VidResult result = video.write();
    ASSERT_FALSE(result.failure);
    EXPECT_EQ(result.lastPart, c.lastPart);
    EXPECT_FALSE(fs::exists(video.folder.path() / ("FILM" + std::to_string(c.lastPart + 1) + ".VID")));

    const int lowest[] = {1, 46, 71, 96};
    for (int p = 0; p <= c.lastPart; ++p) {
        SCOPED_TRACE("part " + std::to_string(p));
        const Bytes file = video.part(p);
        ASSERT_EQ(file.size(), c.sizes[static_cast<std::size_t>(p)]);
        EXPECT_EQ(Slice(file, 0, 5), (Bytes{0xFF, 0x10, 0x00, 0x00, 0x10}));
        EXPECT_EQ(Slice(file, 5, 6), c.headerBytes5to10[static_cast<std::size_t>(p)]);
        EXPECT_EQ(Slice(file, 11, 6), (Bytes{0xFF, 0xFF, 0x00, 0x00, 0x0F, 0x00}));
        const std::optional<HeaderFields> header = ParseVidHeader(file);
        ASSERT_TRUE(header);
        const VidHeader again = MakeVidHeader(*header);
        EXPECT_EQ(Slice(file, 0, 16), Bytes(again.begin(), again.end()));

        const int records = static_cast<int>((file.size() - 17 - (p == 0 ? 3 : 1)) / 625);
        const int highest = lowest[p] + records - 1;
        for (int k = 0; k < records; ++k) {
            const int frame = highest - k;
            ASSERT_EQ(Slice(file, 17 + 625 * static_cast<std::size_t>(k), 625),
                      Record(frame, static_cast<std::uint8_t>(frame)))
                << "record " << k;
        }
        const Bytes closing = Slice(file, file.size() - (p == 0 ? 3 : 1), p == 0 ? 3 : 1);
        const Bytes expectedClosing = p == 0 ? Bytes{static_cast<std::uint8_t>(c.frames), 7, 6} : Bytes{0x00};
        EXPECT_EQ(closing, expectedClosing);
    }

    const VideoPartsResult read = ReadVideoParts(video.folder.path(), "FILM", {"Test", "den Test"});
    ASSERT_TRUE(read.parts) << read.failure->text;
    EXPECT_EQ(read.parts->files.size(), c.sizes.size());
    EXPECT_EQ(read.parts->files.back(), video.part(c.lastPart));
    EXPECT_EQ(read.parts->frameCount, c.frames);
    EXPECT_EQ(read.parts->framesPerSecond, 6);
}

INSTANTIATE_TEST_SUITE_P(
    FrameCounts, PartSplitTest,
    ::testing::Values(
        PartCase{45, 0, {28145}, {{0xE1, 0x6D, 0x00, 0xD0, 0x80, 0x00}}},
        PartCase{46, 1, {28145, 643}, {{0xE1, 0x6D, 0x00, 0xD0, 0x80, 0x00}, {0x72, 0x02, 0x00, 0x8E, 0xBD, 0x01}}},
        PartCase{100,
                 3,
                 {28145, 15643, 15643, 3143},
                 {{0xE1, 0x6D, 0x00, 0xD0, 0x80, 0x00},
                  {0x0A, 0x3D, 0x00, 0xF6, 0x82, 0x01},
                  {0x0A, 0x3D, 0x00, 0xF6, 0x82, 0x02},
                  {0x36, 0x0C, 0x00, 0xCA, 0xB3, 0x03}}},
        PartCase{120,
                 3,
                 {28145, 15643, 15643, 15643},
                 {{0xE1, 0x6D, 0x00, 0xD0, 0x80, 0x00},
                  {0x0A, 0x3D, 0x00, 0xF6, 0x82, 0x01},
                  {0x0A, 0x3D, 0x00, 0xF6, 0x82, 0x02},
                  {0x0A, 0x3D, 0x00, 0xF6, 0x82, 0x03}}}),
    [](const auto& info) { return std::to_string(info.param.frames) + "Frames"; });

TEST(WriteVidParts, ARejectedFrameLeavesEveryFileAsItWas)
{
    Video video(60);
    ASSERT_FALSE(video.write(9).failure);
    const Bytes part0 = video.part(0);
    const Bytes part1 = video.part(1);

    Bytes bad = test::NumberedFrame(50);
    bad[28] = 4; // four bits per pixel
    test::WriteFile(video.paths[49], bad);
    const VidResult result = video.write(3);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->text, "Falsches BMP Format!");
    EXPECT_EQ(video.part(0), part0);
    EXPECT_EQ(video.part(1), part1);
}

TEST(WriteVidParts, ShortOrLongFrameFilesAreReadSafely)
{
    Video video(3);
    Bytes longer = test::NumberedFrame(2);
    longer.resize(5000, 0xAB); // bytes after 702 are ignored
    test::WriteFile(video.paths[1], longer);
    ASSERT_FALSE(video.write().failure);
    EXPECT_EQ(Slice(video.part(0), 17 + 625, 625), Record(2, 2));

    Bytes shorter = test::NumberedFrame(2);
    shorter.resize(701);
    test::WriteFile(video.paths[1], shorter);
    const VidResult result = video.write();
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->text, "Falsches BMP Format!");
}

TEST(WriteVidParts, AnOutputNameTakenByAFolderFailsWithTheFileAndReason)
{
    Video video(50);
    fs::create_directory(video.folder.path() / "FILM1.VID");
    const VidResult result = video.write();
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->title, "Laufzeitfehler");
    EXPECT_NE(result.failure->text.find("FILM1.VID"), std::string::npos);
    EXPECT_NE(result.failure->text.find("Grund: An dieser Stelle steht ein Ordner"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(video.folder.path() / "FILM1.VID"));
    for (const auto& entry : fs::directory_iterator(video.folder.path())) {
        EXPECT_EQ(entry.path().filename().string().find("tmp"), std::string::npos) << entry.path();
    }
}

TEST(WriteVidParts, ALongerOldFileIsReplacedWhole)
{
    Video video(2);
    test::WriteFile(video.folder.path() / "FILM0.VID", Bytes(40000, 0x55));
    // A reader halfway through the old file reads the old file to its end.
    std::ifstream reader(video.folder.path() / "FILM0.VID", std::ios::binary);
    reader.ignore(20000);
    ASSERT_FALSE(video.write().failure);
    EXPECT_EQ(video.part(0).size(), 16u + 625 * 2 + 4);
    const std::string rest{std::istreambuf_iterator<char>(reader), {}};
    EXPECT_EQ(rest, std::string(20000, 0x55));
}

} // namespace
} // namespace velvix
