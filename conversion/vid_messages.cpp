// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "vid_messages.h"

#include "file_io.h"
#include "messages.h"

namespace velvix::messages {

namespace {

const std::string kBr = kLineBreak;

Message Box(const VideoWindow& window, const std::string& text)
{
    return {window.title, text, Message::Icon::Warning, Message::Buttons::Ok};
}

std::string File(const std::filesystem::path& file) { return "Die Datei" + kBr + Utf8FromPath(file) + kBr; }

// `verb` is "Schreiben" at the start of a sentence, "schreiben" after "oder".
std::string WriteAgainAs(const char* verb, const VideoWindow& window)
{
    return verb + std::string(" Sie das Video mit Start neu und öffnen Sie dann ") + window.name + ".";
}

} // namespace

std::string WriteAgain(const VideoWindow& window) { return WriteAgainAs("Schreiben", window); }

Message RunInterrupted(const VideoWindow& window, const std::filesystem::path& folder)
{
    return Box(window, "In diesem Ordner wurde ein Lauf mit Kompression unterbrochen:" + kBr + Utf8FromPath(folder) +
                           kBr + "Seine Videodateien sind vielleicht nur halb geschrieben." + kBr + kBr +
                           "Öffnen Sie den Ordner im Hauptfenster: Dort setzen Sie den Lauf fort, oder Sie stellen "
                           "den Ordner wieder her und schreiben das Video mit Start neu. Öffnen Sie dann " +
                           window.name + " noch einmal.");
}

Message VideoMissing(const VideoWindow& window, const std::filesystem::path& part0)
{
    return Box(window, File(part0) + "fehlt: dieses Video liegt nicht (mehr) im Ordner." + kBr +
                           "Wählen Sie ein anderes Video oder " + WriteAgainAs("schreiben", window));
}

Message PartMissing(const VideoWindow& window, const std::filesystem::path& file, int frameCount, int partCount)
{
    return Box(window, File(file) + "fehlt. Teil 0 des Videos nennt " + std::to_string(frameCount) +
                           " Bilder, die auf " + std::to_string(partCount) + " Dateien verteilt sind." + kBr +
                           "Legen Sie die fehlende Datei dazu oder " + WriteAgainAs("schreiben", window));
}

Message PartUnreadable(const VideoWindow& window, const std::filesystem::path& file, const std::string& reason)
{
    return Box(window, File(file) + "kann nicht gelesen werden." + kBr + "Grund: " + reason + kBr +
                           "Prüfen Sie, ob Sie die Datei lesen dürfen, und öffnen Sie " + window.name +
                           " noch einmal.");
}

Message NotAVid(const VideoWindow& window, const std::filesystem::path& file, const std::string& what)
{
    return Box(window, File(file) + "ist kein Teil eines Videos von Velvix: " + what + "." + kBr + WriteAgain(window));
}

Message ForeignPart(const VideoWindow& window, const std::filesystem::path& file, const std::string& what)
{
    return Box(window, File(file) + "gehört nicht zu diesem Video: " + what + "." + kBr +
                           "Sie stammt wohl von einem anderen Video gleichen Namens. " + WriteAgain(window));
}

Message PartTruncated(const VideoWindow& window, const std::filesystem::path& file, std::size_t size,
                      std::size_t expected)
{
    return Box(window, File(file) + "ist unvollständig: sie hat " + std::to_string(size) +
                           " Bytes, ein Teil dieses Videos " + std::to_string(expected) + "." + kBr +
                           WriteAgain(window));
}

Message PartOversized(const VideoWindow& window, const std::filesystem::path& file, std::size_t size,
                      std::size_t expected)
{
    return Box(window, File(file) + "ist zu lang: sie hat " + std::to_string(size) +
                           " Bytes, ein Teil dieses Videos nur " + std::to_string(expected) + "." + kBr +
                           WriteAgain(window));
}

} // namespace velvix::messages
