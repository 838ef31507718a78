// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "make_frames.h"

#include "contact_sheet.h"
#include "display_pictures.h"
#include "file_io.h"
#include "frame_folder.h"
#include "output_swap.h"
#include "places.h"

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

std::optional<Message> CheckInput(const fs::path& input)
{
    std::error_code ec;
    if (!fs::exists(input, ec)) {
        return ErrorMessage(Quoted(input) + " gibt es nicht.");
    }
    if (fs::is_directory(input, ec)) {
        return std::nullopt;
    }
    const FileStart start = ReadFileStart(input, 1);
    if (start.error) {
        return ErrorMessage(Quoted(input) + " lässt sich nicht lesen: " + start.error->reason);
    }
    if (start.bytes.empty()) {
        return ErrorMessage(Quoted(input) + " ist leer.");
    }
    return std::nullopt;
}

bool Cancelled(const Job& job) { return job.cancel != nullptr && job.cancel->load(); }

Outcome Failed(std::optional<Message> failure) { return {0, std::move(failure), {}, false}; }

} // namespace

Outcome MakeFrames(const Job& job, const Progress& progress)
{
    if (auto failure = CheckInput(job.input)) {
        return Failed(failure);
    }
    if (!job.outputFolder.empty()) {
        if (auto failure = CheckOutputPlace(job.input, job.outputFolder)) {
            return Failed(failure);
        }
    }
    if (!job.preview.empty()) {
        if (auto failure = CheckPreviewPlace(job.input, job.preview, job.replace)) {
            return Failed(failure);
        }
    }
    Recovered recovered = RecoverOutput(job.outputFolder, job.preview, *job.folderOps);
    if (recovered.failure) {
        return Failed(recovered.failure);
    }
    if (!job.outputFolder.empty()) {
        if (auto failure = CheckOutputFolder(job.outputFolder, job.replace, *job.folderOps)) {
            return Failed(failure);
        }
    }
    DisplayPictures collected = ReadDisplayPictures(job, progress);
    // Before any failure: a stop can make ffmpeg fail too (Ctrl-C reaches it as well).
    if (collected.cancelled || Cancelled(job)) {
        return {0,
                Message{"Abgebrochen", "Abgebrochen. Es wurde nichts geschrieben.", Message::Icon::Information,
                        Message::Buttons::Ok},
                recovered.notes, true};
    }
    if (collected.failure) {
        return {0, collected.failure, recovered.notes, false};
    }
    NewOutput output{job.outputFolder, {}, job.preview, {}};
    for (const GreyImage& picture : collected.pictures) {
        output.frames.push_back(ToOneBit(picture, job.oneBit));
    }
    const int count = static_cast<int>(output.frames.size());
    if (!job.preview.empty()) {
        output.sheetBytes = MakeContactSheet(output.frames);
    }
    if (auto failure = WriteOutput(output, *job.folderOps)) {
        return {0, failure, recovered.notes, false};
    }
    recovered.notes.insert(recovered.notes.end(), collected.notes.begin(), collected.notes.end());
    return {count, std::nullopt, recovered.notes, false};
}

} // namespace velvix::frames
