// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "compact_encoder.h"
#include "file_io.h"
#include "message.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

// The part files of a compact video, part 0 first: each a binary file header
// and the part's stream; part 0 closes with the video's facts.
std::vector<Bytes> BuildCompactParts(const CompactVideo& video, std::uint8_t playSeconds, std::uint8_t framesPerSecond);

struct CompactPartsResult {
    int lastPart = 0;
    std::optional<Message> failure;
};

// Writes outputName + "0.VID" onward into the folder, each file whole or not at all.
CompactPartsResult WriteCompactParts(const std::filesystem::path& folder, const std::string& outputName,
                                     const std::vector<Bytes>& parts);

} // namespace velvix
