#include "frame_folder_rewrite.h"

#include "file_io.h"
#include "frame_discovery.h"
#include "messages.h"
#include "system_reason.h"

namespace velvix {

namespace fs = std::filesystem;

namespace {

// "B001_.bmp" for frame 1: a kept frame under its new number until the old files are gone.
fs::path TransitFile(const fs::path& folder, int number)
{
    fs::path name = fs::path(FrameFileName(number)).stem();
    name += "_.bmp";
    return folder / name;
}

} // namespace

fs::path FreeBackupFolder(const fs::path& frameFolder)
{
    fs::path folder = fs::absolute(frameFolder).lexically_normal();
    if (folder.filename().empty() && folder.has_relative_path()) {
        folder = folder.parent_path(); // given with a trailing separator
    }
    const fs::path base = folder.parent_path() / PathFromUtf8(Utf8FromPath(folder.filename()) + "_org");
    fs::path candidate = base;
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(candidate, ec)); ++n) {
        candidate = base;
        candidate += std::to_string(n);
    }
    return candidate;
}

RewrittenFolder RewriteFrameFolder(const fs::path& frameFolder, const std::vector<fs::path>& found,
                                   const std::vector<fs::path>& kept, FolderOps& ops)
{
    const fs::path backup = FreeBackupFolder(frameFolder);
    auto failed = [](const std::string& what, const fs::path& path, std::error_code ec, const fs::path& framesAt) {
        return RewrittenFolder{{}, messages::FolderRewriteFailed(what, IoError{path, SystemReason(ec)}, framesAt)};
    };

    if (auto ec = ops.createFolder(backup)) {
        return failed("Der Sicherungsordner kann nicht angelegt werden", backup, ec, frameFolder);
    }
    for (const fs::path& frame : found) {
        if (auto ec = ops.copy(frame, backup / frame.filename())) {
            std::error_code ignored;
            fs::remove_all(backup, ignored); // made by this run and incomplete
            return failed("Das Bild kann nicht gesichert werden", frame, ec, frameFolder);
        }
    }

    for (std::size_t m = 0; m < kept.size(); ++m) {
        const fs::path transit = TransitFile(frameFolder, static_cast<int>(m) + 1);
        if (auto ec = ops.copy(kept[m], transit)) {
            // Every frame is still in the folder: nothing of this run stays, the
            // half-written copy included, but whatever of the user's was in the way does.
            for (std::size_t made = 0; made < m; ++made) {
                ops.remove(TransitFile(frameFolder, static_cast<int>(made) + 1));
            }
            std::error_code ignored;
            if (fs::is_regular_file(fs::symlink_status(transit, ignored))) {
                ops.remove(transit);
            }
            fs::remove_all(backup, ignored);
            return failed("Das Bild kann nicht kopiert werden", transit, ec, frameFolder);
        }
    }

    for (const fs::path& frame : found) {
        if (auto ec = ops.remove(frame)) {
            return failed("Das Bild kann nicht gelöscht werden", frame, ec, backup);
        }
    }

    RewrittenFolder result;
    for (std::size_t m = 0; m < kept.size(); ++m) {
        const int number = static_cast<int>(m) + 1;
        const fs::path target = frameFolder / FrameFileName(number);
        if (auto ec = ops.rename(TransitFile(frameFolder, number), target)) {
            return failed("Das Bild kann nicht umbenannt werden", TransitFile(frameFolder, number), ec, backup);
        }
        result.framePaths.push_back(target);
    }
    return result;
}

} // namespace velvix
