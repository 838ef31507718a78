// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Any text, valid UTF-8 or not, as a video name: the cleaned name is valid
// UTF-8 of at most 7 characters without a full stop or a lower-case a to z,
// and a usable one makes a file name that stays inside its folder.
#include "file_io.h"
#include "utf8.h"
#include "video_name.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string entered(reinterpret_cast<const char*>(data), size);
    const std::string cleaned = velvix::CleanVideoName(entered);
    const std::u32string characters = velvix::DecodeUtf8(cleaned);

    if (velvix::EncodeUtf8(characters) != cleaned || characters.size() > velvix::kMaxNameLength) {
        std::abort();
    }
    for (char32_t c : characters) {
        if (c == U'.' || (c >= U'a' && c <= U'z')) {
            std::abort();
        }
    }
    if (velvix::IsUsableInFileName(cleaned)) {
        const std::filesystem::path folder = "/frames";
        const std::filesystem::path file = folder / velvix::PathFromUtf8(cleaned + "0.VID");
        if (file.parent_path() != folder || file.filename() != velvix::PathFromUtf8(cleaned + "0.VID")) {
            std::abort();
        }
    }
    return 0;
}
