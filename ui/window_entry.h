#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

// The entries through which the program opens the windows that live in libraries of their own
// (later_window.h); each library defines its one.
extern "C" {
Q_DECL_EXPORT void velvix_open_preview(QWidget* owner, const QString& folder, const QString& preferred);
Q_DECL_EXPORT void velvix_open_transfer(QWidget* parent, const QString& folder, const QString& preferred);
}
