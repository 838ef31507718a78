// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "sendable_file.h"

#include "messages.h"
#include "transfer_messages.h"

namespace velvix::transfer {

namespace fs = std::filesystem;

SendableFile ReadForSending(const fs::path& folder, const VideoFile& file)
{
    const fs::path path = folder / PathFromUtf8(file.name);
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) {
        return {{}, messages::FileGone(folder, file.name, error)};
    }
    if (size != file.bytes) {
        return {{}, messages::FileChanged(file.name, file.bytes, size)};
    }
    // One byte more than listed shows a file that grew after the size was taken.
    FileStart read = ReadFileStart(path, static_cast<std::size_t>(file.bytes) + 1);
    if (read.error) {
        return {{}, velvix::messages::ReadFailed(*read.error)};
    }
    if (read.bytes.size() != file.bytes) {
        return {{}, messages::FileChanged(file.name, file.bytes, read.bytes.size())};
    }
    return {std::move(read.bytes), std::nullopt};
}

} // namespace velvix::transfer
