// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <QComboBox>

namespace velvix::ui {

// An editable list of the system's serial ports, USB adapters included. The
// ports are read anew each time the list opens, so an adapter plugged in
// meanwhile appears; a port the user typed stays even while it is missing.
class PortBox : public QComboBox {
    Q_OBJECT

public:
    explicit PortBox(QWidget* parent = nullptr);

    QString port() const { return currentText().trimmed(); }
    void setPort(const QString& port);
    void listPorts();

    void showPopup() override;
};

} // namespace velvix::ui
