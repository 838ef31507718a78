// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "folder_ops.h"
#include "message.h"
#include "run_settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velvix {

// The file a run with compression keeps in the frame folder while it rewrites
// it, so that whatever the moment of a kill the folder says where it stood.
inline constexpr const char* kRunRecordName = "velvix-lauf.txt";

// The steps of the rewrite, in order; the record names the one under way.
enum class RewriteStep { Backup, Transit, Delete, Rename, Video };

// Enough to put the folder back as it was, or to end the run as it would have ended.
struct RunRecord {
    RewriteStep step = RewriteStep::Backup;
    std::string backupName;              // the backup folder beside the frame folder, UTF-8
    std::vector<std::string> foundNames; // the frames as found, in order, UTF-8
    std::vector<int> keptNumbers;        // rising, counted from 1
    // The run as compression leaves it: frameTimes of the kept frames; no paths, no frame count.
    RunSettings settings;

    bool operator==(const RunRecord&) const = default;
};

std::string FormatRunRecord(const RunRecord& record);
// Empty for a damaged record, or one that names anything but frames and a folder beside.
std::optional<RunRecord> ParseRunRecord(std::string_view text);

std::optional<RunRecord> ReadRunRecord(const std::filesystem::path& frameFolder);
bool HasRunRecord(const std::filesystem::path& frameFolder);
// Replaces the record whole, so a kill leaves the previous step named.
std::optional<Message> WriteRunRecord(const std::filesystem::path& frameFolder, const RunRecord& record,
                                      FolderOps& ops);
// Also a half-written replacement a kill may have left.
std::optional<Message> RemoveRunRecord(const std::filesystem::path& frameFolder, FolderOps& ops);

} // namespace velvix
