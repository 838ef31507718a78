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

} // namespace

int ShowMessageBox(QWidget* parent, const Message& message)
{
    const QMessageBox::Icon icon =
        message.icon == Message::Icon::Warning ? QMessageBox::Warning : QMessageBox::Information;

    // The messages break lines with CR LF; the box wants a plain line feed.
    QString text = ToQString(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    QMessageBox box(icon, ToQString(message.title), text, StandardButtons(message.buttons), parent);
    box.setTextFormat(Qt::PlainText); // paths may hold characters that rich text would swallow
    if (message.buttons != Message::Buttons::Choice) {
        box.setDefaultButton(QMessageBox::Ok);
        if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
            cancel->setText(QStringLiteral("Abbrechen")); // German whatever translations the system has
        }
        box.exec();
        return 0;
    }

    QList<QPushButton*> choices;
    for (const std::string& choice : message.choices) {
        choices.append(box.addButton(ToQString(choice), QMessageBox::AcceptRole));
    }
    if (!choices.isEmpty()) {
        box.setDefaultButton(choices.first());
        box.setEscapeButton(choices.last());
    }
    box.exec();
    const auto taken = choices.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    return taken >= 0 ? static_cast<int>(taken) : static_cast<int>(choices.size()) - 1;
}

} // namespace velvix::ui
