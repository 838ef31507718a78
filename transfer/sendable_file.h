// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "message.h"
#include "video_files.h"

#include <filesystem>
#include <optional>

namespace velvix::transfer {

struct SendableFile {
    Bytes bytes;
    std::optional<Message> problem; // the file is gone, unreadable or no longer as listed
};

// Reads the listed file whole, right before it goes, and refuses it when its
// size is no longer the one the user saw: the video was made anew meanwhile.
SendableFile ReadForSending(const std::filesystem::path& folder, const VideoFile& file);

} // namespace velvix::transfer
