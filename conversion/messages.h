// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "message.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velvix {
struct InterruptedRun;
}

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
Message RemoveFailed(const IoError& error);
Message SlotWarning();
Message PlainCut(int capacity, int frameCount);
Message CompressedCut(int capacity, int frameCount);
Message CompressionResult(int removed, const std::string& savingKilobytes);
// A step of rewriting the frame folder failed; `framesAt` holds every frame as found.
Message FolderRewriteFailed(const std::string& what, const IoError& error, const std::filesystem::path& framesAt);
Message Completion(int lastPart);

// The choices for a folder that an unfinished run left behind.
inline constexpr const char* kRestore = "Wiederherstellen";
inline constexpr const char* kFinish = "Fortsetzen";
inline constexpr const char* kLater = "Nicht jetzt";
Message UnfinishedRun(const std::filesystem::path& frameFolder, const InterruptedRun& run);
// `backupKept` and `partialRenamed` are empty when there is nothing to say of them.
Message Restored(const std::filesystem::path& frameFolder, const std::filesystem::path& backupKept,
                 const std::filesystem::path& partialRenamed);
Message BackupIncomplete(const std::filesystem::path& backup);

} // namespace velvix::messages
