// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "output_swap.h"

#include "frame_folder.h"
#include "swap_record.h"

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

// Creates `folder` and the folders on the way to it, noting in `created`
// each one made, so that a failed write removes them again.
std::optional<Message> CreateFolders(const fs::path& folder, std::vector<fs::path>& created)
{
    std::error_code ec;
    for (fs::path missing = folder; !missing.empty() && !fs::exists(missing, ec); missing = missing.parent_path()) {
        created.push_back(missing);
        if (missing == missing.parent_path()) {
            break;
        }
    }
    fs::create_directories(folder, ec);
    if (ec) {
        return ErrorMessage("Der Ordner " + Quoted(folder) + " lässt sich nicht anlegen: " + LowerReason(ec) +
                            ". Es wurde nichts geschrieben.");
    }
    return std::nullopt;
}

// Only empty ones go, so nothing of anyone else's is lost.
void RemoveFolders(std::vector<fs::path>& created)
{
    for (const fs::path& folder : created) {
        std::error_code ignored;
        fs::remove(folder, ignored);
    }
    created.clear();
}

// A new folder beside `folder`, hidden, with a name no one else uses; it gets
// the rights of any new folder, as it may become the frame folder itself.
std::error_code CreateBeside(const fs::path& folder, const char* purpose, FramesFolderOps& ops, std::string& name)
{
    std::error_code ec;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = BesideName(folder, purpose);
        ec = ops.createFolder(folder.parent_path() / PathFromUtf8(name));
        if (ec != std::errc::file_exists) {
            return ec;
        }
    }
    return ec;
}

fs::path Resolved(const fs::path& path)
{
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return resolved.has_filename() ? resolved : resolved.parent_path(); // "bilder/"
}

bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

// What is left as it was when a write fails.
std::string Unchanged(bool oldFrames, bool oldSheet)
{
    const char* what = oldFrames && oldSheet ? "; die alten Bilder und die alte Vorschau sind unverändert."
                       : oldFrames           ? "; die alten Bilder sind unverändert."
                       : oldSheet            ? "; die alte Vorschau ist unverändert."
                                             : ".";
    return std::string("Es wurde nichts geschrieben") + what;
}

// Moves the old frames aside and the new ones in, then the sheet.
std::error_code Swap(const SwapRecord& r, FramesFolderOps& ops)
{
    const fs::path fresh = r.folder.parent_path() / PathFromUtf8(r.fresh);
    std::error_code ec;
    if (r.folderIsNew) {
        ec = ops.rename(fresh, r.folder);
    } else {
        for (const std::string& name : r.old) {
            if (!ec) {
                ec = ops.rename(r.folder / name, r.folder.parent_path() / PathFromUtf8(r.aside) / name);
            }
        }
        for (int i = 1; i <= r.count && !ec; ++i) {
            ec = ops.rename(fresh / FrameName(i), r.folder / FrameName(i));
        }
    }
    if (!ec && !r.sheetOld.empty()) {
        ec = ops.rename(r.sheet, r.sheetOld);
    }
    if (!ec && !r.sheet.empty()) {
        ec = ops.rename(r.sheetNew, r.sheet);
    }
    return ec;
}

} // namespace

OutputWriter::OutputWriter(const fs::path& folder, const fs::path& sheet, FramesFolderOps& ops)
    : folder_(folder), sheet_(sheet), ops_(ops)
{
}

std::optional<Message> OutputWriter::start()
{
    oldSheet_ = !sheet_.empty() && Exists(sheet_);
    unchanged_ = Unchanged(false, oldSheet_);
    if (folder_.empty()) {
        return std::nullopt;
    }
    r_.folder = Resolved(folder_);
    r_.folderIsNew = !Exists(r_.folder);
    const FolderFrames old = FramesIn(r_.folder, ops_);
    if (old.failure) {
        return old.failure;
    }
    for (const fs::path& frame : old.frames) {
        r_.old.push_back(Utf8FromPath(frame.filename()));
    }
    unchanged_ = Unchanged(!r_.old.empty(), oldSheet_);
    auto failure = CreateFolders(r_.folder.parent_path(), created_);
    if (!failure) {
        if (auto ec = CreateBeside(r_.folder, "neu", ops_, r_.fresh)) {
            r_.fresh.clear();
            failure = ErrorMessage("Neben " + Quoted(folder_) +
                                   " lässt sich kein Ordner für die neuen Bilder anlegen: " + LowerReason(ec) + ".\n" +
                                   unchanged_);
        }
    }
    if (failure) {
        RemoveFolders(created_);
    } else {
        frames_.emplace(ops_);
    }
    return failure;
}

