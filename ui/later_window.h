#pragma once

#include <QString>

class QWidget;

namespace velvix::ui {

// The preview and the transfer window live in libraries of their own that the program loads when
// the window is first opened, so that what only they need (the Z80 emulator, Qt Serial Port) costs
// the program's start nothing. When a library cannot be loaded, a box says so.
void OpenPreviewLater(QWidget* owner, const QString& folder, const QString& preferred);
void OpenTransferLater(QWidget* parent, const QString& folder, const QString& preferred);

} // namespace velvix::ui
