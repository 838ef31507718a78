// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frames_folder_ops.h"

#include "frame_folder.h"

#include <cerrno>
#include <fstream>

namespace velvix::frames {

namespace fs = std::filesystem;

std::error_code FramesFolderOps::list(const fs::path& folder, std::vector<fs::path>& entries)
{
    entries.clear();
    std::error_code ec;
    if (!fs::exists(folder, ec)) {
        return ec;
    }
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        entries.push_back(it->path());
    }
    return ec;
}

std::optional<IoError> FramesFolderOps::writeFile(const fs::path& file, std::span<const std::uint8_t> bytes)
{
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
    }
    if (!out) {
        const std::string reason = LowerReason(std::error_code(errno, std::generic_category()));
        std::error_code ignored;
        fs::remove(file, ignored);
        return IoError{file, reason};
    }
    return std::nullopt;
}

FramesFolderOps& DefaultFramesFolderOps()
{
    static FramesFolderOps ops;
    return ops;
}

} // namespace velvix::frames
