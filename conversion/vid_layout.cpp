// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "vid_layout.h"

#include "vid_header.h"

#include <algorithm>

namespace velvix {

namespace {

const std::string kPartEnding = ".VID";

} // namespace

std::string PartFileName(const std::string& video, int part) { return video + std::to_string(part) + kPartEnding; }

std::optional<std::string> VideoOfPartZero(const std::string& fileName)
{
    const std::string ending = "0" + kPartEnding;
    if (fileName.size() <= ending.size() || !fileName.ends_with(ending)) {
        return std::nullopt;
    }
    return fileName.substr(0, fileName.size() - ending.size());
}

std::vector<VidPart> SplitIntoParts(int frameCount)
{
    std::vector<VidPart> parts{{0, 1, std::min(frameCount, kPart0Frames)}};
    for (int lowest = kPart0Frames + 1; lowest <= frameCount; lowest += kBankFrames) {
        parts.push_back({static_cast<int>(parts.size()), lowest, std::min(frameCount, lowest + kBankFrames - 1)});
    }
    return parts;
}

std::uint16_t PartDataLength(int part, int frames)
{
    return static_cast<std::uint16_t>(kFrameRecordBytes * static_cast<std::size_t>(frames) + (part == 0 ? 4 : 1));
}

std::size_t PartFileBytes(int part, int frames)
{
    return kVidHeaderBytes + PartDataLength(part, frames) + (part == 0 ? 0 : 1);
}

} // namespace velvix
