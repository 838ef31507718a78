// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"

#include <cstddef>
#include <filesystem>
#include <string>

// The boxes about the part files of a written video, with their German text:
// every window that reads a video says the same of the same fault.
namespace velvix::messages {

// The window a box appears in: its title, and its name in "öffnen Sie dann die Vorschau".
struct VideoWindow {
    const char* title;
    const char* name;
};

// What to do about files that are not as the converter wrote them.
std::string WriteAgain(const VideoWindow& window);

// A run with compression in the folder did not end: its video may be half written, its frames half renamed.
Message RunInterrupted(const VideoWindow& window, const std::filesystem::path& folder);
Message VideoMissing(const VideoWindow& window, const std::filesystem::path& part0);
Message PartMissing(const VideoWindow& window, const std::filesystem::path& file, int frameCount, int partCount);
Message PartUnreadable(const VideoWindow& window, const std::filesystem::path& file, const std::string& reason);
Message NotAVid(const VideoWindow& window, const std::filesystem::path& file, const std::string& what);
Message ForeignPart(const VideoWindow& window, const std::filesystem::path& file, const std::string& what);
Message PartTruncated(const VideoWindow& window, const std::filesystem::path& file, std::size_t size,
                      std::size_t expected);
Message PartOversized(const VideoWindow& window, const std::filesystem::path& file, std::size_t size,
                      std::size_t expected);

} // namespace velvix::messages
