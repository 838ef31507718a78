#include "video_folder.h"

#include "frame_files.h"
#include "vid_writer.h"

namespace velvix::test {

namespace {

Bytes Patterned(std::size_t size, unsigned seed)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + seed * 31 + i / 251) & 0xFF); // every value, XON and XOFF too
    }
    return bytes;
}

} // namespace

std::vector<VideoFolderFile> MakeVideoFiles(const std::string& name, int frameCount, bool player, bool loader)
{
    std::vector<VideoFolderFile> files;
    const std::vector<VidPart> parts = SplitIntoParts(frameCount);
    for (const VidPart& part : parts) {
        const auto frames = static_cast<std::size_t>(part.highestFrame - part.lowestFrame + 1);
        // Header, a spare byte, the frames, and the closing bytes: three in part 0, one in the others.
        const std::size_t size = 16 + 1 + frames * kFrameRecordBytes + (part.number == 0 ? 3 : 1);
        Bytes bytes = Patterned(size, static_cast<unsigned>(part.number));
        if (part.number == 0) {
            bytes[size - 3] = static_cast<std::uint8_t>(frameCount);
        }
        files.push_back({name + std::to_string(part.number) + ".VID", std::move(bytes)});
    }
    if (player) {
        files.push_back({"VPLAYER.BIN", Patterned(256, 7)});
    }
    if (loader) {
        files.push_back({name + ".BAS", Patterned(16 + 17 * parts.size(), 8)});
    }
    return files;
}

void WriteVideoFiles(const std::filesystem::path& folder, const std::vector<VideoFolderFile>& files)
{
    for (const VideoFolderFile& file : files) {
        WriteFile(folder / PathFromUtf8(file.name), file.bytes);
    }
}

Bytes Concatenated(const std::vector<VideoFolderFile>& files)
{
    Bytes all;
    for (const VideoFolderFile& file : files) {
        all.insert(all.end(), file.bytes.begin(), file.bytes.end());
    }
    return all;
}

} // namespace velvix::test
