#include "later_window.h"

#include "message_box.h"
#include "std_qt.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace velvix::ui {

namespace {

// What each window library exports (window_entry.h).
using OpenWindow = void(QWidget*, const QString&, const QString&);

// VELVIX_WINDOW_DIR: where the libraries lie, seen from the program's folder, in the build as
// when installed.
QString Beside(const char* library)
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(VELVIX_WINDOW_DIR "/") + QString::fromLatin1(library));
}

} // namespace

void OpenFromLibrary(const QString& path, const char* entry, QWidget* parent, const QString& folder,
                     const QString& preferred)
{
    QLibrary windows(path);
    if (auto* open = reinterpret_cast<OpenWindow*>(windows.resolve(entry))) {
        open(parent, folder, preferred);
        return;
    }
    ShowMessageBox(parent, {"Fehler",
                            "Dieses Fenster kann nicht geöffnet werden, ein Teil von Velvix fehlt oder ist "
                            "beschädigt:\r\n" +
                                ToUtf8(windows.errorString()) + "\r\nBitte Velvix neu installieren.",
                            Message::Icon::Warning, Message::Buttons::Ok});
}

void OpenPreviewLater(QWidget* owner, const QString& folder, const QString& preferred)
{
    OpenFromLibrary(Beside("velvix_preview"), "velvix_open_preview", owner, folder, preferred);
}

void OpenTransferLater(QWidget* parent, const QString& folder, const QString& preferred)
{
    OpenFromLibrary(Beside("velvix_transfer"), "velvix_open_transfer", parent, folder, preferred);
}

} // namespace velvix::ui
