// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "guide_text.h"

#include "program_name.h"

#include <array>

namespace velvix::ui {

namespace {

// One entry per line; blanks at the end of a line belong to the text.
constexpr std::array kGuideLines{
    "Leitfaden um Videos für den PC-1600 zu erstellen.",
    "",
    "",
    "Benötigt:",
    "",
    "Einen Sharp PC-1600. Mit oder ohne Speichererweiterung.",
    "Ein Datenübertragungskabel vom PC/Mac zum PC-1600.",
    "Dieses Programm.",
    "Ein Videoprogramm, das auf dem PC/Mac Filme in Einzelbilder wandelt.",
    "",
    "Bei dem Videoprogramm muss die Möglichkeit bestehen,",
    "die Bildsequenzen in 4,5,6 oder 8 Bilder pro Sekunde auszugeben.",
    "Die Standardausgabe für Videos auf dem PC-1600 ist auf 6 Bilder",
    "pro Sekunde eingestellt.",
    "Sequenzen mit 4 oder 5 Bilder pro Sekunden sind für langsamere Szenen,",
    "bei längerer Videospielzeit.",
    "Sequenzen mit 8 Bilder pro Sekunden sorgen für eine flüssige Darstellung",
    "auch bei schnelleren Szenen, allerdings kürzerer Videospielzeit.",
    "",
    "",
    "",
    "Bildformat:",
    "",
    "Es können nur Bilder im Windows Bitmap Format (.BMP) verwendet ",
    "werden.",
    "Die Bilder müssen eine Auflösung von 156 x 32 Pixel haben.",
    "Die Farbtiefe der Bilder muss 1 Bit betragen.",
    "",
    "Bilderordner:",
    "",
    "Die Einzelbilder müssen alle im selben Ordner liegen.",
    "Die Namensgebung muss wie folgt lauten:",
    "",
    "1. Bild: B001.BMP",
    "2. Bild: B002.BMP",
    "3. Bild: B003.BMP",
    "usw.",
    "",
    "Es werden bei maximalem Speicherausbau des PC-1600,",
    "(Slot1 = 32KB und Slot2 = 32KB) ohne Videokompression,",
    "mindestens 120 Bilder verarbeitet.",
    "Es können mehr als 120 Bildern im Ordner liegen.",
    "Die maximale mögliche Anzahl für ein Video beträgt aber 299 Bilder.",
    "(Anzahl der zu verarbeiteten Bilder hängt von der Kompression ab)",
    "",
    "Nach erfolgter Videogenerierung, werden bis zu 4 PC-1600 Binärfiles",
    "(Video) im Bilderordner abgelegt.",
    "",
    "Die Filenamen lauten je nach Bildermenge und eingegebenen Namen:",
    "von:",
    "Name0.VID",
    "bis zu:",
    "Name1.VID",
    "Name2.VID",
    "Name3.VID",
    "(Alle einzelnen Binärfiles sind Teile eines Videos).",
    "",
    "Die generierten Binärfiles (Video) müssen mit einem Terminalprogramm",
    "zum PC-1600 übertragen werden.",
    "Entweder vom PC-1600 aus, mit BLOAD \"COM1:\" direkt geladen oder mit",
    "COPY \"COM1:\" to \"S2:Name0.VID\" zuerst auf die Ramdisk kopiert.",
    "Von dort aus alle mit BLOAD \"S2:NameX.VID\" laden.",
    "",
    "",
    "",
    "",
    "Option Kontrollbutton Videokompression:",
    "",
    "Videokompression ist standardmäßig gesetzt (empfohlen).",
    "Es wird dabei nach annähernd gleichen Bildern gesucht,",
    "die dann gelöscht werden. Dadurch wird Platz geschaffen für eine längere",
    "Videolaufzeit oder kleinere Binärfiles.",
    "Die Empfindlichkeit wird über Stärke gewählt. Standard ist der Wert 7%.",
    "Ein höher Wert erhöht die Kompression.",
    "(Längere Videospielzeit, kleinere Files, evtl. ruckartiger Ablauf)",
    "Ein kleiner Wert verringert die Kompression.",
    "(Kürzere Videospielzeit, grössere Files, evtl. füssiger Ablauf)",
    "Bei erfolgreicher Kompression werden überflüssige Bilder im Ordner ",
    "gelöscht.",
    "Um den originalen Order zu erhalten wird eine Kopie als Ordner_org ",
    "abgelegt.",
    "",
    "",
    "",
    "",
    "Option Kontrollbutton VPlayer:",
    "",
    "Zum Abspielen wird noch der VPLAYER (Videoplayer) benötigt.",
    "Dieser kann durch setzen des Kontrollbutton miterzeugt werden.",
    "Er wird vom PC-1600 aus mit BLOAD \"COM1:\" direkt geladen,",
    "oder mit COPY \"COM1:\" to \"S2:VPLAYER.BIN\" zuerst auf die Ramdisk ",
    "kopiert.",
    "Mit BLOAD \"S2:VPLAYER.BIN\" geladen, wird das Video abgespielt.",
    "Mit CALL &EEB1 (Enter) kann der VPLAYER einmal geladen,",
    "jederzeit wieder aufgerufen werden.",
    "Neu geladene Videofiles überschreiben den VPLAYER nicht,",
    "so wird jedes andere aktuelle Video einfach mit CALL &EEB1 gestartet.",
    "",
    "",
    "",
    "",
    "Option Kontrollbutton STARTVID.BAS:",
    "",
    "Erzeugt ein Basicprogramm, das alle Binärfiles einliest.",
    "Das Programm wird vom PC-1600 aus mit LOAD \"COM1:\" direkt geladen,",
    "oder mit COPY \"COM1:\" to \"S2:Videoname.BAS\" zuerst auf die Ramdisk ",
    "kopiert.",
    "Dazu müssen sich alle Files aber auf der RamDisk S2: befinden.",
    "",
    "",
    "",
    "Viel Spaß mit Euren Videos,",
};

} // namespace

QString GuideText()
{
    QString text;
    for (const char* line : kGuideLines) {
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    }
    return text + QString::fromUtf8(kProgramName) + QStringLiteral("\r\n");
}

} // namespace velvix::ui
