// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"

#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

namespace velvix {

// The file operations that rewrite a frame folder. A seam, so tests can make
// any one of them fail.
class FolderOps {
public:
    virtual ~FolderOps() = default;
    virtual std::error_code createFolder(const std::filesystem::path& folder);
    // Replaces an existing file at `to`.
    virtual std::error_code copy(const std::filesystem::path& from, const std::filesystem::path& to);
    virtual std::error_code remove(const std::filesystem::path& file);
    virtual std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to);
    // Whole or not at all, as WriteWholeFile.
    virtual std::optional<IoError> writeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
};

FolderOps& DefaultFolderOps();

} // namespace velvix
