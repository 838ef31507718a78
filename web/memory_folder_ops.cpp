// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "memory_folder_ops.h"

#include "system_reason.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace velvix::web {

namespace fs = std::filesystem;

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File Open(const fs::path& path, const char* mode) { return {std::fopen(path.c_str(), mode), &std::fclose}; }

// What the system said, or, where it said nothing, that the writing failed.
int LastErrno() { return errno != 0 ? errno : EIO; }

std::error_code LastError() { return {LastErrno(), std::generic_category()}; }

} // namespace

std::error_code MemoryFolderOps::copy(const fs::path& from, const fs::path& to)
{
    errno = 0;
    File in = Open(from, "rb");
    if (!in) {
        return LastError();
    }
    File out = Open(to, "wb");
    if (!out) {
        return LastError();
    }
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, in.get())) {
        if (std::fwrite(buffer, 1, read, out.get()) != read) {
            return LastError();
        }
    }
    if (std::ferror(in.get()) || std::fclose(out.release()) != 0) {
        return LastError();
    }
    return {};
}

// The in-memory file system (3.1.6) loses track of a file renamed onto an
// existing one: the old name still answers, though the folder no longer lists
// it, and it cannot be removed. So the file in the way goes first.
std::error_code MemoryFolderOps::rename(const fs::path& from, const fs::path& to)
{
    std::error_code ignored;
    fs::remove(to, ignored);
    return FolderOps::rename(from, to);
}

// A file that could not be written whole goes, so no part of it is offered.
std::optional<IoError> MemoryFolderOps::writeFile(const fs::path& file, std::span<const std::uint8_t> bytes)
{
    errno = 0;
    File out = Open(file, "wb");
    if (out && std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size() &&
        std::fclose(out.release()) == 0) {
        return std::nullopt;
    }
    const int error = LastErrno();
    out.reset();
    std::error_code ignored;
    fs::remove(file, ignored);
    return IoError{file, SystemReasonFromErrno(error)};
}

} // namespace velvix::web
