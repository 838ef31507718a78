// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "file_io.h"

#include "system_reason.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace velvix {

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string Utf8FromPath(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

FileStart ReadFileStart(const fs::path& path, std::size_t limit)
{
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {{}, IoError{path, SystemReasonFromErrno(errno)}};
    }
    Bytes bytes(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        return {{}, IoError{path, SystemReasonFromErrno(errno)}};
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    std::error_code ec;
    if (bytes.empty() && limit > 0 && fs::is_directory(path, ec)) {
        return {{}, IoError{path, SystemReasonFromErrno(EISDIR)}}; // some systems open folders as files
    }
    return {std::move(bytes), std::nullopt};
}

std::optional<IoError> WriteWholeFile(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    fs::path temporary = path;
    temporary += ".velvix-tmp";

    errno = 0;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            out.close();
        }
        if (!out) {
            const std::string reason = SystemReasonFromErrno(errno);
            std::error_code ignored;
            if (fs::is_regular_file(temporary, ignored)) {
                fs::remove(temporary, ignored);
            }
            return IoError{path, reason};
        }
    }

    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return IoError{path, SystemReason(ec)};
    }
    return std::nullopt;
}

} // namespace velvix
