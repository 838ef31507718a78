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

// Seconds as "90", "12.5" (or "12,5"), "1:30" or "0:01:30.5".
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
            value < 0 || (!last && value != std::floor(value))) {
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

// Applies an option that takes a value; false when the value does not fit.
bool TakeValue(const std::string& option, const std::string& value, Job& job)
{
    if (option == "--bildrate") {
        const auto rate = WholeNumber(value, 4, 8);
        return rate != 7 && Store(rate, job.part.rate);
    }
    if (option == "--start" || option == "--dauer") {
        const auto seconds = Time(value);
        if (!seconds || (option == "--dauer" && *seconds == 0)) {
            return false;
        }
        (option == "--start" ? job.part.start : job.part.length) = seconds;
        return true;
    }
    if (option == "--verfahren") {
        const auto method = kMethods.find(value);
        if (method == kMethods.end()) {
            return false;
        }
        job.oneBit.method = method->second;
        return true;
    }
    if (option == "--vorschau") {
        job.preview = PathFromUtf8(value);
        return !value.empty();
    }
    if (option == "--schwelle") {
        return Store(WholeNumber(value, 1, 255), job.oneBit.level);
    }
    if (option == "--helligkeit") {
        return Store(WholeNumber(value, -100, 100), job.oneBit.brightness);
    }
    return Store(WholeNumber(value, 0, 400), job.oneBit.contrast);
}

bool TakesValue(const std::string& option)
{
    for (const char* known : {"--bildrate", "--start", "--dauer", "--verfahren", "--schwelle", "--helligkeit",
                              "--kontrast", "--vorschau"}) {
        if (option == known) {
            return true;
        }
    }
    return false;
}

} // namespace

CommandLine ReadCommandLine(std::span<const std::string> arguments)
{
    CommandLine line;
    std::vector<std::string> places; // EINGABE and ZIELORDNER
    bool optionsEnded = false;
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
        } else if (TakesValue(option)) {
            if (!value && i + 1 < arguments.size()) {
                value = arguments[++i];
            }
            if (!value) {
                line.failure = Failure{option + " braucht einen Wert."};
                return line;
            }
            if (!TakeValue(option, *value, line.job)) {
                line.failure = Failure{"„" + *value + "“ passt nicht zu " + option + "."};
                return line;
            }
        } else {
            line.failure = Failure{"Unbekannte Option „" + arguments[i] + "“."};
            return line;
        }
    }
    if (line.help) {
        return line;
    }
    if (places.empty() || places.size() > 2) {
        line.failure = Failure{places.empty() ? "Es fehlt, was umgewandelt werden soll: ein Film oder ein Ordner."
                                              : "Zu viele Angaben: erwartet sind EINGABE und ZIELORDNER."};
        return line;
    }
    line.job.input = PathFromUtf8(places[0]);
    if (places.size() == 2) {
        line.job.outputFolder = PathFromUtf8(places[1]);
    } else if (line.job.preview.empty()) {
        line.failure = Failure{"Es fehlt der ZIELORDNER (oder --vorschau, um nur die Vorschau zu sehen)."};
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
  ZIELORDNER    hierhin kommen die Bilder; er wird angelegt, wenn es ihn nicht gibt

Film:
  --bildrate N        4, 5, 6 oder 8 Bilder pro Sekunde (Vorgabe 6); in Velvix dieselbe
                      Rate wählen
  --start ZEIT        erst ab dieser Stelle, z. B. 75, 1:15 oder 0:01:15.5
  --dauer ZEIT        nur so lange

Bild:
  --einpassen         das ganze Bild zeigen, mit weißen Rändern (Vorgabe: das Display
                      füllen und überstehende Ränder abschneiden)
  --verfahren NAME    wie Grau zu Punkten wird:
                        bayer            geordnetes Raster (Vorgabe): ruhig von Bild zu Bild
                        schwelle         dunkler als die Schwelle wird schwarz
                        floyd-steinberg  Fehlerverteilung, feinste Grautöne
                        atkinson         Fehlerverteilung, kräftiger und klarer
  --schwelle N        1 bis 255, für "schwelle" (Vorgabe 128)
  --helligkeit N      -100 bis 100 (Vorgabe 0)
  --kontrast N        0 bis 400 Prozent (Vorgabe 100)
  --invertieren       schwarz und weiß tauschen

Sonstiges:
  --vorschau DATEI    alle Bilder als PNG-Kontaktbogen, vierfach vergrößert
  --ersetzen          Bilder, die schon im ZIELORDNER liegen, löschen und ersetzen
  --erste-299         ergibt die Eingabe mehr als 299 Bilder, nur die ersten 299 nehmen
  --hilfe             diese Hilfe
)";
}

} // namespace velvix::frames
