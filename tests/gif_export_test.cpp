// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_files.h"
#include "gif_export.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace velvix::gif {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// The delays of an animated GIF in hundredths of a second, frame by frame.
std::vector<int> GifDelays(const Bytes& gif)
{
    std::vector<int> delays;
    for (std::size_t i = 0; i + 5 < gif.size(); ++i) {
        if (gif[i] == 0x21 && gif[i + 1] == 0xF9 && gif[i + 2] == 0x04) {
            delays.push_back(gif[i + 4] | gif[i + 5] << 8);
        }
    }
    return delays;
}

PreviewVideo ThreeFrames()
{
    PreviewVideo video{"ZUG", {}, 6, 23};
    for (int ticks : {184, 368, 92}) { // 1/6 s, 1/3 s, 1/12 s
        ShownFrame frame;
        frame.screen.fill(static_cast<std::uint8_t>(ticks));
        frame.ticks = ticks;
        video.frames.push_back(frame);
    }
    return video;
}

// Each byte of the display as one grey pixel: enough to tell the frames apart.
RgbPicture Draw(const Screen& screen)
{
    RgbPicture picture{static_cast<int>(screen.size()), 1, {}};
    for (const std::uint8_t byte : screen) {
        picture.rgb.insert(picture.rgb.end(), 3, byte);
    }
    return picture;
}

TEST(GifFile, IsWrittenWholeAtTheVideosTimingOrNotAtAll)
{
    TempFolder folder;
    const fs::path target = folder.path() / "zug.gif";
    test::WriteFile(target, {'a', 'l', 't'});
    // An ffmpeg that reports its first frame, then works on for longer than any user waits.
    TempFolder tools;
    const std::string slowFfmpeg = Utf8FromPath(tools.path() / "ffmpeg");
    std::ofstream(slowFfmpeg) << "#!/bin/sh\necho frame=1\nexec sleep 20\n";
    fs::permissions(slowFfmpeg, fs::perms::owner_all);

    struct Try {
        std::string ffmpeg;
        int cancelAt; // the progress step at which the user cancels (1: drawing, 6: ffmpeg done), or -1
        GifResult::Outcome outcome;
        const char* says;
    };
    using enum GifResult::Outcome;
    for (const Try& t : {Try{"/keine/ffmpeg", -1, Failed, "ffmpeg ließ sich nicht starten"},
                         Try{"false", -1, Failed, "ffmpeg brach ab."}, Try{"ffmpeg", 1, Cancelled, ""},
                         Try{"ffmpeg", 6, Cancelled, ""}, Try{slowFfmpeg, 4, Cancelled, ""},
                         Try{"ffmpeg", -1, Written, "Das GIF ist gespeichert:"}}) {
        SCOPED_TRACE(t.ffmpeg + " " + std::to_string(t.cancelAt));
        const auto began = std::chrono::steady_clock::now();
        std::atomic<bool> cancel = false;
        int lastDone = 0;
        GifWork work{Draw,
                     [&](int done, int total) {
                         EXPECT_EQ(total, 6);
                         lastDone = done;
                         cancel = done == t.cancelAt;
                     },
                     &cancel, t.ffmpeg};
        const GifResult result = WriteGif(ThreeFrames(), target, work);
        EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10)) << "a cancel waits for ffmpeg";
        EXPECT_EQ(result.outcome, t.outcome);
        EXPECT_NE(result.message.text.find(t.says), std::string::npos) << result.message.text;
        if (t.outcome == Failed) {
            EXPECT_NE(result.message.text.find("Es wurde nichts gespeichert."), std::string::npos);
        }
        const Bytes file = test::ReadFile(target);
        if (t.outcome == Written) {
            EXPECT_EQ(result.message.icon, Message::Icon::Information);
            EXPECT_NE(result.message.text.find(Utf8FromPath(target)), std::string::npos);
            EXPECT_EQ(lastDone, 6);
            ASSERT_GT(file.size(), 6u);
            EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF89a");
            EXPECT_EQ(GifDelays(file), (std::vector<int>{17, 33, 8}));
        } else {
            EXPECT_EQ(file, (Bytes{'a', 'l', 't'}));
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
            << "no temporary file left";
    }
}

} // namespace
} // namespace velvix::gif
