#include "preview_messages.h"

#include "file_io.h"
#include "messages.h"

namespace velvix::messages {

namespace {

const std::string kBr = kLineBreak;
const std::string kWriteAgain = "Schreiben Sie das Video mit Start neu und öffnen Sie dann die Vorschau.";

Message Box(const std::string& text) { return {"Vorschau", text, Message::Icon::Warning, Message::Buttons::Ok}; }

std::string File(const std::filesystem::path& file) { return "Die Datei" + kBr + Utf8FromPath(file) + kBr; }

} // namespace

Message NoVideo(const std::filesystem::path& folder)
{
    return Box("Im Ordner" + kBr + Utf8FromPath(folder) + kBr + "liegt kein Video (keine Datei NAME0.VID)." + kBr +
               "Wählen Sie links den Ordner, in den Velvix das Video geschrieben hat, oder starten Sie zuerst "
               "eine Umwandlung.");
}

Message VideoMissing(const std::filesystem::path& part0)
{
    return Box(File(part0) + "fehlt: dieses Video liegt nicht (mehr) im Ordner." + kBr +
               "Wählen Sie ein anderes Video oder " + kWriteAgain);
}

Message PartMissing(const std::filesystem::path& file, int frameCount, int partCount)
{
    return Box(File(file) + "fehlt. Teil 0 des Videos nennt " + std::to_string(frameCount) + " Bilder, die auf " +
               std::to_string(partCount) + " Dateien verteilt sind." + kBr + "Legen Sie die fehlende Datei dazu oder " +
               kWriteAgain);
}

Message PartUnreadable(const std::filesystem::path& file, const std::string& reason)
{
    return Box(File(file) + "kann nicht gelesen werden." + kBr + "Grund: " + reason + kBr +
               "Prüfen Sie, ob Sie die Datei lesen dürfen, und öffnen Sie die Vorschau noch einmal.");
}

Message NotAVid(const std::filesystem::path& file, const std::string& what)
{
    return Box(File(file) + "ist kein Teil eines Videos von Velvix: " + what + "." + kBr + kWriteAgain);
}

Message ForeignPart(const std::filesystem::path& file, const std::string& what)
{
    return Box(File(file) + "gehört nicht zu diesem Video: " + what + "." + kBr +
               "Sie stammt wohl von einem anderen Video gleichen Namens. " + kWriteAgain);
}

Message PartTruncated(const std::filesystem::path& file, std::size_t size, std::size_t expected)
{
    return Box(File(file) + "ist unvollständig: sie hat " + std::to_string(size) + " Bytes, ein Teil dieses Videos " +
               std::to_string(expected) + "." + kBr + kWriteAgain);
}

Message PartOversized(const std::filesystem::path& file, std::size_t size, std::size_t expected)
{
    return Box(File(file) + "ist zu lang: sie hat " + std::to_string(size) + " Bytes, ein Teil dieses Videos nur " +
               std::to_string(expected) + "." + kBr + kWriteAgain);
}

Message PlayerFailed(const std::string& videoName, const std::string& fault)
{
    return Box("Der Videoplayer hat das Video \"" + videoName +
               "\" im nachgebildeten PC-1600 nicht zu Ende gespielt: " + fault + "." + kBr +
               "Die Dateien sind wohl beschädigt. " + kWriteAgain);
}

} // namespace velvix::messages
