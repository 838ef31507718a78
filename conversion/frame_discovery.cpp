// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_discovery.h"

#include "system_reason.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace velvix {

namespace fs = std::filesystem;

namespace {

std::string AsciiLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return text;
}

using FolderIndex = std::map<std::string, std::vector<fs::path>>; // lower-case name -> files

std::optional<IoError> IndexFolder(const fs::path& folder, FolderIndex& index)
{
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path& path = it->path();
        index[AsciiLower(Utf8FromPath(path.filename()))].push_back(path);
    }
    if (ec) {
        return IoError{folder, SystemReason(ec)};
    }
    for (auto& [name, paths] : index) {
        std::sort(paths.begin(), paths.end());
    }
    return std::nullopt;
}

} // namespace

std::string FrameFileName(int number)
{
    char name[16];
    std::snprintf(name, sizeof name, "B%03d.bmp", number);
    return name;
}

int FrameNumberOf(const std::string& fileName)
{
    const std::string name = AsciiLower(fileName);
    if (name.size() != 8 || name[0] != 'b' || !name.ends_with(".bmp")) {
        return 0;
    }
    int number = 0;
    for (std::size_t i = 1; i < 4; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

Discovery DiscoverFrames(const fs::path& folder)
{
    Discovery found;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        found.stop = Discovery::Stop::FolderMissing;
        return found;
    }
    FolderIndex index;
    if (auto error = IndexFolder(folder, index)) {
        found.stop = Discovery::Stop::FolderUnreadable;
        found.error = std::move(error);
        return found;
    }

    for (int number = 1; number <= kProbedFrames; ++number) {
        const auto match = index.find(AsciiLower(FrameFileName(number)));
        if (match == index.end()) {
            found.stop = Discovery::Stop::FileMissing;
            return found;
        }
        if (match->second.size() > 1) {
            found.stop = Discovery::Stop::Ambiguous;
            found.ambiguous = match->second;
            return found;
        }
        const fs::path& path = match->second.front();
        // Its size tells presence with one look at the file; the frames are read in full later.
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(path, ec);
        if (ec) {
            found.stop = Discovery::Stop::FileUnreadable;
            found.error = IoError{path, SystemReason(ec)};
            return found;
        }
        if (size == 0) {
            found.stop = Discovery::Stop::FileEmpty;
            return found;
        }
        if (number == 1) {
            found.firstFrameSize = size;
        }
        found.framePaths.push_back(path);
    }
    found.stop = Discovery::Stop::TableFull;
    return found;
}

} // namespace velvix
