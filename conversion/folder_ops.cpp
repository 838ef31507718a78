// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "folder_ops.h"

namespace velvix {

namespace fs = std::filesystem;

std::error_code FolderOps::createFolder(const fs::path& folder)
{
    std::error_code ec;
    if (!fs::create_directory(folder, ec) && !ec) {
        ec = std::make_error_code(std::errc::file_exists);
    }
    return ec;
}

std::error_code FolderOps::copy(const fs::path& from, const fs::path& to)
{
    // A leftover file is overwritten, but never through a link (that would write
    // elsewhere) and never a folder.
    std::error_code ec;
    const fs::file_status there = fs::symlink_status(to, ec);
    if (fs::is_symlink(there)) {
        return std::make_error_code(std::errc::file_exists);
    }
    if (fs::is_directory(there)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return ec;
}

std::error_code FolderOps::remove(const fs::path& file)
{
    std::error_code ec;
    if (!fs::remove(file, ec) && !ec) {
        ec = std::make_error_code(std::errc::no_such_file_or_directory);
    }
    return ec;
}

std::error_code FolderOps::rename(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::rename(from, to, ec);
    return ec;
}

std::optional<IoError> FolderOps::writeFile(const fs::path& file, std::span<const std::uint8_t> bytes)
{
    return WriteWholeFile(file, bytes);
}

FolderOps& DefaultFolderOps()
{
    static FolderOps ops;
    return ops;
}

} // namespace velvix
