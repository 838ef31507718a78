// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "gif_messages.h"

#include "file_io.h"
#include "system_reason.h"

#include <cerrno>

namespace velvix::gif::messages {

namespace {

constexpr const char* kBr = "\r\n";
constexpr const char* kTitle = "Als GIF speichern";

// A tool's own words, often English, come last on a line of their own.
Message Failed(const std::filesystem::path& target, const std::string& why, const std::string& detail = {})
{
    return {kTitle,
            "Das GIF konnte nicht gespeichert werden:" + std::string(kBr) + Utf8FromPath(target) + kBr + why + kBr +
                "Es wurde nichts gespeichert." + detail,
            Message::Icon::Warning, Message::Buttons::Ok};
}

std::string Reason(const std::string& reason) { return kBr + ("Grund: " + reason); }

} // namespace

Message Written(const std::filesystem::path& target)
{
    return {kTitle, "Das GIF ist gespeichert:" + std::string(kBr) + Utf8FromPath(target), Message::Icon::Information,
            Message::Buttons::Ok};
}

Message NoTemporaryRoom(const std::filesystem::path& target, const std::string& reason)
{
    return Failed(target,
                  "Die Bilder lassen sich nicht im temporären Ordner ablegen. Schaffen Sie dort Platz und versuchen "
                  "Sie es noch einmal." +
                      Reason(reason));
}

Message FolderNotWritable(const std::filesystem::path& target, const std::string& reason)
{
    return Failed(target,
                  "In diesem Ordner lässt sich keine Datei anlegen. Wählen Sie einen anderen Ordner." + Reason(reason));
}

Message FfmpegNotStarted(const std::filesystem::path& target, int error)
{
    const std::string why = "ffmpeg ließ sich nicht starten. Installieren Sie ffmpeg (./velvix.sh tut es) und "
                            "versuchen Sie es noch einmal.";
    return Failed(target, error == ENOENT ? why : why + Reason(SystemReasonFromErrno(error)));
}

Message FfmpegFailed(const std::filesystem::path& target, const std::string& said)
{
    return Failed(target,
                  "ffmpeg brach ab. Versuchen Sie es noch einmal; bricht es wieder ab, installieren Sie ffmpeg neu.",
                  said.empty() ? std::string() : kBr + ("ffmpeg meldet: " + said));
}

Message NotRenamed(const std::filesystem::path& target, std::error_code error)
{
    return Failed(target, "Grund: " + SystemReason(error) + kBr + "Wählen Sie einen anderen Ordner oder Namen.");
}

} // namespace velvix::gif::messages
