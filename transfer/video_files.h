#pragma once

#include "message.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix::transfer {

enum class FileKind { Part, Player, Loader };

struct VideoFile {
    FileKind kind = FileKind::Part;
    std::string name; // as in the folder and as the PC-1600 calls it, UTF-8
    std::uintmax_t bytes = 0;

    bool operator==(const VideoFile&) const = default;
};

// A file larger than this is no file the PC-1600 loads: its header counts at most
// 65535 bytes, and a part carries one closing byte beyond them.
inline constexpr std::uintmax_t kMaxFileBytes = 16 + 65535 + 1;

// The names of the videos in the folder: every NAME with a NAME0.VID, sorted.
std::vector<std::string> FindVideoNames(const std::filesystem::path& folder, std::error_code& error);

struct VideoListing {
    std::vector<VideoFile> files;   // in the order they must go
    std::optional<Message> problem; // the video cannot be sent as it is
};

// The files of the video `name` in the order they go: the parts NAME0.VID
// onward, VPLAYER.BIN, NAME.BAS, those present. Part 0 tells how many parts
// the video has, so parts left over from a longer earlier video stay out.
// Only sizes and part 0 are read.
VideoListing ListVideoFiles(const std::filesystem::path& folder, const std::string& name);

} // namespace velvix::transfer
