#pragma once

#include "folder_ops.h"
#include "message.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace velvix {

// "<folder>_org" beside the frame folder, or the first free of "_org2", "_org3", ...:
// an earlier backup holds the true originals and is never written into.
std::filesystem::path FreeBackupFolder(const std::filesystem::path& frameFolder);

struct RewrittenFolder {
    std::vector<std::filesystem::path> framePaths; // the kept frames under their new names
    std::optional<Message> failure;
};

// Leaves the kept frames in the folder as B001.bmp onward. Every frame stays
// available whatever fails: all frames are backed up first, the kept ones
// then copied to transit names, and only then are the old files deleted and
// the transit files renamed.
RewrittenFolder RewriteFrameFolder(const std::filesystem::path& frameFolder,
                                   const std::vector<std::filesystem::path>& found,
                                   const std::vector<std::filesystem::path>& kept, FolderOps& ops);

} // namespace velvix
