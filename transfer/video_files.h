// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"
#include "vid_header.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix::transfer {

enum class FileKind { Part, Player, Loader };

struct VideoFile {
    FileKind kind = FileKind::Part;
    std::string name; // as in the folder and as the PC-1600 calls it, UTF-8
    std::uintmax_t bytes = 0;

    bool operator==(const VideoFile&) const = default;
};

// A file larger than this is no file the PC-1600 loads: its header counts at most
// 65535 bytes, and a part carries one closing byte beyond them.
inline constexpr std::uintmax_t kMaxFileBytes = kVidHeaderBytes + 65535 + 1;

struct VideoListing {
    std::vector<VideoFile> files;   // in the order they must go; none when there is a problem
    std::optional<Message> problem; // the video cannot be sent as it is
};

// The files of the video `name` in the order they go: the parts NAME0.VID
// onward, then its player and NAME.BAS if present. Part 0 tells how many parts
// the video has, so parts left over from a longer earlier video stay out; each
// part is checked as the preview checks it, so a missing, cut, overlong or
// foreign part is a problem before anything is sent.
VideoListing ListVideoFiles(const std::filesystem::path& folder, const std::string& name);

} // namespace velvix::transfer
