// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "start_folder.h"

#include "std_qt.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include <system_error>

namespace velvix::ui {

namespace {

constexpr char kRememberedFolder[] = "Ordner/Zuletzt";

// Where the package, `cmake --install` and distributions put programs.
const char* const kSystemFolders[] = {"/bin",       "/sbin",          "/usr/bin",        "/usr/sbin",
                                      "/usr/games", "/usr/local/bin", "/usr/local/sbin", "/usr/local/games"};

bool CanList(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator probe(folder, error);
    return !error;
}

} // namespace

bool IsSystemFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    // /bin is a link to /usr/bin on current Debian; compare where they lead.
    const std::filesystem::path real = std::filesystem::weakly_canonical(folder, error);
    if (error) {
        return false;
    }
    for (const char* system : kSystemFolders) {
        if (real == std::filesystem::weakly_canonical(system, error) && !error) {
            return true;
        }
    }
    // An installed layout: PREFIX/bin beside PREFIX/share/applications with our menu entry.
    return real.filename() == "bin" &&
           std::filesystem::is_regular_file(real.parent_path() / "share" / "applications" / "velvix.desktop", error);
}

std::filesystem::path StartFolder(const std::filesystem::path& programFolder, const std::filesystem::path& remembered,
                                  const std::filesystem::path& home)
{
    if (!IsSystemFolder(programFolder)) {
        return programFolder;
    }
    if (remembered.is_absolute() && CanList(remembered)) {
        return remembered;
    }
    return home;
}

QString WindowStartFolder()
{
    const QString remembered = QSettings().value(kRememberedFolder).toString();
    return QString::fromStdString(Utf8FromPath(
        StartFolder(ToPath(QCoreApplication::applicationDirPath()), ToPath(remembered), ToPath(QDir::homePath()))));
}

void RememberFrameFolder(const QString& folder) { QSettings().setValue(kRememberedFolder, folder); }

} // namespace velvix::ui
