// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_folder_rewrite.h"

#include "file_io.h"
#include "frame_discovery.h"
#include "messages.h"
#include "system_reason.h"

namespace velvix {

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// Absolute, without a trailing separator, so that its parent is the folder it lies in.
fs::path Plain(const fs::path& frameFolder)
{
    fs::path folder = fs::absolute(frameFolder).lexically_normal();
    if (folder.filename().empty() && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    return folder;
}

fs::path BackupBase(const fs::path& frameFolder)
{
    return BesideFolder(frameFolder, Utf8FromPath(Plain(frameFolder).filename()) + "_org");
}

} // namespace

fs::path FreeName(const fs::path& base)
{
    fs::path candidate = base;
    for (int n = 2; Exists(candidate); ++n) {
        candidate = base;
        candidate += std::to_string(n);
    }
    return candidate;
}

fs::path FreeBackupFolder(const fs::path& frameFolder) { return FreeName(BackupBase(frameFolder)); }

fs::path NewestBackupFolder(const fs::path& frameFolder)
{
    const fs::path base = BackupBase(frameFolder);
    fs::path newest;
    fs::path candidate = base;
    for (int n = 2; Exists(candidate); ++n) {
        newest = candidate;
        candidate = base;
        candidate += std::to_string(n);
    }
    return newest;
}

fs::path BesideFolder(const fs::path& frameFolder, const std::string& name)
{
    return Plain(frameFolder).parent_path() / PathFromUtf8(name);
}

fs::path TransitFile(const fs::path& frameFolder, int number)
{
    fs::path name = fs::path(FrameFileName(number)).stem();
    name += "_.bmp";
    return frameFolder / name;
}

RewrittenFolder RewriteFrameFolder(const fs::path& frameFolder, RunRecord& record, FolderOps& ops)
{
    const fs::path backup = BesideFolder(frameFolder, record.backupName);
    const int kept = static_cast<int>(record.keptNumbers.size());
    auto found = [&](int number) { return frameFolder / PathFromUtf8(record.foundNames[number - 1]); };
    auto stop = [](const Message& message) { return RewrittenFolder{{}, message}; };
    auto failed = [&](const std::string& what, const fs::path& path, std::error_code ec, const fs::path& framesAt) {
        return stop(messages::FolderRewriteFailed(what, IoError{path, SystemReason(ec)}, framesAt));
    };
    // Every frame is still in the folder: nothing of this run stays, but
    // whatever of the user's was in the way does. The record goes once the
    // transit files are gone and before the backup, so that a kill during
    // this leaves either the record or a backup that shows itself partial.
    auto undo = [&] {
        std::error_code ignored;
        for (int m = 1; m <= kept; ++m) {
            if (fs::is_regular_file(fs::symlink_status(TransitFile(frameFolder, m), ignored))) {
                ops.remove(TransitFile(frameFolder, m));
            }
        }
        RemoveRunRecord(frameFolder, ops);
        fs::remove_all(backup, ignored);
    };
    auto advance = [&](RewriteStep next) {
        record.step = next;
        return WriteRunRecord(frameFolder, record, ops);
    };

    if (record.step == RewriteStep::Backup) {
        if (auto failure = WriteRunRecord(frameFolder, record, ops)) {
            return stop(*failure);
        }
        // A resumed run finds the folder it made.
        std::error_code ignored;
        const std::error_code made = ops.createFolder(backup);
        if (made && !(made == std::errc::file_exists && fs::is_directory(fs::symlink_status(backup, ignored)))) {
            RemoveRunRecord(frameFolder, ops);
            return failed("Der Sicherungsordner kann nicht angelegt werden", backup, made, frameFolder);
        }
        for (int n = 1; n <= static_cast<int>(record.foundNames.size()); ++n) {
            if (auto ec = ops.copy(found(n), backup / found(n).filename())) {
                undo();
                return failed("Das Bild kann nicht gesichert werden", found(n), ec, frameFolder);
            }
        }
        if (auto failure = advance(RewriteStep::Transit)) {
            undo();
            return stop(*failure);
        }
    }

    if (record.step == RewriteStep::Transit) {
        for (int m = 1; m <= kept; ++m) {
            if (auto ec = ops.copy(found(record.keptNumbers[m - 1]), TransitFile(frameFolder, m))) {
                undo();
                return failed("Das Bild kann nicht kopiert werden", TransitFile(frameFolder, m), ec, frameFolder);
            }
        }
        if (auto failure = advance(RewriteStep::Delete)) {
            undo();
            return stop(*failure);
        }
    }

    if (record.step == RewriteStep::Delete) {
        for (int n = 1; n <= static_cast<int>(record.foundNames.size()); ++n) {
            if (!Exists(found(n))) {
                continue; // deleted before a kill
            }
            if (auto ec = ops.remove(found(n))) {
                return failed("Das Bild kann nicht gelöscht werden", found(n), ec, backup);
            }
        }
        if (auto failure = advance(RewriteStep::Rename)) {
            return stop(*failure);
        }
    }

    RewrittenFolder result;
    for (int m = 1; m <= kept; ++m) {
        const fs::path target = frameFolder / FrameFileName(m);
        const fs::path transit = TransitFile(frameFolder, m);
        const bool renamed = !Exists(transit) && Exists(target); // before a kill
        if (record.step == RewriteStep::Rename && !renamed) {
            if (auto ec = ops.rename(transit, target)) {
                return failed("Das Bild kann nicht umbenannt werden", transit, ec, backup);
            }
        }
        result.framePaths.push_back(target);
    }
    if (record.step == RewriteStep::Rename) {
        if (auto failure = advance(RewriteStep::Video)) {
            return stop(*failure);
        }
    }
    return result;
}

} // namespace velvix
