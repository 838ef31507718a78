// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velvix {

using Bytes = std::vector<std::uint8_t>;

// A file operation that failed, with the system's reason.
struct IoError {
    std::filesystem::path path;
    std::string reason;
};

// Window text and file names are UTF-8 on every platform.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

struct FileStart {
    Bytes bytes; // at most the limit asked for; fewer when the file is shorter
    std::optional<IoError> error;
};

// Reads the first `limit` bytes of a file.
FileStart ReadFileStart(const std::filesystem::path& path, std::size_t limit);

// Writes a temporary file beside `path` and renames it into place, so the
// file is replaced whole or left as it was.
std::optional<IoError> WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace velvix
