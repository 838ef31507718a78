// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "ffmpeg_decoder.h"
#include "ffmpeg_inputs.h"
#include "make_frames.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace velvix {
namespace {

namespace fs = std::filesystem;

std::uint32_t Big32(const Bytes& b, std::size_t at)
{
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

TEST(Preview, ShowsEveryFrameEnlargedInAPngOfItsOwn)
{
    test::TempFolder temp;
    frames::Job job;
    job.input = temp.path() / "film.mkv";
    job.preview = temp.path() / "bogen.png";
    test::RunFfmpeg({"-f", "lavfi", "-i", test::WhiteWithBox(156, 32, 100, 8, 40, 16), "-t", "1", "-c:v", "ffv1"},
                    job.input);
    const frames::Outcome outcome = MakeFrames(job, {});
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    EXPECT_EQ(outcome.frameCount, 6);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 2); // no frames

    // Every chunk's check sum holds, up to the closing IEND.
    const Bytes png = test::ReadFile(job.preview);
    ASSERT_EQ(test::Hex(Bytes(png.begin(), png.begin() + 8)), "89 50 4E 47 0D 0A 1A 0A");
    std::string types;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = Big32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        const auto crc = crc32(0, png.data() + at + 4, static_cast<uInt>(length + 4));
        EXPECT_EQ(Big32(png, at + 8 + length), crc) << "chunk at " << at;
        types += std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                             png.begin() + static_cast<std::ptrdiff_t>(at + 8)) +
                 " ";
        at += 12 + length;
    }
    EXPECT_EQ(types, "IHDR PLTE IDAT IEND ");

    // Four frames a row, each dot 4 x 4 pixels, 8 pixels apart, 14 pixels for the number under each.
    frames::GreyImage sheet;
    ASSERT_FALSE(frames::DecodeImage({}, job.preview, sheet));
    ASSERT_EQ(sheet.width, 4 * (624 + 8) + 8);
    ASSERT_EQ(sheet.height, 2 * (128 + 14 + 8) + 8);
    const int left = 8 + 632; // frame 6: second row, second column
    const int top = 8 + 150;
    EXPECT_LT(sheet.at(left + 4 * 110 + 2, top + 4 * 10 + 2), 60);            // in the box: dark
    EXPECT_GT(sheet.at(left + 4 * 99 + 3, top + 4 * 10 + 2), 180);            // left of it: light
    EXPECT_GT(sheet.at(left + 4 * 110 + 2, top + 4 * 7 + 3), 180);            // above it: light
    EXPECT_EQ(sheet.at(left - 4, top + 2), sheet.at(2 * 632 + 20, top + 20)); // gap and unused cell alike

    // The numbers: light pixels in the strip under each frame, a different pattern for 1 and 6.
    const auto label = [&](int cellLeft, int cellTop) {
        std::string pixels;
        for (int y = cellTop + 128 + 2; y < cellTop + 128 + 12; ++y) {
            for (int x = cellLeft; x < cellLeft + 6; ++x) {
                pixels += sheet.at(x, y) > 200 ? '#' : '.';
            }
        }
        return pixels;
    };
    EXPECT_NE(label(8, 8).find('#'), std::string::npos);
    EXPECT_NE(label(left, top).find('#'), std::string::npos);
    EXPECT_NE(label(8, 8), label(left, top));
    EXPECT_EQ(label(left + 632, top).find('#'), std::string::npos); // no frame 7, no number
}

struct PreviewPlace {
    const char* name;
    const char* preview; // in the test's folder; "film.mkv" is the input
    bool replace;
    const char* refusal; // part of the message; nullptr: written
};

void PrintTo(const PreviewPlace& p, std::ostream* os) { *os << p.name; }

class PreviewPlaces : public ::testing::TestWithParam<PreviewPlace> {};

// A sheet never lands on the input, on a file the user did not allow to be
// replaced, or under another file type's name.
TEST_P(PreviewPlaces, NeverDestroyAFileNotNamedForIt)
{
    const PreviewPlace& p = GetParam();
    test::TempFolder temp;
    fs::create_directory(temp.path() / "bilder");
    test::WriteFile(temp.path() / "alt.png", {'a', 'l', 't'});
    frames::Job job;
    job.input = temp.path() / "film.mkv";
    test::RunFfmpeg({"-f", "lavfi", "-i", "color=black:s=32x16", "-t", "0.2", "-c:v", "ffv1"}, job.input);
    const Bytes film = test::ReadFile(job.input);
    job.preview = temp.path() / p.preview;
    job.replace = p.replace;
    const bool existed = fs::exists(job.preview);
    const Bytes before = existed ? test::ReadFile(job.preview) : Bytes{};

    const frames::Outcome outcome = MakeFrames(job, {});
    EXPECT_EQ(test::ReadFile(job.input), film);
    if (p.refusal == nullptr) {
        ASSERT_FALSE(outcome.failure) << outcome.failure->text;
        const Bytes sheet = test::ReadFile(job.preview);
        EXPECT_EQ(test::Hex(Bytes(sheet.begin(), sheet.begin() + 4)), "89 50 4E 47");
        return;
    }
    ASSERT_TRUE(outcome.failure);
    EXPECT_NE(outcome.failure->text.find(p.refusal), std::string::npos) << outcome.failure->text;
    EXPECT_EQ(fs::exists(job.preview), existed);
    if (existed && !fs::is_directory(job.preview)) {
        EXPECT_EQ(test::ReadFile(job.preview), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Places, PreviewPlaces,
                         ::testing::Values(PreviewPlace{"the input", "film.mkv", true, "EINGABE selbst"},
                                           PreviewPlace{"the input by another name", "bilder/../film.mkv", true,
                                                        "EINGABE selbst"},
                                           PreviewPlace{"an existing sheet", "alt.png", false, "--ersetzen"},
                                           PreviewPlace{"an existing sheet to replace", "alt.png", true, nullptr},
                                           PreviewPlace{"a JPEG name", "bogen.jpg", false, "auf .png enden"},
                                           PreviewPlace{"a new sheet", "neu.PNG", false, nullptr}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST(Preview, IsNotPutAmongTheInputPictures)
{
    test::TempFolder temp;
    frames::Job job;
    job.input = temp.path();
    job.preview = temp.path() / "bogen.png";
    test::RunFfmpeg({"-f", "lavfi", "-i", "color=black:s=32x16", "-frames:v", "1"}, temp.path() / "1.png");
    const frames::Outcome outcome = MakeFrames(job, {});
    ASSERT_TRUE(outcome.failure);
    EXPECT_NE(outcome.failure->text.find("im Eingabeordner"), std::string::npos) << outcome.failure->text;
    EXPECT_FALSE(fs::exists(job.preview));
}

} // namespace
} // namespace velvix
