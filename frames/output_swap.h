// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "error_message.h"
#include "file_io.h"
#include "file_queue.h"
#include "frame_writer.h"
#include "frames_folder_ops.h"
#include "swap_record.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix::frames {

// What one run writes: frames into a folder, a contact sheet, or both. Each
// frame is written beside its place as soon as it is there ("B001.BMP"
// onward into a hidden folder beside the frame folder, on a thread of its
// own), so the writing goes on while the input is still being read; only
// finish() puts the new frames and sheet in place of the old ones, together,
// once every file is whole.
// Other files in the folder stay. Any failure, and a run given up with
// discard(), leaves the old files and none of the new, and says so; a folder
// that did not exist before is not created. While old and new change places,
// a record in the frame folder names both, so that after a kill
// RecoverOutput can put the old ones back.
class OutputWriter {
public:
    // `folder` empty: no frames; `sheet` empty: no contact sheet.
    OutputWriter(const std::filesystem::path& folder, const std::filesystem::path& sheet, FramesFolderOps& ops);

    // Makes the hidden folder for the new frames; the other calls only follow a start without failure.
    std::optional<Message> start();
    // Queues the next frame to be written beside; when a write has failed,
    // all written so far goes and the failure comes back.
    std::optional<Message> add(const FramePixels& frame);
    // Writes the sheet beside, then lets the new files take the place of the old ones.
    std::optional<Message> finish(const Bytes& sheetBytes);
    // Removes what was written beside, for a run that fails elsewhere.
    void discard();

private:
    std::optional<Message> writeFailure(const IoError& error);

    std::filesystem::path folder_; // as given, for messages
    std::filesystem::path sheet_;  // as given, for messages
    FramesFolderOps& ops_;
    SwapRecord r_;
    bool oldSheet_ = false;
    std::string unchanged_;                      // what a failure leaves as it was
    std::vector<std::filesystem::path> created_; // folders created on the way to the output, deepest first
    std::optional<FileQueue> frames_;            // writes the frames, once the folder for them is there
};

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
