// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "later_window.h"

#include "interrupted_run.h"
#include "message_box.h"
#include "std_qt.h"
#include "swap_record.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <filesystem>
#include <system_error>

namespace velvix::ui {

namespace {

// VELVIX_WINDOW_DIR: where the libraries lie, seen from the program's folder, in the build as
// when installed.
QString Beside(const char* library)
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(VELVIX_WINDOW_DIR "/") + QString::fromLatin1(library));
}

constexpr char kNoWindow[] = "Dieses Fenster kann nicht geöffnet werden";
constexpr char kNoRun[] = "Der Lauf kann nicht starten";
constexpr char kNoSettling[] = "Der unterbrochene Lauf in diesem Ordner kann nicht bereinigt werden";

template <typename Entry> Entry* Find(const char* library, const char* name, QWidget* parent, const char* cannot)
{
    return reinterpret_cast<Entry*>(LibraryEntry(Beside(library), name, parent, cannot));
}

} // namespace

QFunctionPointer LibraryEntry(const QString& path, const char* name, QWidget* parent, const char* cannot)
{
    QLibrary library(path);
    if (QFunctionPointer entry = library.resolve(name)) {
        return entry;
    }
    ShowMessageBox(parent, {"Fehler",
                            std::string(cannot) + ", ein Teil von Velvix fehlt oder ist beschädigt:\r\n" +
                                ToUtf8(library.errorString()) + "\r\nBitte Velvix neu installieren.",
                            Message::Icon::Warning, Message::Buttons::Ok});
    return nullptr;
}

void OpenFilmLater(QWidget* parent, const QString& file, int rateIndex, int frameCapacity, const FilmTaken& taken)
{
    if (auto* open = Find<decltype(velvix_open_film)>("velvix_film", "velvix_open_film", parent, kNoWindow)) {
        open(parent, file, rateIndex, frameCapacity, taken);
    }
}

void OpenPreviewLater(QWidget* owner, const QString& folder, const QString& preferred)
{
    if (auto* open = Find<decltype(velvix_open_preview)>("velvix_preview", "velvix_open_preview", owner, kNoWindow)) {
        open(owner, folder, preferred);
    }
}

void OpenTransferLater(QWidget* parent, const QString& folder, const QString& preferred)
{
    if (auto* open =
            Find<decltype(velvix_open_transfer)>("velvix_transfer", "velvix_open_transfer", parent, kNoWindow)) {
        open(parent, folder, preferred);
    }
}

bool SettleSwapLater(QWidget* parent, const std::filesystem::path& folder, Host& host)
{
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(folder / frames::kSwapRecordName, error))) {
        return false;
    }
    auto* settle = Find<decltype(velvix_settle_swap)>("velvix_film", "velvix_settle_swap", parent, kNoSettling);
    return settle == nullptr || settle(folder, host);
}

void StartRunLater(QWidget* parent, Converter& converter)
{
    if (auto* start = Find<decltype(velvix_start_run)>("velvix_run", "velvix_start_run", parent, kNoRun)) {
        start(converter);
    }
}

bool SettleRunLater(QWidget* parent, Converter& converter)
{
    if (!FindInterruptedRun(converter.frameFolder())) {
        return false;
    }
    auto* settle = Find<decltype(velvix_settle_run)>("velvix_run", "velvix_settle_run", parent, kNoSettling);
    return settle == nullptr || settle(converter);
}

} // namespace velvix::ui
