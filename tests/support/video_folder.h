// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velvix::test {

struct VideoFolderFile {
    std::string name;
    Bytes bytes;
};

// The files of a written video with `frameCount` frames (1 to 120): the parts
// as Velvix writes them, of frames that each have their own byte pattern so a
// mix-up shows, then VPLAYER.BIN and NAME.BAS of made-up bytes if asked for,
// in the order they go.
std::vector<VideoFolderFile> MakeVideoFiles(const std::string& name, int frameCount, bool player, bool loader);

void WriteVideoFiles(const std::filesystem::path& folder, const std::vector<VideoFolderFile>& files);

// Everything the far end should receive, one file after the other.
Bytes Concatenated(const std::vector<VideoFolderFile>& files);

} // namespace velvix::test
