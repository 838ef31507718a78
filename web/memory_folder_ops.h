// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "folder_ops.h"

#include <filesystem>
#include <system_error>

namespace velvix::web {

// Emscripten's in-memory file system (3.1.6) loses track of a file renamed onto
// an existing one: the old name still answers, though the folder no longer lists
// it, and it cannot be removed. The run's folder lives only in the worker, where
// nothing looks in between, so the file in the way goes first.
class MemoryFolderOps : public FolderOps {
public:
    std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::error_code ignored;
        std::filesystem::remove(to, ignored);
        return FolderOps::rename(from, to);
    }

    std::optional<IoError> writeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) override
    {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return FolderOps::writeFile(file, bytes);
    }
};

} // namespace velvix::web
