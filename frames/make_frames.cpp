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
    OutputWriter output(job.outputFolder, job.preview, *job.folderOps);
    if (auto failure = output.start()) {
        return {0, failure, recovered.notes, false};
    }
    // Each frame is written as soon as it is there, while ffmpeg reads on.
    std::vector<FramePixels> frames;
    std::optional<Message> writeFailure;
    DisplayRead read = ReadDisplayPictures(job, progress, [&](GreyImage&& picture) {
        frames.push_back(ToOneBit(picture, job.oneBit));
        writeFailure = output.add(frames.back());
        return !writeFailure;
    });
    // Before any failure: a stop can make ffmpeg fail too (Ctrl-C reaches it as well).
    if (read.cancelled || Cancelled(job)) {
        output.discard();
        return {0,
                Message{"Abgebrochen", "Abgebrochen. Es wurde nichts geschrieben.", Message::Icon::Information,
                        Message::Buttons::Ok},
                recovered.notes, true};
    }
    if (auto failure = writeFailure ? writeFailure : read.failure) {
        output.discard();
        return {0, failure, recovered.notes, false};
    }
    if (auto failure = output.finish(job.preview.empty() ? Bytes{} : MakeContactSheet(frames))) {
        return {0, failure, recovered.notes, false};
    }
    recovered.notes.insert(recovered.notes.end(), read.notes.begin(), read.notes.end());
    return {static_cast<int>(frames.size()), std::nullopt, recovered.notes, false};
}

} // namespace velvix::frames
