#pragma once

#include "file_io.h"
#include "message.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

// The names of the videos in a folder: every NAME with a file NAME0.VID, sorted.
std::vector<std::string> FindVideos(const std::filesystem::path& folder);

// The part files of one written video, each checked against part 0, so that
// BLOAD of every one of them succeeds and the player finds what it expects.
struct VideoParts {
    std::vector<Bytes> files; // part 0 first
    int frameCount = 0;
    int framesPerSecond = 0;
};

struct VideoPartsResult {
    std::optional<VideoParts> parts;
    std::optional<Message> failure; // names the file and what is wrong with it
};

VideoPartsResult ReadVideoParts(const std::filesystem::path& folder, const std::string& name);

// What a part file with `frames` frame records measures.
std::size_t VidPartFileBytes(int part, int frames);

} // namespace velvix
