// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "message.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velvix {

// The PC-1600 BASIC program, in its stored tokenised form, that loads the
// part files 0 to lastPart from the RAM disk: line p + 1 reads
// BLOAD "S2:" + outputName + p + ".VID". outputName is UTF-8 and goes in as
// Windows-1252. A player named, a last line loads it from there too, which
// starts it on the video just loaded.
Bytes BuildBasicLoader(const std::string& outputName, int lastPart, const std::string& player = {});

// Writes outputName + ".BAS" into the folder, whole or not at all.
std::optional<Message> WriteBasicLoader(const std::filesystem::path& folder, const std::string& outputName,
                                        int lastPart, const std::string& player = {});

} // namespace velvix
