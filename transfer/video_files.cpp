// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "video_files.h"

#include "file_io.h"
#include "transfer_messages.h"
#include "vid_layout.h"
#include "vid_reader.h"

namespace velvix::transfer {

namespace fs = std::filesystem;

namespace {

// The size of a regular file; nullopt when there is none of that name.
std::optional<std::uintmax_t> RegularFileSize(const fs::path& path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? std::nullopt : std::optional(size);
}

} // namespace

VideoListing ListVideoFiles(const fs::path& folder, const std::string& name)
{
    const VideoPartsResult read = ReadVideoParts(folder, name, messages::kTransferWindow);
    if (!read.parts) {
        return {{}, read.failure};
    }
    VideoListing listing;
    for (std::size_t part = 0; part < read.parts->files.size(); ++part) {
        listing.files.push_back(
            {FileKind::Part, PartFileName(name, static_cast<int>(part)), read.parts->files[part].size()});
    }
    const std::pair<FileKind, std::string> extras[] = {{FileKind::Player, read.parts->playerFile},
                                                       {FileKind::Loader, name + ".BAS"}};
    for (const auto& [kind, file] : extras) {
        const std::optional<std::uintmax_t> size = RegularFileSize(folder / PathFromUtf8(file));
        if (!size) {
            continue;
        }
        if (*size > kMaxFileBytes) {
            return {{}, messages::TooLarge(file, *size)};
        }
        listing.files.push_back({kind, file, *size});
    }
    return listing;
}

} // namespace velvix::transfer
