// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "port_box.h"

#include <QLineEdit>
#include <QSerialPortInfo>

namespace velvix::ui {

namespace {

// What a user types for the port: /dev/ttyUSB0 here, COM3 on Windows.
QString Typed(const QSerialPortInfo& info)
{
#ifdef Q_OS_WIN
    return info.portName();
#else
    return info.systemLocation();
#endif
}

} // namespace

PortBox::PortBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setPlaceholderText(QStringLiteral("z. B. /dev/ttyUSB0 oder COM3"));
    listPorts();
}

void PortBox::setPort(const QString& port)
{
    const int index = findText(port);
    if (index >= 0) {
        setCurrentIndex(index);
    } else {
        setEditText(port);
    }
}

void PortBox::listPorts()
{
    const QString chosen = port();
    const QSignalBlocker quiet(this); // refilling is no choice of the user's
    clear();
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        addItem(Typed(info));
        QStringList about;
        for (const QString& part : {info.description(), info.manufacturer(), info.serialNumber()}) {
            if (!part.isEmpty()) {
                about.append(part);
            }
        }
        setItemData(count() - 1, about.join(QStringLiteral(", ")), Qt::ToolTipRole);
    }
    setPort(chosen);
}

void PortBox::showPopup()
{
    listPorts();
    QComboBox::showPopup();
}

} // namespace velvix::ui
