// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "transfer_messages.h"

#include "file_io.h"
#include "line_timing.h"
#include "system_reason.h"

namespace velvix::transfer::messages {

namespace {

constexpr const char* kBr = "\r\n";

Message Warning(std::string text)
{
    return {kTransferWindow.title, std::move(text), Message::Icon::Warning, Message::Buttons::Ok};
}

std::string Bytes(std::uintmax_t count) { return GroupDigits(count) + " Bytes"; }

// The system's own words, often English, follow the German explanation on a line of their own.
std::string SystemSaid(const std::string& detail)
{
    return detail.empty() ? std::string() : kBr + ("Meldung des Systems: " + detail);
}

constexpr const char* kMakeAnew = "Erzeugen Sie das Video mit „Start“ neu und öffnen Sie „Übertragen“ noch einmal.";

} // namespace

Message NoVideo(const std::filesystem::path& folder)
{
    return Warning(std::string("Im Ordner liegt kein Video (keine Datei NAME0.VID):") + kBr + Utf8FromPath(folder) +
                   kBr + "Wählen Sie den Ordner des Videos oder erzeugen Sie es zuerst mit „Start“.");
}

Message TooLarge(const std::string& file, std::uintmax_t bytes)
{
    return Warning(file + " ist mit " + Bytes(bytes) + " zu groß für den PC-1600; so schreibt Velvix keine Datei." +
                   kBr + kMakeAnew);
}

Message FileGone(const std::filesystem::path& folder, const std::string& file, std::error_code error)
{
    return Warning(file + " ist nicht mehr zu lesen:" + kBr + Utf8FromPath(folder) + kBr +
                   "Grund: " + SystemReason(error) + kBr + "Die Liste wird neu gelesen; beginnen Sie von vorn.");
}

Message FileChanged(const std::string& file, std::uintmax_t listed, std::uintmax_t now)
{
    return Warning(file + " hat sich geändert, seit die Liste gezeigt wurde (" + Bytes(listed) + ", jetzt " +
                   Bytes(now) + ")." + kBr + "Die Liste wird neu gelesen; beginnen Sie von vorn.");
}

Message NoPortChosen()
{
    return Warning("Es ist keine Schnittstelle gewählt." + std::string(kBr) +
                   "Wählen Sie die Schnittstelle des Kabels in der Liste oder tippen Sie sie ein "
                   "(z. B. /dev/ttyUSB0 oder COM3).");
}

Message PortUnavailable(PortProblem problem, const std::string& port, const std::string& detail)
{
    const std::string opening = "Die Schnittstelle " + port + " lässt sich nicht öffnen." + kBr;
    switch (problem) {
    case PortProblem::Missing:
        return Warning(opening + "Es gibt sie nicht. Stecken Sie das Kabel (den USB-Adapter) ein und wählen Sie "
                                 "die Schnittstelle in der Liste.");
    case PortProblem::InUse:
        return Warning(opening + "Ein anderes Programm benutzt sie schon. Beenden Sie es (etwa ein "
                                 "Terminalprogramm) und senden Sie noch einmal.");
    case PortProblem::NoPermission:
        return Warning(opening + "Keine Berechtigung. Unter Linux muss Ihr Benutzer zur Gruppe „dialout“ gehören: " +
                       "sudo usermod -aG dialout $USER, danach ab- und wieder anmelden.");
    case PortProblem::Other:
        break;
    }
    return Warning(opening + "Prüfen Sie das Kabel und die gewählte Schnittstelle." + SystemSaid(detail));
}

Message SendFailed(const std::string& file, std::uintmax_t sent, std::uintmax_t total, bool exact,
                   const std::string& detail)
{
    // Which error a pulled adapter gives depends on its driver, so they all read alike.
    return Warning("Beim Senden von " + file + " ist die Verbindung abgebrochen, nach " + (exact ? "" : "etwa ") +
                   GroupDigits(sent) + " von " + Bytes(total) + "." + kBr +
                   "Vermutlich ist das Kabel oder der USB-Adapter abgezogen." + kBr +
                   "Prüfen Sie das Kabel, drücken Sie auf dem PC-1600 BREAK und senden Sie die Datei noch einmal." +
                   SystemSaid(detail));
}

Message HeldTooLong(const std::string& file, int seconds)
{
    return {kTransferWindow.title,
            "Der PC-1600 hält die Übertragung von " + file + " seit " + std::to_string(seconds) +
                " Sekunden an (XOFF)." + kBr +
                "Läuft auf dem PC-1600 der Befehl zum Empfangen? Sie können weiter warten oder abbrechen.",
            Message::Icon::Warning, Message::Buttons::OkCancel};
}

Message Cancelled(const std::string& file)
{
    return {kTransferWindow.title,
            "Die Übertragung von " + file + " ist abgebrochen." + std::string(kBr) +
                "Drücken Sie auf dem PC-1600 BREAK; danach können Sie die Datei noch einmal senden.",
            Message::Icon::Information, Message::Buttons::Ok};
}

} // namespace velvix::transfer::messages
