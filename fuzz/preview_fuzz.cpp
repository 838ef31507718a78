// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Part files of any length and content, given to the preview as they lie in
// a folder, and loaded raw into the emulated PC-1600 to run the player or
// whatever code they bring. Nothing may crash, read or write out of bounds,
// or run without end: the step limit must stop every program.
#include "fuzz_input.h"
#include "pc1600.h"
#include "player_image.h"
#include "preview_messages.h"
#include "preview_video.h"
#include "stored_frames.h"
#include "temp_folder.h"
#include "vid_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A part: three bytes of length, little end first, then that many bytes or what is left.
std::string Part(velvix::fuzz::FuzzInput& in)
{
    std::size_t count = in.byte();
    count |= static_cast<std::size_t>(in.byte()) << 8;
    count |= static_cast<std::size_t>(in.byte()) << 16;
    return in.take(count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static velvix::test::TempFolder folder;
    velvix::fuzz::FuzzInput in{data, size};
    const std::uint8_t mode = in.byte();
    const int parts = (mode & 3) + 1;

    std::vector<std::string> files;
    for (int p = 0; p < 4; ++p) {
        const fs::path path = folder.path() / velvix::PartFileName("F", p);
        fs::remove(path);
        if (p < parts) {
            files.push_back(Part(in));
            std::ofstream(path, std::ios::binary)
                .write(files.back().data(), static_cast<std::streamsize>(files.back().size()));
        }
    }

    const velvix::PreviewResult preview = velvix::LoadPreview(folder.path(), "F", 200'000);
    if (preview.video.has_value() == preview.failure.has_value()) {
        std::abort(); // either a video or the reason why not
    }
    // The web page reads the frames straight from whatever the reader accepts.
    const velvix::VideoPartsResult read = velvix::ReadVideoParts(folder.path(), "F", velvix::messages::kPreviewWindow);
    if (read.parts) {
        (void)velvix::ReadStoredFrames(*read.parts);
    }

    // Raw, without the checks: the player last, or the parts loaded over it
    // so that their own code runs.
    velvix::Pc1600 pc;
    if (mode & 4) {
        (void)pc.bload(velvix::PlayerImage);
    }
    for (const std::string& file : files) {
        (void)pc.bload({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
    }
    if (!(mode & 4)) {
        (void)pc.bload(velvix::PlayerImage);
    }
    const velvix::Playback shown = pc.call(velvix::PlayerStart(), std::nullopt, 50'000);
    if (!shown.returned && shown.fault.empty()) {
        std::abort(); // an emulation that stops gives its reason
    }
    return 0;
}
