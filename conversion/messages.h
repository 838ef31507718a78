#pragma once

#include "file_io.h"
#include "message.h"

#include <filesystem>
#include <string>
#include <vector>

// Every box the conversion shows, with its German text.
namespace velvix::messages {

inline constexpr const char* kLineBreak = "\r\n";

Message EmptyName();
Message UnusableName();
Message FolderMissing();
Message FirstFrameMissing();
Message FirstFrameSize();
Message TooManyFrames();
Message AmbiguousFrame(const std::vector<std::filesystem::path>& files);
Message RejectedFrame();
Message ReadFailed(const IoError& error);
Message WriteFailed(const IoError& error);
Message SlotWarning();
Message PlainCut(int capacity, int frameCount);
Message CompressedCut(int capacity, int frameCount);
Message CompressionResult(int removed, const std::string& savingKilobytes);
// A step of rewriting the frame folder failed; `framesAt` holds every frame as found.
Message FolderRewriteFailed(const std::string& what, const IoError& error, const std::filesystem::path& framesAt);
Message Completion(int lastPart);

} // namespace velvix::messages
