// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "compact_parts.h"

#include "compact_layout.h"
#include "messages.h"
#include "vid_header.h"

#include <algorithm>

namespace velvix {

namespace {

void PutWord(Bytes& out, std::size_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8 & 0xFF));
}

Bytes PartFile(int part, const Bytes& data, std::uint32_t end)
{
    const VidHeader header = MakeVidHeader({.type = FileType::BinaryImage,
                                            .dataLength = static_cast<std::uint16_t>(data.size()),
                                            .loadAddress = static_cast<std::uint16_t>(end - data.size()),
                                            .loadBank = static_cast<std::uint8_t>(part)});
    Bytes file(header.size() + data.size());
    std::copy(data.begin(), data.end(), std::copy(header.begin(), header.end(), file.begin()));
    return file;
}

} // namespace

std::vector<Bytes> BuildCompactParts(const CompactVideo& video, std::uint8_t playSeconds, std::uint8_t framesPerSecond)
{
    Bytes facts;
    PutWord(facts, static_cast<std::size_t>(video.frameCount));
    facts.push_back(playSeconds);
    facts.push_back(framesPerSecond);
    const std::size_t part0Length = video.streams[0].size() + kCompactFactsBytes;
    for (std::size_t p = 0; p < kMaxVideoParts; ++p) {
        if (p >= video.streams.size()) {
            PutWord(facts, 0);
            PutWord(facts, 0);
            continue;
        }
        PutWord(facts, p == 0 ? kCompactBuffer - part0Length : kBankWindowEnd - video.streams[p].size());
        PutWord(facts, static_cast<std::size_t>(video.partFrames[p]));
    }

    Bytes data0 = video.streams[0];
    data0.insert(data0.end(), facts.begin(), facts.end());
    std::vector<Bytes> files{PartFile(0, data0, kCompactBuffer)};
    for (std::size_t p = 1; p < video.streams.size(); ++p) {
        files.push_back(PartFile(static_cast<int>(p), video.streams[p], kBankWindowEnd));
    }
    return files;
}

CompactPartsResult WriteCompactParts(const std::filesystem::path& folder, const std::string& outputName,
                                     const std::vector<Bytes>& parts)
{
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const auto path = folder / PathFromUtf8(outputName + std::to_string(p) + ".VID");
        if (auto error = WriteWholeFile(path, parts[p])) {
            return {static_cast<int>(p), messages::WriteFailed(*error)};
        }
    }
    return {static_cast<int>(parts.size()) - 1, std::nullopt};
}

} // namespace velvix
