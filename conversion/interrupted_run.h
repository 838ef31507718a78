// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "folder_ops.h"
#include "message.h"
#include "run_record.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace velvix {

// What a run with compression that did not end left in a frame folder: its
// record, or without one (a damaged record, an older Velvix) the leftovers.
struct InterruptedRun {
    enum class Backup { None, Partial, Complete };

    bool recordFile = false;
    std::optional<RunRecord> record; // when the record can be read
    std::vector<std::filesystem::path> transitFiles;
    std::filesystem::path backup; // the record's, else the newest beside the folder
    Backup backupState = Backup::None;

    explicit operator bool() const
    {
        return recordFile || !transitFiles.empty() || (!record && backupState == Backup::Partial);
    }
    // Whether frames may have been deleted, so that only the backup holds them all.
    bool needsBackup() const { return record ? record->step >= RewriteStep::Delete : !transitFiles.empty(); }
};

InterruptedRun FindInterruptedRun(const std::filesystem::path& frameFolder);

// Puts the folder back as it was before the run: the frames from the backup
// where the run may have deleted any, without the run's transit files,
// renumbered frames, unfinished video and record. The backup stays; one that
// is not needed and not whole is renamed to say so. Returns the box that says
// what was done or why nothing was.
Message RestoreFrameFolder(const std::filesystem::path& frameFolder, const InterruptedRun& run, FolderOps& ops);

} // namespace velvix
