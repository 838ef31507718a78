#pragma once

#include "message.h"

class QMessageBox;
class QWidget;

namespace velvix::ui {

// Shows the message as a modal box over `parent` and returns when it is closed.
void ShowMessageBox(QWidget* parent, const Message& message);

// The same box, not yet shown and deleted when closed, for a question that may
// close by itself (open() it).
QMessageBox* MakeMessageBox(QWidget* parent, const Message& message);

} // namespace velvix::ui
