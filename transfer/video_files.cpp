#include "video_files.h"

#include "file_io.h"
#include "transfer_messages.h"
#include "vid_writer.h"

namespace velvix::transfer {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxParts = 4;
constexpr std::size_t kHeaderBytes = 16;

std::string PartName(const std::string& name, int part) { return name + std::to_string(part) + ".VID"; }

// How many parts part 0 says the video has; nullopt when it does not look like a part 0 Velvix wrote:
// header, one spare byte, the frames of part 0, then frame count, play time and rate.
std::optional<int> PartCount(const fs::path& part0)
{
    const FileStart file = ReadFileStart(part0, kMaxFileBytes + 1);
    const std::size_t size = file.bytes.size();
    if (file.error || size < kHeaderBytes + 4) {
        return std::nullopt;
    }
    const int frameCount = file.bytes[size - 3];
    if (frameCount < 1 || frameCount > kMaxVideoFrames) {
        return std::nullopt;
    }
    const std::vector<VidPart> parts = SplitIntoParts(frameCount);
    const auto part0Frames = static_cast<std::size_t>(parts.front().highestFrame);
    if (size != kHeaderBytes + 1 + part0Frames * kFrameRecordBytes + 3) {
        return std::nullopt;
    }
    return static_cast<int>(parts.size());
}

// The size of a regular file; nullopt when there is none of that name.
std::optional<std::uintmax_t> RegularFileSize(const fs::path& path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? std::nullopt : std::optional(size);
}

} // namespace

VideoListing ListVideoFiles(const fs::path& folder, const std::string& name)
{
    VideoListing listing;
    const std::optional<int> counted = PartCount(folder / PathFromUtf8(PartName(name, 0)));
    for (int part = 0; part < counted.value_or(kMaxParts); ++part) {
        const std::string file = PartName(name, part);
        const std::optional<std::uintmax_t> size = RegularFileSize(folder / PathFromUtf8(file));
        if (!size) {
            if (counted || part == 0) {
                listing.problem = messages::PartMissing(folder, file, counted.value_or(1));
                return listing;
            }
            break;
        }
        listing.files.push_back({FileKind::Part, file, *size});
    }
    const std::pair<FileKind, std::string> extras[] = {{FileKind::Player, "VPLAYER.BIN"},
                                                       {FileKind::Loader, name + ".BAS"}};
    for (const auto& [kind, file] : extras) {
        if (const std::optional<std::uintmax_t> size = RegularFileSize(folder / PathFromUtf8(file))) {
            listing.files.push_back({kind, file, *size});
        }
    }
    for (const VideoFile& file : listing.files) {
        if (file.bytes > kMaxFileBytes) {
            listing.problem = messages::TooLarge(file.name, file.bytes);
            break;
        }
    }
    return listing;
}

} // namespace velvix::transfer
