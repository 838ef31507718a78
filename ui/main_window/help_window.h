// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace velvix::ui {

// The help window with the guide. It has no owner, so it stays open when the
// main window closes; closing it destroys it.
class Form1 : public QWidget {
    Q_OBJECT

public:
    // Creates the window on first demand and brings it to the front; there
    // is never a second copy.
    static Form1* Show();

private:
    Form1();

    QPlainTextEdit* Text1;
};

} // namespace velvix::ui
