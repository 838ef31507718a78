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

    // Four frames a row, each dot 4 x 4 pixels, 8 pixels apart.
    frames::GreyImage sheet;
    ASSERT_FALSE(frames::DecodeImage({}, job.preview, sheet));
    ASSERT_EQ(sheet.width, 4 * (624 + 8) + 8);
    ASSERT_EQ(sheet.height, 2 * (128 + 8) + 8);
    const int left = 8 + 632; // frame 6: second row, second column
    const int top = 8 + 136;
    EXPECT_LT(sheet.at(left + 4 * 110 + 2, top + 4 * 10 + 2), 60);            // in the box: dark
    EXPECT_GT(sheet.at(left + 4 * 99 + 3, top + 4 * 10 + 2), 180);            // left of it: light
    EXPECT_GT(sheet.at(left + 4 * 110 + 2, top + 4 * 7 + 3), 180);            // above it: light
    EXPECT_EQ(sheet.at(left - 4, top + 2), sheet.at(2 * 632 + 20, top + 20)); // gap and unused cell alike
}

} // namespace
} // namespace velvix