std::optional<Message> OutputWriter::add(const FramePixels& frame)
{
    if (folder_.empty()) {
        return std::nullopt;
    }
    if (!frames_->push(r_.folder.parent_path() / PathFromUtf8(r_.fresh) / FrameName(r_.count + 1),
                       MakeFrameFile(frame))) {
        return writeFailure(*frames_->wait());
    }
    ++r_.count;
    return std::nullopt;
}

std::optional<Message> OutputWriter::writeFailure(const IoError& error)
{
    discard();
    return ErrorMessage(Quoted(folder_ / error.path.filename()) + " lässt sich nicht schreiben: " + error.reason +
                        ".\n" + unchanged_);
}

void OutputWriter::discard()
{
    if (frames_) {
        frames_->drop();
    }
    if (!r_.fresh.empty()) {
        RemoveOurFolder(r_.folder.parent_path() / PathFromUtf8(r_.fresh), ops_);
    }
    RemoveFolders(created_);
}

std::optional<Message> OutputWriter::finish(const Bytes& sheetBytes)
{
    if (folder_.empty()) {
        const fs::path sheet = Resolved(sheet_);
        const fs::path fresh = sheet.parent_path() / PathFromUtf8(BesideName(sheet, "neu"));
        std::optional<IoError> error = ops_.writeFile(fresh, sheetBytes);
        if (!error) {
            if (const std::error_code ec = ops_.rename(fresh, sheet)) {
                error = IoError{sheet_, LowerReason(ec)};
                ops_.remove(fresh);
            }
        }
        if (error) {
            return ErrorMessage("Die Vorschau " + Quoted(sheet_) + " lässt sich nicht schreiben: " + error->reason +
                                ".\n" + unchanged_);
        }
        return std::nullopt;
    }
    if (auto error = frames_->wait()) {
        return writeFailure(*error);
    }
    SwapRecord& r = r_;
    const fs::path parent = r.folder.parent_path();
    const fs::path fresh = parent / PathFromUtf8(r.fresh);
    std::optional<Message> failure;
    if (!sheet_.empty()) {
        r.sheet = Resolved(sheet_);
        r.sheetNew = r.sheet.parent_path() / PathFromUtf8(BesideName(r.sheet, "neu"));
        if (oldSheet_) {
            r.sheetOld = r.sheet.parent_path() / PathFromUtf8(BesideName(r.sheet, "alt"));
        }
        if (auto error = ops_.writeFile(r.sheetNew, sheetBytes)) {
            failure = ErrorMessage("Die Vorschau " + Quoted(sheet_) + " lässt sich nicht schreiben: " + error->reason +
                                   ".\n" + unchanged_);
        }
    }
    if (!failure && !r.old.empty()) {
        if (auto ec = CreateBeside(r.folder, "alt", ops_, r.aside)) {
            failure = ErrorMessage("Neben " + Quoted(folder_) +
                                   " lässt sich kein Ordner für die alten Bilder anlegen: " + LowerReason(ec) + ".\n" +
                                   unchanged_);
        }
    }
    if (!failure) {
        // Written whole among the new frames; in an old folder it arrives by one rename.
        std::optional<IoError> error = WriteSwapRecord(r, fresh / kSwapRecordName, ops_);
        if (!error && !r.folderIsNew) {
            if (const std::error_code ec = ops_.rename(fresh / kSwapRecordName, r.folder / kSwapRecordName)) {
                error = IoError{r.folder, LowerReason(ec)};
            }
        }
        if (error) {
            failure = ErrorMessage("In " + Quoted(r.folderIsNew ? parent : folder_) +
                                   " lässt sich nicht schreiben: " + error->reason + ".\n" + unchanged_);
        }
    }
    if (!failure) {
        std::error_code ec = Swap(r, ops_);
        if (!ec) {
            // The moment the new set counts: without the record nothing is undone.
            ec = ops_.remove(r.folder / kSwapRecordName);
        }
        if (ec) {
            failure = ErrorMessage("Die neuen Bilder lassen sich nicht an ihren Platz bringen: " + LowerReason(ec) +
                                   ".\n" + unchanged_);
            if (auto undoError = UndoSwap(r, ops_)) {
                return ErrorMessage("Die neuen Bilder lassen sich nicht an ihren Platz bringen: " + LowerReason(ec) +
                                    ", und die alten lassen sich nicht ganz zurücklegen: " + LowerReason(*undoError) +
                                    ".\nDie alten Bilder liegen in " + Quoted(parent / PathFromUtf8(r.aside)) +
                                    "; der nächste Lauf von velvix-frames in diesen Ordner legt sie zurück.");
            }
        }
    }
    // Only our own copies are left: new ones not used, or old ones replaced.
    RemoveOurFolder(fresh, ops_);
    if (!r.aside.empty()) {
        RemoveOurFolder(parent / PathFromUtf8(r.aside), ops_);
    }
    for (const fs::path& file : {r.sheetNew, r.sheetOld}) {
        if (!file.empty() && Exists(file)) {
            ops_.remove(file);
        }
    }
    if (failure) {
        RemoveFolders(created_);
    }
    return failure;
}

