// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "ffmpeg_run.h"

#include "file_io.h"
#include "system_reason.h"

#include <cerrno>
#include <sstream>

namespace velvix::frames {

namespace fs = std::filesystem;

std::vector<std::string> FfmpegStart(const std::string& program)
{
    return {program, "-nostdin", "-hide_banner", "-nostats", "-v", "level+info"};
}

std::string InputName(const fs::path& file)
{
    std::error_code ignored;
    return "file:" + Utf8FromPath(fs::absolute(file, ignored));
}

std::vector<std::string> PictureOutput()
{
    return {"-map", "0:v:0", "-f", "image2pipe", "-c:v", "pgm", "-pix_fmt", "gray", "pipe:1"};
}

std::string ErrorLines(const std::string& log)
{
    std::string errors;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        for (const char* level : {"[error] ", "[fatal] "}) {
            if (const std::size_t at = line.find(level); at != std::string::npos) {
                errors += (errors.empty() ? "" : "; ") + line.substr(at + std::string(level).size());
            }
        }
    }
    return errors;
}

Message NotStarted(const std::string& program, int error)
{
    if (error == ENOENT) {
        return ErrorMessage("Das Programm „" + program +
                            "“ wurde nicht gefunden. Es gehört zu ffmpeg; bitte ffmpeg installieren (Debian: "
                            "apt-get install ffmpeg).");
    }
    return ErrorMessage("Das Programm „" + program + "“ lässt sich nicht starten: " + SystemReasonFromErrno(error) +
                        ". Bitte prüfen, ob ffmpeg richtig installiert ist.");
}

Message Unreadable(const fs::path& file, InputKind kind, const ChildProcess& decoder)
{
    const std::string said = ErrorLines(decoder.messages());
    const bool film = kind == InputKind::Film;
    return ErrorMessage("„" + Utf8FromPath(file) + "“ lässt sich nicht als " + (film ? "Film" : "Bild") +
                        " lesen: ffmpeg kennt das Format der Datei nicht, oder die Datei ist beschädigt.\n" +
                        (film ? "Bitte einen anderen Film wählen." : "Bitte das Bild ersetzen oder aus dem Ordner nehmen.") +
                        (said.empty() ? "" : "\nDetail von ffmpeg: " + said));
}

} // namespace velvix::frames
