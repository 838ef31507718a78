// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "js_values.h"
#include "line_timing.h"
#include "run_folder.h"
#include "sendable_file.h"
#include "transfer_messages.h"
#include "typing_plan.h"
#include "video_files.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

// Übertragen for the page: the files of the last run's video in their order,
// the lines the user types on the PC-1600, and each file's bytes right before
// it goes. The page only moves the bytes through Web Serial.
namespace velvix::web {

using emscripten::val;

namespace {

std::string Duration(std::uintmax_t bytes, int baud)
{
    return transfer::FormatDuration(transfer::LineSeconds(bytes, baud));
}

val BaudRates()
{
    val rates = val::array();
    for (const int rate : transfer::kBaudRates) {
        rates.call<void>("push", rate);
    }
    return rates;
}

// {files: [{name, size, duration}], problem, setup, steps: [{file, line}], unneeded, startNote, startLines, total}
val PlanTransfer(const std::string& name, bool ramDisk, int baud)
{
    const transfer::VideoListing listing = transfer::ListVideoFiles(kFrameFolder, name);
    const std::vector<transfer::VideoFile> files = listing.problem ? std::vector<transfer::VideoFile>{} : listing.files;
    const transfer::TypingPlan plan =
        transfer::PlanTyping(files, ramDisk ? transfer::Way::RamDisk : transfer::Way::Memory, baud);

    val result = val::object();
    val listed = val::array();
    for (const transfer::VideoFile& file : files) {
        val entry = val::object();
        entry.set("name", file.name);
        entry.set("size", transfer::GroupDigits(file.bytes) + " Bytes");
        entry.set("duration", Duration(file.bytes, baud));
        listed.call<void>("push", entry);
    }
    result.set("files", listed);
    result.set("problem", listing.problem ? Box(*listing.problem) : val::null());
    result.set("setup", Strings(plan.setup));
    val steps = val::array();
    std::uintmax_t bytes = 0;
    for (const transfer::TypedStep& step : plan.steps) {
        val entry = val::object();
        entry.set("file", static_cast<int>(step.file));
        entry.set("line", step.line);
        steps.call<void>("push", entry);
        bytes += files[step.file].bytes;
    }
    result.set("steps", steps);
    val unneeded = val::array();
    for (const std::size_t file : plan.unneeded) {
        unneeded.call<void>("push", static_cast<int>(file));
    }
    result.set("unneeded", unneeded);
    result.set("startNote", plan.startNote);
    result.set("startLines", Strings(plan.startLines));
    result.set("total", "Zusammen " + transfer::GroupDigits(bytes) + " Bytes, bei " + std::to_string(baud) +
                            " Baud ca. " + Duration(bytes, baud));
    return result;
}

// {bytes} of the listed file `index`, or {problem} when it is no longer as listed.
val ReadForSending(const std::string& name, int index)
{
    const transfer::VideoListing listing = transfer::ListVideoFiles(kFrameFolder, name);
    val result = val::object();
    if (listing.problem || index < 0 || static_cast<std::size_t>(index) >= listing.files.size()) {
        result.set("problem", Box(listing.problem.value_or(transfer::messages::FileGone(
                                  kFrameFolder, name, std::make_error_code(std::errc::no_such_file_or_directory)))));
        return result;
    }
    const transfer::SendableFile file =
        transfer::ReadForSending(kFrameFolder, listing.files[static_cast<std::size_t>(index)]);
    if (file.problem) {
        result.set("problem", Box(*file.problem));
    } else {
        result.set("bytes", Copy(file.bytes));
    }
    return result;
}

// The boxes of a file that does not arrive; the browser names no port, so the box names the cable's.
val CancelledBox(const std::string& file) { return Box(transfer::messages::Cancelled(file)); }

// `sent` counts what the browser took, not what has left the computer.
val SendFailedBox(const std::string& file, double sent, double total, const std::string& reason)
{
    return Box(transfer::messages::SendFailed(file, static_cast<std::uintmax_t>(sent),
                                              static_cast<std::uintmax_t>(total), false, reason));
}

// The question after the PC-1600 has held the line long; its OK button reads `ok`.
val HeldTooLongBox(const std::string& file, int seconds)
{
    val box = Box(transfer::messages::HeldTooLong(file, seconds));
    box.set("ok", std::string(transfer::messages::kWaitOn));
    return box;
}

val PortBox(const std::string& reason)
{
    return Box(transfer::messages::PortUnavailable(transfer::messages::PortProblem::Other, "des Kabels", reason));
}

} // namespace

EMSCRIPTEN_BINDINGS(transfer)
{
    emscripten::function("baudRates", &BaudRates);
    emscripten::function("planTransfer", &PlanTransfer);
    emscripten::function("readForSending", &ReadForSending);
    emscripten::function("cancelledBox", &CancelledBox);
    emscripten::function("sendFailedBox", &SendFailedBox);
    emscripten::function("portBox", &PortBox);
    emscripten::function("heldTooLongBox", &HeldTooLongBox);
}

} // namespace velvix::web
