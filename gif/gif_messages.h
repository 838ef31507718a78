// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"

#include <filesystem>
#include <string>
#include <system_error>

// The boxes of "Als GIF speichern", with their German text.
namespace velvix::gif::messages {

Message Written(const std::filesystem::path& target);
Message NoTemporaryRoom(const std::filesystem::path& target, const std::string& reason);
Message FolderNotWritable(const std::filesystem::path& target, const std::string& reason);
// `error` is what kept ffmpeg from starting.
Message FfmpegNotStarted(const std::filesystem::path& target, int error);
// `said` is ffmpeg's own output, shown as a marked last line.
Message FfmpegFailed(const std::filesystem::path& target, const std::string& said);
Message NotRenamed(const std::filesystem::path& target, std::error_code error);

} // namespace velvix::gif::messages
