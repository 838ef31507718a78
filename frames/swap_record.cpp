// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "swap_record.h"

#include "frame_folder.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFirstLine = "velvix-frames: Bilder werden ausgetauscht";
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";

bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// Remembers the first error of several steps that all go ahead.
void Keep(std::optional<std::error_code>& first, std::error_code ec)
{
    if (ec && !first) {
        first = ec;
    }
}

bool IsPng(const fs::path& file)
{
    std::string ending = Utf8FromPath(file.extension());
    for (char& c : ending) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    return ending == ".png";
}

// Whether the record names only what a swap of its folder makes: our own
// hidden names beside the folder and the sheet, frame names, a PNG sheet.
bool Trustworthy(const SwapRecord& r)
{
    const auto besideSheet = [&](const fs::path& file, const char* purpose) {
        return file.parent_path() == r.sheet.parent_path() && IsBesideName(Utf8FromPath(file.filename()), r.sheet, purpose);
    };
    bool ok = IsBesideName(r.fresh, r.folder, "neu") && (r.aside.empty() || IsBesideName(r.aside, r.folder, "alt")) &&
              r.count >= 0 && r.count <= 999 && (r.aside.empty() == r.old.empty());
    for (const std::string& name : r.old) {
        ok = ok && IsFrameName(name);
    }
    if (!r.sheet.empty()) {
        ok = ok && r.sheet.is_absolute() && IsPng(r.sheet) && besideSheet(r.sheetNew, "neu") &&
             (r.sheetOld.empty() || besideSheet(r.sheetOld, "alt"));
    }
    return ok;
}

} // namespace

std::string BesideName(const fs::path& target, const char* purpose)
{
    static std::mt19937 random{std::random_device{}()};
    std::string name = "." + Utf8FromPath(target.filename()) + "." + purpose + "-";
    for (int i = 0; i < 6; ++i) {
        name += kLetters[random() % (sizeof kLetters - 1)];
    }
    return name;
}

bool IsBesideName(const std::string& name, const fs::path& target, const char* purpose)
{
    const std::string start = "." + Utf8FromPath(target.filename()) + "." + purpose + "-";
    return name.size() == start.size() + 6 && name.compare(0, start.size(), start) == 0 &&
           name.find_first_not_of(kLetters, start.size()) == std::string::npos;
}

std::optional<IoError> WriteSwapRecord(const SwapRecord& r, const fs::path& file, FramesFolderOps& ops)
{
    std::string text = std::string(kFirstLine) + "\nneu=" + r.fresh + "\nalt=" + r.aside +
                       "\nneuer-ordner=" + (r.folderIsNew ? "ja" : "nein") + "\nanzahl=" + std::to_string(r.count) +
                       "\nvorschau=" + Utf8FromPath(r.sheet) + "\nvorschau-neu=" + Utf8FromPath(r.sheetNew) +
                       "\nvorschau-alt=" + Utf8FromPath(r.sheetOld) + "\n";
    for (const std::string& name : r.old) {
        text += "altes-bild=" + name + "\n";
    }
    return ops.writeFile(file, Bytes(text.begin(), text.end()));
}

ReadRecord ReadSwapRecord(const fs::path& folder)
{
    const fs::path file = folder / kSwapRecordName;
    if (!Exists(file)) {
        return {};
    }
    SwapRecord r;
    r.folder = folder;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    bool ok = std::getline(in, line) && line == kFirstLine;
    while (ok && std::getline(in, line)) {
        const std::size_t equals = line.find('=');
        const std::string key = line.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (key == "neu") {
            r.fresh = value;
        } else if (key == "alt") {
            r.aside = value;
        } else if (key == "neuer-ordner") {
            r.folderIsNew = value == "ja";
        } else if (key == "anzahl") {
            ok = value.size() <= 3 && value.find_first_not_of("0123456789") == std::string::npos && !value.empty();
            r.count = ok ? std::stoi(value) : 0;
        } else if (key == "vorschau") {
            r.sheet = PathFromUtf8(value);
        } else if (key == "vorschau-neu") {
            r.sheetNew = PathFromUtf8(value);
        } else if (key == "vorschau-alt") {
            r.sheetOld = PathFromUtf8(value);
        } else if (key == "altes-bild") {
            r.old.push_back(value);
        } else {
            ok = false;
        }
    }
    if (!ok || !Trustworthy(r)) {
        return {std::nullopt, ErrorMessage("Im Ordner " + Quoted(folder) + " liegt " + Quoted(kSwapRecordName) +
                                           ", ein Vermerk eines unterbrochenen Laufs, den velvix-frames nicht "
                                           "versteht. Es wurde nichts geändert.\nBitte den Ordner ansehen und den "
                                           "Vermerk entfernen, wenn die Bilder darin stimmen.")};
    }
    return {r, std::nullopt};
}

std::error_code RemoveOurFolder(const fs::path& folder, FramesFolderOps& ops)
{
    std::vector<fs::path> entries;
    std::error_code ec = ops.list(folder, entries);
    // The record last: while it is there, the folder still says what it is.
    std::stable_partition(entries.begin(), entries.end(),
                          [](const fs::path& entry) { return entry.filename() != kSwapRecordName; });
    for (const fs::path& entry : entries) {
        if (!ec) {
            ec = ops.remove(entry);
        }
    }
    return ec || !Exists(folder) ? ec : ops.remove(folder);
}

std::optional<std::error_code> UndoSwap(const SwapRecord& r, FramesFolderOps& ops)
{
    const fs::path fresh = r.folder.parent_path() / PathFromUtf8(r.fresh);
    const fs::path aside = r.folder.parent_path() / PathFromUtf8(r.aside);
    std::optional<std::error_code> first;
    if (!r.sheet.empty()) {
        if (!r.sheetOld.empty() && Exists(r.sheetOld)) {
            Keep(first, ops.rename(r.sheetOld, r.sheet));
        } else if (r.sheetOld.empty() && !Exists(r.sheetNew) && Exists(r.sheet)) {
            Keep(first, ops.remove(r.sheet)); // a new sheet where there was none
        }
    }
    if (first) {
        return first;
    }
    if (r.folderIsNew) {
        // Renamed or not, the new frames are all in one folder of ours.
        if (Exists(r.folder / kSwapRecordName)) {
            Keep(first, RemoveOurFolder(r.folder, ops));
        }
    } else {
        // New frames arrive only after every old one has left: a new frame in
        // the folder is one whose copy in `fresh` has gone.
        bool departed = true;
        for (const std::string& name : r.old) {
            departed = departed && Exists(aside / name);
        }
        for (int i = 1; departed && i <= r.count; ++i) {
            const std::string name = FrameName(i);
            if (!Exists(fresh / name) && Exists(r.folder / name)) {
                Keep(first, ops.remove(r.folder / name));
            }
        }
        for (const std::string& name : r.old) {
            if (Exists(aside / name)) {
                Keep(first, ops.rename(aside / name, r.folder / name));
            }
        }
    }
    if (first) {
        return first;
    }
    if (!r.folderIsNew) {
        if (const std::error_code ec = ops.remove(r.folder / kSwapRecordName)) {
            return ec;
        }
    }
    // Only our own copies are left; what fails here the next run finds.
    RemoveOurFolder(fresh, ops);
    if (!r.aside.empty()) {
        RemoveOurFolder(aside, ops);
    }
    if (!r.sheet.empty() && Exists(r.sheetNew)) {
        ops.remove(r.sheetNew);
    }
    return std::nullopt;
}

} // namespace velvix::frames
