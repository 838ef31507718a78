// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "folder_ops.h"
#include "message.h"
#include "run_record.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

// The first of `base`, `base`2, `base`3, ... that does not exist.
std::filesystem::path FreeName(const std::filesystem::path& base);

// "<folder>_org" beside the frame folder, or the first free of "_org2", "_org3", ...:
// an earlier backup holds the true originals and is never written into.
std::filesystem::path FreeBackupFolder(const std::filesystem::path& frameFolder);
// The last of those that exists, the latest run's backup; empty when there is none.
std::filesystem::path NewestBackupFolder(const std::filesystem::path& frameFolder);
// The folder of that name beside the frame folder.
std::filesystem::path BesideFolder(const std::filesystem::path& frameFolder, const std::string& name);

// "B001_.bmp" for frame 1: a kept frame under its new number until the old files are gone.
std::filesystem::path TransitFile(const std::filesystem::path& frameFolder, int number);

struct RewrittenFolder {
    std::vector<std::filesystem::path> framePaths; // the kept frames under their new names
    std::optional<Message> failure;
};

// Leaves the kept frames in the folder as B001.bmp onward, going on from the
// record's step and naming each step in the record before it begins; a run
// that was killed goes on where it stopped. Every frame stays available
// whatever fails: all frames are backed up first, the kept ones then copied
// to transit names, and only then are the old files deleted and the transit
// files renamed. A failure before the deletions leaves the folder as found,
// without backup or record.
RewrittenFolder RewriteFrameFolder(const std::filesystem::path& frameFolder, RunRecord& record, FolderOps& ops);

} // namespace velvix
