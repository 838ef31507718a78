#include "messages.h"

namespace velvix::messages {

namespace {

Message Warning(std::string title, std::string text)
{
    return {std::move(title), std::move(text), Message::Icon::Warning, Message::Buttons::Ok};
}

Message Notice(std::string title, std::string text)
{
    return {std::move(title), std::move(text), Message::Icon::Information, Message::Buttons::OkCancel};
}

std::string Br() { return kLineBreak; }

} // namespace

Message EmptyName() { return Warning("Fehler", "Filename Eingeben !"); }

Message UnusableName() { return Warning("Fehler", "Filename enthält ungültige Zeichen !"); }

Message FolderMissing() { return Warning("Laufzeitfehler", "Keine BMP Files gefunden!"); }

Message FirstFrameMissing()
{
    return Warning("Laufzeitfehler", "Keine BMP Files gefunden oder falscher Name." + Br() +
                                         "Richtige Namensbezeichnung (B001,B002...) !");
}

Message FirstFrameSize() { return Warning("Laufzeitfehler", "Falsches BMP Format, Bilder zu groß !"); }

Message TooManyFrames()
{
    return Warning("Laufzeitfehler",
                   "Zu viele Bilder im Ordner !" + Br() + "Es können nur max. 299 verarbeitet werden.");
}

Message AmbiguousFrame(const std::vector<std::filesystem::path>& files)
{
    std::string text = "Mehrere Dateien tragen denselben Bildnamen:";
    for (const auto& file : files) {
        text += Br() + Utf8FromPath(file);
    }
    return Warning("Laufzeitfehler", text + Br() + "Bitte nur eine davon im Ordner lassen.");
}

Message RejectedFrame() { return Warning("Laufzeitfehler", "Falsches BMP Format!"); }

Message ReadFailed(const IoError& error)
{
    return Warning("Laufzeitfehler", "Die Datei kann nicht gelesen werden:" + Br() + Utf8FromPath(error.path) + Br() +
                                         "Grund: " + error.reason);
}

Message WriteFailed(const IoError& error)
{
    return Warning("Laufzeitfehler", "Die Datei kann nicht geschrieben werden:" + Br() + Utf8FromPath(error.path) +
                                         Br() + "Grund: " + error.reason);
}

Message SlotWarning()
{
    return Warning("Warnung", "Nur bei einer 32KB Erweiterung in Slot1," + Br() +
                                  "wird eine 32KB Erweiterung in Slot2 unterstützt.");
}

Message PlainCut(int capacity, int frameCount)
{
    return Warning("Warnung", "Es werden nur " + std::to_string(capacity) + " von " + std::to_string(frameCount) +
                                  " BMP Files verarbeitet !");
}

Message CompressedCut(int capacity, int frameCount)
{
    return Warning("Warnung", "Es werden nur " + std::to_string(capacity) + " von neu kompremierten " +
                                  std::to_string(frameCount) + " BMP Files verarbeitet !");
}

Message CompressionResult(int removed, const std::string& savingKilobytes)
{
    return Notice("Kompression", std::to_string(removed) + " Identische Bilder gelöscht !" + Br() +
                                     "Reduzierter Speicherverbrauch : " + savingKilobytes + "KB");
}

Message FolderRewriteFailed(const std::string& what, const IoError& error, const std::filesystem::path& framesAt)
{
    return Warning("Laufzeitfehler", what + ":" + Br() + Utf8FromPath(error.path) + Br() + "Grund: " + error.reason +
                                         Br() + "Alle Bilder liegen unverändert in:" + Br() + Utf8FromPath(framesAt));
}

Message Completion(int lastPart)
{
    return Notice("Fertig", lastPart == 0 ? "Das Videofile wurde erfolgreich erstellt"
                                          : "Die Videofiles wurde erfolgreich erstellt");
}

} // namespace velvix::messages
