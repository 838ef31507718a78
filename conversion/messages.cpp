// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "messages.h"

#include "interrupted_run.h"

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

Message RemoveFailed(const IoError& error)
{
    return Warning("Laufzeitfehler", "Die Datei kann nicht gelöscht werden:" + Br() + Utf8FromPath(error.path) + Br() +
                                         "Grund: " + error.reason);
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

Message UnfinishedRun(const std::filesystem::path& frameFolder, const InterruptedRun& run)
{
    const std::string backup = Utf8FromPath(run.backup);
    const bool partialBackup = !run.needsBackup() && run.backupState == InterruptedRun::Backup::Partial;
    Message box = Warning("Unterbrochener Lauf", "");
    box.buttons = Message::Buttons::Choice;
    box.choices = {kRestore};
    std::string& text = box.text;
    if (run.record) {
        const std::string& name = run.record->settings.outputName;
        text = "Ein Lauf mit Kompression in diesem Ordner wurde nicht beendet:" + Br() + Utf8FromPath(frameFolder) +
               Br() + Br();
        switch (run.record->step) {
        case RewriteStep::Backup:
            text += "Er brach beim Sichern der Bilder ab.";
            break;
        case RewriteStep::Transit:
            text += "Er brach beim Kopieren der behaltenen Bilder ab.";
            break;
        case RewriteStep::Delete:
            text += "Er brach beim Löschen der alten Bilder ab.";
            break;
        case RewriteStep::Rename:
            text += "Er brach beim Umbenennen der behaltenen Bilder ab.";
            break;
        case RewriteStep::Video:
            text += "Die Bilder sind neu nummeriert, aber das Video " + name + " ist nicht fertig geschrieben.";
            break;
        }
        text += Br() + (run.needsBackup() ? "Alle Bilder liegen in der Sicherung:" + Br() + backup
                                          : "Alle Bilder liegen noch unverändert im Ordner.");
        text += Br() + Br() + "Wiederherstellen: Der Ordner wird wieder, wie er vor dem Lauf war.";
        if (run.record->step == RewriteStep::Video) {
            text += " Die Videodateien " + name + "0.VID usw. dieses Laufs werden gelöscht.";
        }
        if (partialBackup) {
            text += " Die unvollständige Sicherung wird umbenannt, nicht gelöscht.";
        }
        text += Br() + "Fortsetzen: Der Lauf wird beendet und schreibt das Video " + name + " aus " +
                std::to_string(run.record->keptNumbers.size()) + " Bildern.";
        box.choices.push_back(kFinish);
    } else {
        text = "In diesem Ordner liegen Reste eines Laufs mit Kompression, der nicht beendet wurde:" + Br() +
               Utf8FromPath(frameFolder) + Br();
        if (run.recordFile) {
            text += Br() + "Die Datei " + kRunRecordName + " ist beschädigt.";
        }
        if (!run.transitFiles.empty()) {
            text += Br() + std::to_string(run.transitFiles.size()) + " Zwischendateien wie " +
                    Utf8FromPath(run.transitFiles.front().filename());
        }
        if (run.backupState == InterruptedRun::Backup::Partial) {
            text += Br() + "Eine unvollständige Sicherung:" + Br() + backup;
        }
        text += Br() + Br() + "Die Anzeigezeiten der Bilder sind nicht bekannt, der Lauf kann nicht fortgesetzt werden." +
                Br() + Br();
        if (run.needsBackup()) {
            text += "Wiederherstellen: Der Ordner wird aus der Sicherung wieder, wie er vor dem Lauf war:" + Br() + backup;
        } else {
            text += "Wiederherstellen: Die Bilder im Ordner bleiben, wie sie sind; die Reste des Laufs werden entfernt.";
            if (partialBackup) {
                text += " Die unvollständige Sicherung wird umbenannt, nicht gelöscht.";
            }
        }
    }
    text += Br() + "Nicht jetzt: Nichts wird verändert; ein neuer Lauf beginnt in diesem Ordner erst danach.";
    box.choices.push_back(kLater);
    return box;
}

Message Restored(const std::filesystem::path& frameFolder, const std::filesystem::path& backupKept,
                 const std::filesystem::path& partialRenamed)
{
    std::string text = "Der Ordner ist wieder, wie er vor dem Lauf war:" + Br() + Utf8FromPath(frameFolder);
    if (!backupKept.empty()) {
        text += Br() + Br() + "Die Sicherung bleibt erhalten:" + Br() + Utf8FromPath(backupKept);
    }
    if (!partialRenamed.empty()) {
        text += Br() + Br() + "Die unvollständige Sicherung wird nicht gebraucht und heißt jetzt:" + Br() +
                Utf8FromPath(partialRenamed) + Br() + "Sie kann gelöscht werden.";
    }
    return {"Wiederhergestellt", text, Message::Icon::Information, Message::Buttons::Ok};
}

Message BackupIncomplete(const std::filesystem::path& backup)
{
    return Warning("Laufzeitfehler", "Der Ordner kann nicht wiederhergestellt werden, denn die Sicherung fehlt oder "
                                     "ist unvollständig:" +
                                         Br() + Utf8FromPath(backup) + Br() +
                                         "Es wurde nichts verändert. Bitte die Bilder und die Zwischendateien (B001_.bmp "
                                         "usw.) von Hand prüfen.");
}

} // namespace velvix::messages
