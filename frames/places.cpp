// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "places.h"

#include "file_io.h"

#include <algorithm>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) { return "„" + Utf8FromPath(path) + "“"; }

// The path with links and "..", as far as it exists, resolved: two names of
// one place compare equal.
fs::path Resolved(const fs::path& path)
{
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? fs::absolute(path, ec).lexically_normal() : resolved;
}

bool IsWithin(const fs::path& inner, const fs::path& outer)
{
    const fs::path a = Resolved(inner);
    const fs::path b = Resolved(outer);
    return std::mismatch(b.begin(), b.end(), a.begin(), a.end()).first == b.end();
}

bool EndsInPng(const fs::path& file)
{
    std::string ending = Utf8FromPath(file.extension());
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return ending == ".png";
}

} // namespace

std::optional<Message> CheckOutputPlace(const fs::path& input, const fs::path& outputFolder)
{
    std::error_code ec;
    if (fs::is_directory(input, ec) && IsWithin(outputFolder, input)) {
        const std::string where = Resolved(outputFolder) == Resolved(input)
                                      ? " ist der Eingabeordner selbst"
                                      : " liegt im Eingabeordner " + Quoted(input);
        return ErrorMessage("Der ZIELORDNER " + Quoted(outputFolder) + where +
                       ": die neuen Bilder würden sich mit ihrer eigenen Eingabe mischen. Es wurde nichts "
                       "geschrieben.\nBitte einen anderen ZIELORDNER angeben.");
    }
    return std::nullopt;
}

std::optional<Message> CheckPreviewPlace(const fs::path& input, const fs::path& preview, bool replace)
{
    const std::string named = "Die Vorschau " + Quoted(preview);
    std::error_code ec;
    if (Resolved(preview) == Resolved(input)) {
        return ErrorMessage(named + " ist die EINGABE selbst und würde sie überschreiben. Es wurde nichts geschrieben.\n"
                               "Bitte einen anderen Namen für die Vorschau wählen.");
    }
    if (!EndsInPng(preview)) {
        return ErrorMessage(named + " wird ein PNG-Bild; ihr Name muss auf .png enden.");
    }
    if (fs::is_directory(input, ec) && IsWithin(preview, input)) {
        return ErrorMessage(named + " läge im Eingabeordner und würde beim nächsten Mal als Bild gelesen. Es wurde nichts "
                               "geschrieben.\nBitte die Vorschau in einen anderen Ordner legen.");
    }
    if (fs::is_directory(preview, ec)) {
        return ErrorMessage(named + " ist ein Ordner. Bitte einen Dateinamen angeben.");
    }
    if (fs::exists(preview, ec) && !replace) {
        return ErrorMessage(named + " gibt es schon; sie bleibt unverändert, es wurde nichts geschrieben.\n"
                               "Mit --ersetzen wird sie ersetzt, sonst bitte einen anderen Namen wählen.");
    }
    return std::nullopt;
}

} // namespace velvix::frames
