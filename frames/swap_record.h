// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "error_message.h"
#include "frames_folder_ops.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix::frames {

// The record a swap of frames (and contact sheet) keeps in the frame folder
// while old and new change places: it names where each of them waits, so
// that the swap can be undone from any moment.
struct SwapRecord {
    std::filesystem::path folder;     // the frame folder
    std::string fresh;                // the folder of new frames beside it
    std::string aside;                // the folder the old frames move to; empty when there are none
    bool folderIsNew = false;         // the frame folder is the folder of new frames, renamed
    int count = 0;                    // new frames, "B001.BMP" onward
    std::vector<std::string> old;     // names of the old frames
    std::filesystem::path sheet;      // empty: no contact sheet
    std::filesystem::path sheetNew;   // the new sheet beside it
    std::filesystem::path sheetOld;   // where the old sheet moves; empty when there was none
};

// The record's name in the frame folder.
inline constexpr const char* kSwapRecordName = ".velvix-frames-tausch";

// A hidden name beside `target` that says what it holds: ".ziel.neu-x3k9q1".
std::string BesideName(const std::filesystem::path& target, const char* purpose);
bool IsBesideName(const std::string& name, const std::filesystem::path& target, const char* purpose);

std::optional<IoError> WriteSwapRecord(const SwapRecord& record, const std::filesystem::path& file,
                                       FramesFolderOps& ops);

// The record in `folder`, checked to name only what a swap of that folder
// makes; nothing when it is not there, a failure when it cannot be trusted.
struct ReadRecord {
    std::optional<SwapRecord> record;
    std::optional<Message> failure;
};
ReadRecord ReadSwapRecord(const std::filesystem::path& folder);

// Puts the old frames and sheet back and removes the new ones, from
// whatever moment the swap stopped at; the record goes last. The first
// error, if any, and the record stays for the next try.
std::optional<std::error_code> UndoSwap(const SwapRecord& record, FramesFolderOps& ops);

// Removes a folder of ours beside the frame folder and the files in it.
std::error_code RemoveOurFolder(const std::filesystem::path& folder, FramesFolderOps& ops);

} // namespace velvix::frames
