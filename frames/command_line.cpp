// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "command_line.h"

#include "file_io.h"

#include <charconv>
#include <cmath>
#include <map>

namespace velvix::frames {

namespace {

std::optional<int> WholeNumber(const std::string& text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

// Seconds as "90", "12.5" (or "12,5"), "1:30" or "0:01:30.5"; minutes and
// seconds after a colon run from 0 to 59.
std::optional<double> Time(std::string text)
{
    for (char& c : text) {
        c = c == ',' ? '.' : c;
    }
    double seconds = 0;
    std::size_t from = 0;
    for (int part = 0; part < 3; ++part) {
        const std::size_t colon = text.find(':', from);
        const std::string piece = text.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        double value = 0;
        const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
        const bool last = colon == std::string::npos;
        if (piece.empty() || error != std::errc() || end != piece.data() + piece.size() || !std::isfinite(value) ||
            value < 0 || (!last && value != std::floor(value)) || (part > 0 && value >= 60)) {
            return std::nullopt;
        }
        seconds = seconds * 60 + value;
        if (last) {
            return seconds;
        }
        from = colon + 1;
    }
    return std::nullopt;
}

std::string Lowered(std::string text)
{
    for (char& c : text) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    return text;
}

const std::map<std::string, Method> kMethods{{"bayer", Method::Bayer},
                                             {"schwelle", Method::Threshold},
                                             {"floyd-steinberg", Method::FloydSteinberg},
                                             {"atkinson", Method::Atkinson}};

bool Store(std::optional<int> number, int& target)
{
    if (number) {
        target = *number;
    }
    return number.has_value();
}

bool StoreTime(std::optional<double> seconds, std::optional<double>& target)
{
    target = seconds;
    return seconds.has_value();
}

const char* const kTimes = "Sekunden wie 75 oder 12,5, Minuten:Sekunden wie 1:15 oder Stunden:Minuten:Sekunden; "
                           "Minuten und Sekunden 0 bis 59";

// An option that takes a value, what it allows, and how it applies the value
// (false when the value does not fit).
struct ValueOption {
    const char* name;
    const char* allowed;
    bool (*take)(const std::string& value, Job& job);
};

const ValueOption kValueOptions[] = {
    {"--bildrate", "4, 5, 6, 8",
     [](const std::string& v, Job& job) {
         const auto rate = WholeNumber(v, 4, 8);
         return rate != 7 && Store(rate, job.part.rate);
     }},
    {"--start", kTimes, [](const std::string& v, Job& job) { return StoreTime(Time(v), job.part.start); }},
    {"--dauer", kTimes,
     [](const std::string& v, Job& job) {
         const auto seconds = Time(v);
         return seconds != 0.0 && StoreTime(seconds, job.part.length);
     }},
    {"--verfahren", "bayer, schwelle, floyd-steinberg, atkinson",
     [](const std::string& v, Job& job) {
         const auto method = kMethods.find(Lowered(v));
         if (method != kMethods.end()) {
             job.oneBit.method = method->second;
         }
         return method != kMethods.end();
     }},
    {"--schwelle", "1 bis 255",
     [](const std::string& v, Job& job) { return Store(WholeNumber(v, 1, 255), job.oneBit.level); }},
    {"--helligkeit", "-100 bis 100",
     [](const std::string& v, Job& job) { return Store(WholeNumber(v, -100, 100), job.oneBit.brightness); }},
    {"--kontrast", "0 bis 400",
     [](const std::string& v, Job& job) { return Store(WholeNumber(v, 0, 400), job.oneBit.contrast); }},
    {"--vorschau", "ein Dateiname, der auf .png endet",
     [](const std::string& v, Job& job) {
         job.preview = PathFromUtf8(v);
         return Lowered(Utf8FromPath(job.preview.extension())) == ".png";
     }},
};

const ValueOption* FindValueOption(const std::string& option)
{
    for (const ValueOption& known : kValueOptions) {
        if (option == known.name) {
            return &known;
        }
    }
    return nullptr;
}

} // namespace

CommandLine ReadCommandLine(std::span<const std::string> arguments)
{
    CommandLine line;
    std::vector<std::string> places; // EINGABE and ZIELORDNER
    bool optionsEnded = false;
    bool levelGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string option = arguments[i];
        if (optionsEnded || option.size() < 2 || option[0] != '-') {
            places.push_back(option);
            continue;
        }
        if (option == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> value;
        if (const std::size_t equals = option.find('='); equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.resize(equals);
        }
        if (option == "--hilfe" || option == "-h" || option == "--help") {
            line.help = true;
        } else if (option == "--einpassen" && !value) {
            line.job.fit = Fit::Bars;
        } else if (option == "--invertieren" && !value) {
            line.job.oneBit.invert = true;
        } else if (option == "--ersetzen" && !value) {
            line.job.replace = true;
        } else if (option == "--erste-299" && !value) {
            line.job.firstFramesOnly = true;
        } else if (option == "--version" && !value) {
            line.version = true;
        } else if (const ValueOption* known = FindValueOption(option)) {
            // Another option is never taken as a value: "--vorschau --ersetzen" lacks the name.
            if (!value && i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) != 0) {
                value = arguments[++i];
            }
            if (!value) {
                line.failure = ErrorMessage(option + " braucht einen Wert (erlaubt: " + known->allowed + ").");
                return line;
            }
            levelGiven = levelGiven || option == "--schwelle";
            if (!known->take(*value, line.job)) {
                line.failure =
                    ErrorMessage("„" + *value + "“ passt nicht zu " + option + " (erlaubt: " + known->allowed + ").");
                return line;
            }
        } else {
            line.failure = ErrorMessage("Unbekannte Option „" + arguments[i] + "“.");
            return line;
        }
    }
    if (line.help || line.version) {
        return line;
    }
    if (places.empty() || places.size() > 2) {
        line.failure = ErrorMessage(places.empty() ? "Es fehlt, was umgewandelt werden soll: ein Film oder ein Ordner."
                                              : "Zu viele Angaben: erwartet sind EINGABE und ZIELORDNER.");
        return line;
    }
    if (levelGiven && line.job.oneBit.method != Method::Threshold) {
        line.notes.push_back("--schwelle gilt nur für --verfahren schwelle und bleibt hier ohne Wirkung.");
    }
    line.job.input = PathFromUtf8(places[0]);
    if (places.size() == 2) {
        line.job.outputFolder = PathFromUtf8(places[1]);
    } else if (line.job.preview.empty()) {
        line.failure = ErrorMessage("Es fehlt der ZIELORDNER (oder --vorschau, um nur die Vorschau zu sehen).");
    }
    return line;
}

std::string HelpText()
{
    return R"(velvix-frames: macht aus einem Film oder einem Ordner mit Bildern die Einzelbilder
B001.BMP, B002.BMP, ... für Velvix (156 x 32 Punkte, 1 Bit, 704 Bytes, höchstens 299 Bilder).

Aufruf:
  velvix-frames [Optionen] EINGABE ZIELORDNER
  velvix-frames [Optionen] --vorschau BOGEN.png EINGABE

  EINGABE       ein Film (alles, was ffmpeg lesen kann) oder ein Ordner mit Bildern
                (PNG, JPEG, BMP, ... in beliebiger Größe; nach Namen geordnet)
  ZIELORDNER    hierhin kommen die Bilder; er wird angelegt, wenn es ihn nicht gibt;
                nicht der Eingabeordner und nicht darin

Film:
  --bildrate N        4, 5, 6 oder 8 Bilder pro Sekunde (Vorgabe 6); in Velvix dieselbe
                      Rate wählen
  --start ZEIT        erst ab dieser Stelle, z. B. 75, 1:15 oder 0:01:15,5
  --dauer ZEIT        nur so lange

Bild:
  --einpassen         das ganze Bild zeigen, mit weißen Rändern (Vorgabe: das Display
                      füllen und überstehende Ränder abschneiden)
  --verfahren NAME    wie Grau zu Punkten wird (Groß- und Kleinschreibung gleich):
                        bayer            geordnetes Raster (Vorgabe): ruhig von Bild zu Bild
                        schwelle         dunkler als die Schwelle wird schwarz
                        floyd-steinberg  Fehlerverteilung, feinste Grautöne
                        atkinson         Fehlerverteilung, kräftiger und klarer
  --schwelle N        1 bis 255, für "schwelle" (Vorgabe 128)
  --helligkeit N      -100 bis 100 (Vorgabe 0)
  --kontrast N        0 bis 400 Prozent (Vorgabe 100)
  --invertieren       schwarz und weiß tauschen

Sonstiges:
  --vorschau DATEI    alle Bilder als PNG-Kontaktbogen, vierfach vergrößert und nummeriert;
                      der Name endet auf .png
  --ersetzen          Bilder, die schon im ZIELORDNER liegen, und eine schon vorhandene
                      Vorschau ersetzen; misslingt etwas, bleiben die alten unverändert
  --erste-299         ergibt die Eingabe mehr als 299 Bilder, nur die ersten 299 nehmen
  --version           die Version von velvix-frames
  --hilfe             diese Hilfe
)";
}

} // namespace velvix::frames
