// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
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
    std::vector<Bytes> records;
    for (int frame = 0; frame < frameCount; ++frame) {
        records.push_back(Patterned(kFrameRecordBytes, static_cast<unsigned>(frame)));
    }
    const VideoFacts facts{static_cast<std::uint8_t>(frameCount), 10, 6};
    std::vector<VideoFolderFile> files;
    const std::vector<VidPart> parts = SplitIntoParts(frameCount);
    for (const VidPart& part : parts) {
        files.push_back({PartFileName(name, part.number), BuildVidPart(part, records, facts)});
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
