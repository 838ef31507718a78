// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"

class QMessageBox;
class QWidget;

namespace velvix::ui {

// Shows the message as a modal box over `parent` and returns when it is
// closed: with the index of the choice taken for Buttons::Choice, else 0.
int ShowMessageBox(QWidget* parent, const Message& message);

// The same box, not yet shown and deleted when closed, for a question that may
// close by itself (open() it). Not for Buttons::Choice.
QMessageBox* MakeMessageBox(QWidget* parent, const Message& message);

} // namespace velvix::ui
