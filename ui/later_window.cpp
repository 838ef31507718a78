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

// Loads the library on first use (it stays loaded) and opens its window.
void Open(const char* library, const char* entry, QWidget* parent, const QString& folder, const QString& preferred)
{
    // VELVIX_WINDOW_DIR: where the libraries lie, seen from the program's folder, in the build
    // as when installed.
    QLibrary windows(QDir(QCoreApplication::applicationDirPath())
                         .filePath(QStringLiteral(VELVIX_WINDOW_DIR "/") + QString::fromLatin1(library)));
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

} // namespace

void OpenPreviewLater(QWidget* owner, const QString& folder, const QString& preferred)
{
    Open("velvix_preview", "velvix_open_preview", owner, folder, preferred);
}

void OpenTransferLater(QWidget* parent, const QString& folder, const QString& preferred)
{
    Open("velvix_transfer", "velvix_open_transfer", parent, folder, preferred);
}

} // namespace velvix::ui
