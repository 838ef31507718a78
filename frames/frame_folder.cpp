// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_folder.h"

#include "file_io.h"
#include "frame_discovery.h"
#include "system_reason.h"

#include <algorithm>

namespace velvix::frames {

namespace fs = std::filesystem;

bool IsFrameName(const std::string& name)
{
    if (name.size() != 8 || (name[0] != 'B' && name[0] != 'b')) {
        return false;
    }
    if (!std::all_of(name.begin() + 1, name.begin() + 4, [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    std::string ending = name.substr(4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return ending == ".bmp";
}

std::string FrameName(int number)
{
    std::string name = FrameFileName(number);
    name.replace(name.size() - 3, 3, "BMP");
    return name;
}

std::string Quoted(const fs::path& path) { return "„" + Utf8FromPath(path) + "“"; }

std::string LowerReason(std::error_code error)
{
    std::string reason = SystemReason(error);
    if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z') {
        reason[0] = static_cast<char>(reason[0] + 32);
    }
    return reason;
}

FolderFrames FramesIn(const fs::path& folder, FramesFolderOps& ops)
{
    FolderFrames result;
    std::vector<fs::path> entries;
    if (const std::error_code ec = ops.list(folder, entries)) {
        result.failure = ErrorMessage("Der Ordner " + Quoted(folder) + " lässt sich nicht lesen: " + LowerReason(ec) +
                                      ". Es wurde nichts geschrieben.\nBitte die Rechte des Ordners prüfen oder "
                                      "einen anderen ZIELORDNER wählen.");
        return result;
    }
    for (const fs::path& entry : entries) {
        if (IsFrameName(Utf8FromPath(entry.filename()))) {
            result.frames.push_back(entry);
        }
    }
    std::sort(result.frames.begin(), result.frames.end());
    return result;
}

std::optional<Message> CheckOutputFolder(const fs::path& folder, bool replace, FramesFolderOps& ops)
{
    std::error_code ec;
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
        return ErrorMessage(Quoted(folder) + " ist kein Ordner.");
    }
    const FolderFrames old = FramesIn(folder, ops);
    if (old.failure) {
        return old.failure;
    }
    if (!old.frames.empty() && !replace) {
        const std::string lying = old.frames.size() == 1 ? "liegt schon ein Bild"
                                                         : "liegen schon " + std::to_string(old.frames.size()) + " Bilder";
        return ErrorMessage("Im Ordner " + Quoted(folder) + " " + lying + " (" +
                            Utf8FromPath(old.frames.front().filename()) +
                            " …). Alte und neue Bilder würden sich mischen; es wurde nichts geschrieben.\n"
                            "Mit --ersetzen werden die alten Bilder gelöscht und ersetzt.");
    }
    return std::nullopt;
}

} // namespace velvix::frames
