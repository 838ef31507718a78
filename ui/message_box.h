#pragma once

#include "message.h"

class QWidget;

namespace velvix::ui {

// Shows the message as a modal box over `parent` and returns when it is closed.
void ShowMessageBox(QWidget* parent, const Message& message);

} // namespace velvix::ui