namespace {

// Hidden leftovers of runs beside `target` that no record speaks for: new
// files that never took their place, or old ones already replaced. Removed
// when they hold only what a run writes; named either way.
void RemoveLeftovers(const fs::path& target, bool folder, FramesFolderOps& ops, Recovered& recovered)
{
    std::vector<fs::path> entries;
    if (ops.list(target.parent_path(), entries)) {
        return; // nothing to find where nothing can be listed; the run itself will say so
    }
    for (const fs::path& entry : entries) {
        std::string name = Utf8FromPath(entry.filename());
        if (!folder && name.ends_with(".velvix-tmp")) {
            name.resize(name.size() - std::string_view(".velvix-tmp").size()); // a sheet cut off while written
        }
        if (!IsBesideName(name, target, "neu") && !IsBesideName(name, target, "alt")) {
            continue;
        }
        std::vector<fs::path> inside;
        bool ours = !folder || !ops.list(entry, inside);
        for (const fs::path& file : inside) {
            const std::string inner = Utf8FromPath(file.filename());
            ours = ours && (IsFrameName(inner) || inner == kSwapRecordName ||
                            inner.ends_with(".velvix-tmp"));
        }
        if (ours && !(folder ? RemoveOurFolder(entry, ops) : ops.remove(entry))) {
            recovered.notes.push_back("Reste eines unterbrochenen Laufs entfernt: " + Quoted(entry) + ".");
        } else {
            recovered.notes.push_back(Quoted(entry) + " ist der Rest eines unterbrochenen Laufs und bleibt liegen; "
                                      "bitte selbst ansehen und entfernen.");
        }
    }
}

} // namespace

Recovered RecoverOutput(const fs::path& output, const fs::path& sheet, FramesFolderOps& ops)
{
    Recovered recovered;
    if (!output.empty()) {
        const fs::path folder = Resolved(output);
        ReadRecord read = ReadSwapRecord(folder);
        if (read.failure) {
            recovered.failure = read.failure;
            return recovered;
        }
        if (read.record) {
            if (auto ec = UndoSwap(*read.record, ops)) {
                recovered.failure = ErrorMessage(
                    "Ein früherer Lauf wurde beim Austausch der Bilder in " + Quoted(output) +
                    " unterbrochen, und die alten Bilder lassen sich nicht zurücklegen: " + LowerReason(*ec) +
                    ". Es wurde nichts geschrieben.\nSie liegen in " +
                    Quoted(folder.parent_path() / PathFromUtf8(read.record->aside)) + "; bitte die Rechte prüfen.");
                return recovered;
            }
            recovered.notes.push_back("Ein früherer Lauf wurde beim Austausch der Bilder in " + Quoted(output) +
                                      " unterbrochen; die alten Bilder" +
                                      (read.record->sheetOld.empty() ? "" : " und die alte Vorschau") +
                                      " sind wieder an ihrem Platz.");
        }
        RemoveLeftovers(folder, true, ops, recovered);
    }
    if (!sheet.empty()) {
        RemoveLeftovers(Resolved(sheet), false, ops, recovered);
    }
    return recovered;
}

} // namespace velvix::frames
