// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "folder_ops.h"

#include <filesystem>
#include <system_error>

namespace velvix::web {

// The run's folder lives only in the worker's memory (emscripten's in-memory
// file system), where nothing looks in between and the worker's end takes all:
// the folder holds only the run's own plain files, and no write stops half-way
// but for want of memory, after which the run fails. So files are written
// straight, where libc++'s copy and a replacing write cost several times more.
class MemoryFolderOps : public FolderOps {
public:
    std::error_code copy(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::optional<IoError> writeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) override;
};

} // namespace velvix::web
