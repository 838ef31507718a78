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

VidResult WriteVidParts(const fs::path& folder, const std::string& outputName, const std::vector<fs::path>& framePaths,
                        const std::vector<std::uint8_t>& frameTimes, const VideoFacts& facts)
{
    const int frameCount = facts.frameCount;
    std::vector<Bytes> records;
    for (int frame = 1; frame <= frameCount; ++frame) {
        const auto index = static_cast<std::size_t>(frame - 1);
        FileStart file = ReadFileStart(framePaths[index], kFrameBytes);
        if (file.error) {
            return {0, messages::ReadFailed(*file.error)};
        }
        if (!IsAcceptedFrame(file.bytes)) {
            return {0, messages::RejectedFrame()};
        }
        const PackedFrame packed = PackFrame(file.bytes);
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
