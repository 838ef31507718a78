// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "interrupted_run.h"

#include "file_io.h"
#include "frame_discovery.h"
#include "frame_folder_rewrite.h"
#include "messages.h"
#include "system_reason.h"

#include <algorithm>

namespace velvix {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLongestFrame = 64 * 1024; // far above a frame's 704 bytes
constexpr int kMostParts = 4;

bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

std::vector<fs::path> RegularFiles(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && !it->is_symlink(ec)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// "B001_.bmp" in any letter case.
bool IsTransitName(const std::string& name)
{
    return name.size() == 9 && name[4] == '_' && FrameNumberOf(name.substr(0, 4) + name.substr(5)) > 0;
}

std::uintmax_t SizeOf(const fs::path& file)
{
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

// The record names every frame the backup must hold; while the old frames
// are still in the folder, each copy must have the size of its original.
InterruptedRun::Backup RecordedBackup(const fs::path& frameFolder, const RunRecord& record, const fs::path& backup)
{
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(backup, ec))) {
        return InterruptedRun::Backup::None;
    }
    const bool originalsHere = record.step <= RewriteStep::Transit;
    for (const std::string& name : record.foundNames) {
        const std::uintmax_t size = SizeOf(backup / PathFromUtf8(name));
        if (size == 0 || (originalsHere && size != SizeOf(frameFolder / PathFromUtf8(name)))) {
            return InterruptedRun::Backup::Partial;
        }
    }
    return InterruptedRun::Backup::Complete;
}

// Without a record: a backup is partial when it holds an empty file, or when
// it is a copy of the first frames of this folder, cut short. A backup of
// other frames, an older run's, is left alone.
InterruptedRun::Backup LeftBackup(const fs::path& frameFolder, const fs::path& backup)
{
    std::error_code ec;
    if (backup.empty() || !fs::is_directory(fs::symlink_status(backup, ec))) {
        return InterruptedRun::Backup::None;
    }
    const std::vector<fs::path> copies = RegularFiles(backup);
    bool cutShort = copies.size() < DiscoverFrames(frameFolder).framePaths.size();
    bool copyOfThisFolder = true;
    for (const fs::path& copy : copies) {
        const Bytes copied = ReadFileStart(copy, kLongestFrame).bytes;
        if (copied.empty()) {
            return InterruptedRun::Backup::Partial;
        }
        const Bytes original = ReadFileStart(frameFolder / copy.filename(), kLongestFrame).bytes;
        copyOfThisFolder = copyOfThisFolder && copied.size() <= original.size() &&
                           std::equal(copied.begin(), copied.end(), original.begin());
        cutShort = cutShort || copied.size() < original.size();
    }
    return copyOfThisFolder && cutShort ? InterruptedRun::Backup::Partial : InterruptedRun::Backup::Complete;
}

std::vector<std::string> BackedUpNames(const InterruptedRun& run)
{
    if (run.record) {
        return run.record->foundNames;
    }
    std::vector<std::string> names;
    for (const fs::path& file : RegularFiles(run.backup)) {
        names.push_back(Utf8FromPath(file.filename()));
    }
    return names;
}

std::optional<Message> RemoveIfThere(const fs::path& file, FolderOps& ops)
{
    if (!Exists(file)) {
        return std::nullopt;
    }
    if (auto ec = ops.remove(file)) {
        return messages::RemoveFailed(IoError{file, SystemReason(ec)});
    }
    return std::nullopt;
}

// Every frame from the backup under its own name. A renumbered frame whose
// name differs from its original's only in letter case goes, where the file
// system tells the two apart.
std::optional<Message> CopyBack(const fs::path& frameFolder, const InterruptedRun& run, FolderOps& ops)
{
    const std::vector<std::string> names = BackedUpNames(run);
    for (const std::string& name : names) {
        const fs::path original = frameFolder / PathFromUtf8(name);
        if (auto ec = ops.copy(run.backup / PathFromUtf8(name), original)) {
            return messages::FolderRewriteFailed("Das Bild kann nicht zurückkopiert werden",
                                                 IoError{original, SystemReason(ec)}, run.backup);
        }
    }
    for (const std::string& name : names) {
        const int number = FrameNumberOf(name);
        const fs::path renumbered = frameFolder / FrameFileName(number);
        std::error_code ec;
        if (number > 0 && name != FrameFileName(number) && Exists(renumbered) &&
            !fs::equivalent(renumbered, frameFolder / PathFromUtf8(name), ec)) {
            if (auto failure = RemoveIfThere(renumbered, ops)) {
                return failure;
            }
        }
    }
    return std::nullopt;
}

// The video the run began to write: its parts may mix with an older video's.
std::optional<Message> RemoveUnfinishedVideo(const fs::path& frameFolder, const std::string& name, FolderOps& ops)
{
    for (int part = 0; part < kMostParts; ++part) {
        const fs::path file = frameFolder / PathFromUtf8(name + std::to_string(part) + ".VID");
        fs::path temporary = file;
        temporary += ".velvix-tmp";
        for (const fs::path& leftover : {temporary, file}) {
            if (auto failure = RemoveIfThere(leftover, ops)) {
                return failure;
            }
        }
    }
    return std::nullopt;
}

} // namespace

InterruptedRun FindInterruptedRun(const fs::path& frameFolder)
{
    InterruptedRun run;
    run.recordFile = HasRunRecord(frameFolder);
    if (run.recordFile) {
        run.record = ReadRunRecord(frameFolder);
    }
    for (const fs::path& file : RegularFiles(frameFolder)) {
        if (IsTransitName(Utf8FromPath(file.filename()))) {
            run.transitFiles.push_back(file);
        }
    }
    if (run.record) {
        run.backup = BesideFolder(frameFolder, run.record->backupName);
        run.backupState = RecordedBackup(frameFolder, *run.record, run.backup);
    } else {
        run.backup = NewestBackupFolder(frameFolder);
        run.backupState = LeftBackup(frameFolder, run.backup);
    }
    return run;
}

Message RestoreFrameFolder(const fs::path& frameFolder, const InterruptedRun& run, FolderOps& ops)
{
    const bool needed = run.needsBackup();
    if (needed && run.backupState != InterruptedRun::Backup::Complete) {
        return messages::BackupIncomplete(run.backup);
    }
    if (needed) {
        if (auto failure = CopyBack(frameFolder, run, ops)) {
            return *failure;
        }
    }
    if (run.record && run.record->step == RewriteStep::Video) {
        if (auto failure = RemoveUnfinishedVideo(frameFolder, run.record->settings.outputName, ops)) {
            return *failure;
        }
    }
    for (const fs::path& transit : run.transitFiles) {
        if (auto failure = RemoveIfThere(transit, ops)) {
            return *failure;
        }
    }

    fs::path kept = run.backupState == InterruptedRun::Backup::None ? fs::path() : run.backup;
    fs::path renamed;
    if (!needed && run.backupState == InterruptedRun::Backup::Partial) {
        fs::path name = run.backup;
        name += PathFromUtf8("_unvollständig");
        renamed = FreeName(name);
        if (auto ec = ops.rename(run.backup, renamed)) {
            return messages::FolderRewriteFailed("Die unvollständige Sicherung kann nicht umbenannt werden",
                                                 IoError{run.backup, SystemReason(ec)}, frameFolder);
        }
        kept.clear();
    }
    if (auto failure = RemoveRunRecord(frameFolder, ops)) {
        return *failure;
    }
    return messages::Restored(frameFolder, kept, renamed);
}

} // namespace velvix
