#pragma once

#include <QString>

class QWidget;

namespace velvix::ui {

// The preview and the transfer window live in libraries of their own that the program loads when
// the window is first opened, so that what only they need (the Z80 emulator, Qt Serial Port) costs
// the program's start nothing. When a library cannot be loaded, a box says so.
void OpenPreviewLater(QWidget* owner, const QString& folder, const QString& preferred);
void OpenTransferLater(QWidget* parent, const QString& folder, const QString& preferred);

// Loads the library at `path` (it stays loaded) and opens its window through `entry`.
void OpenFromLibrary(const QString& path, const char* entry, QWidget* parent, const QString& folder,
                     const QString& preferred);

} // namespace velvix::ui
