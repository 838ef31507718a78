// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "message_box.h"

#include "std_qt.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace velvix::ui {

namespace {

QMessageBox::StandardButtons StandardButtons(Message::Buttons buttons)
{
    switch (buttons) {
    case Message::Buttons::Ok:
        return QMessageBox::Ok;
    case Message::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Message::Buttons::Choice:
        break;
    }
    return QMessageBox::NoButton;
}

void Fill(QMessageBox& box, const Message& message)
{
    box.setIcon(message.icon == Message::Icon::Warning ? QMessageBox::Warning : QMessageBox::Information);
    box.setStandardButtons(StandardButtons(message.buttons));
    box.setWindowTitle(ToQString(message.title));
    // The messages break lines with CR LF; the box wants a plain line feed.
    QString text = ToQString(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setTextFormat(Qt::PlainText); // paths may hold characters that rich text would swallow
    box.setText(text);
    if (message.buttons != Message::Buttons::Choice) {
        box.setDefaultButton(QMessageBox::Ok);
        if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
            cancel->setText(QStringLiteral("Abbrechen")); // German whatever translations the system has
        }
    }
}

} // namespace

int ShowMessageBox(QWidget* parent, const Message& message)
{
    QMessageBox box(parent);
    Fill(box, message);
    QList<QPushButton*> choices;
    for (const std::string& choice : message.choices) {
        choices.append(box.addButton(ToQString(choice), QMessageBox::AcceptRole));
    }
    if (!choices.isEmpty()) {
        box.setDefaultButton(choices.first());
        box.setEscapeButton(choices.last());
    }
    box.exec();
    if (choices.isEmpty()) {
        return 0;
    }
    const auto taken = choices.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    return taken >= 0 ? static_cast<int>(taken) : static_cast<int>(choices.size()) - 1;
}

QMessageBox* MakeMessageBox(QWidget* parent, const Message& message)
{
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    Fill(*box, message);
    return box;
}

} // namespace velvix::ui
