// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "error_message.h"
#include "file_io.h"
#include "frame_writer.h"
#include "frames_folder_ops.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix::frames {

// What one run writes: frames into a folder, a contact sheet, or both.
struct NewOutput {
    std::filesystem::path folder; // empty: no frames
    std::vector<FramePixels> frames;
    std::filesystem::path sheet; // empty: no contact sheet
    Bytes sheetBytes;
};

// Writes all of it beside its place first ("B001.BMP" onward into a hidden
// folder beside the frame folder); only when every file is whole do the new
// frames and sheet take the place of the old ones, together. Other files in
// the folder stay. Any failure leaves the old files and none of the new, and
// says so; a folder that did not exist before is not created. While old and
// new change places, a record in the frame folder names both, so that after
// a kill RecoverOutput can put the old ones back.
std::optional<Message> WriteOutput(const NewOutput& output, FramesFolderOps& ops);

struct Recovered {
    std::vector<std::string> notes; // what was found and put right, one line each
    std::optional<Message> failure;
};

// Puts right what an interrupted run (a kill, a power cut) left at `folder`
// and `sheet`: a swap half done goes back to the old frames and sheet, and
// the hidden leftovers of a run (new files not yet in place, old ones
// already replaced) are removed and named.
Recovered RecoverOutput(const std::filesystem::path& folder, const std::filesystem::path& sheet,
                        FramesFolderOps& ops);

} // namespace velvix::frames
