#pragma once

#include "message.h"

#include <filesystem>
#include <string>

// The boxes of the preview, with their German text.
namespace velvix::messages {

Message NoVideo(const std::filesystem::path& folder);
Message VideoMissing(const std::filesystem::path& part0);
Message PartMissing(const std::filesystem::path& file, int frameCount, int partCount);
Message PartUnreadable(const std::filesystem::path& file, const std::string& reason);
Message NotAVid(const std::filesystem::path& file, const std::string& what);
Message ForeignPart(const std::filesystem::path& file, const std::string& what);
Message PartTruncated(const std::filesystem::path& file, std::size_t size, std::size_t expected);
Message PartOversized(const std::filesystem::path& file, std::size_t size, std::size_t expected);
Message PlayerFailed(const std::string& videoName, const std::string& fault);

} // namespace velvix::messages
