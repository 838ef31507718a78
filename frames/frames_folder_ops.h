// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "folder_ops.h"

#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

namespace velvix::frames {

// Every file operation the tool's output goes through: those of a frame
// folder's rewrite, listing a folder and writing a new file. A seam, so
// tests can make any one of them fail, or stop the work there as a kill would.
class FramesFolderOps : public FolderOps {
public:
    // The entries of `folder` (none when it does not exist); an error when it
    // cannot be listed.
    virtual std::error_code list(const std::filesystem::path& folder, std::vector<std::filesystem::path>& entries);
    // Writes the file straight under its name, for a name no one else uses
    // (the tool renames it into place); a failed write leaves no file.
    virtual std::optional<IoError> writeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
};

FramesFolderOps& DefaultFramesFolderOps();

} // namespace velvix::frames
