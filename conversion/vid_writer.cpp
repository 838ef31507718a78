// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "vid_writer.h"

#include "frame_bitmap.h"
#include "messages.h"
#include "vid_header.h"

namespace velvix {

namespace fs = std::filesystem;

Bytes BuildVidPart(const VidPart& part, const std::vector<Bytes>& recordsByFrame, const VideoFacts& facts)
{
    const bool first = part.number == 0;
    // Part 0 loads its three closing bytes too; a later part's closing 00 lies beyond its length.
    const std::uint16_t dataLength = PartDataLength(part.number, part.frames());
    const auto loadAddress = static_cast<std::uint16_t>(PartEnd(part.number) - dataLength);
    const VidHeader header = MakeVidHeader({.type = FileType::BinaryImage,
                                            .dataLength = dataLength,
                                            .loadAddress = loadAddress,
                                            .loadBank = static_cast<std::uint8_t>(part.number)});

    Bytes file(header.begin(), header.end());
    file.push_back(0x00); // never used by the player
    for (int frame = part.highestFrame; frame >= part.lowestFrame; --frame) {
        const Bytes& record = recordsByFrame[static_cast<std::size_t>(frame - 1)];
        file.insert(file.end(), record.begin(), record.end());
    }
    if (first) {
        file.insert(file.end(), {facts.frameCount, facts.playSeconds, facts.framesPerSecond});
    } else {
        file.push_back(0x00);
    }
    return file;
}

PackedFrames ReadPackedFrames(const std::vector<fs::path>& framePaths, int frameCount)
{
    PackedFrames read;
    for (int frame = 1; frame <= frameCount; ++frame) {
        FileStart file = ReadFileStart(framePaths[static_cast<std::size_t>(frame - 1)], kFrameBytes);
        if (file.error) {
            return {{}, messages::ReadFailed(*file.error)};
        }
        if (!IsAcceptedFrame(file.bytes)) {
            return {{}, messages::RejectedFrame()};
        }
        read.pictures.push_back(PackFrame(file.bytes));
    }
    return read;
}

VidResult WriteVidParts(const fs::path& folder, const std::string& outputName, const std::vector<fs::path>& framePaths,
                        const std::vector<std::uint8_t>& frameTimes, const VideoFacts& facts)
{
    const int frameCount = facts.frameCount;
    PackedFrames read = ReadPackedFrames(framePaths, frameCount);
    if (read.failure) {
        return {0, read.failure};
    }
    std::vector<Bytes> records;
    for (std::size_t index = 0; index < read.pictures.size(); ++index) {
        const PackedFrame& packed = read.pictures[index];
        Bytes record(packed.begin(), packed.end());
        record.push_back(frameTimes[index]);
        records.push_back(std::move(record));
    }

    const std::vector<VidPart> parts = SplitIntoParts(frameCount);
    for (const VidPart& part : parts) {
        const fs::path path = folder / PathFromUtf8(PartFileName(outputName, part.number));
        if (auto error = WriteWholeFile(path, BuildVidPart(part, records, facts))) {
            return {part.number, messages::WriteFailed(*error)};
        }
    }
    return {parts.back().number, std::nullopt};
}

} // namespace velvix
