#include "message_box.h"

#include "std_qt.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace velvix::ui {

void ShowMessageBox(QWidget* parent, const Message& message)
{
    const QMessageBox::Icon icon =
        message.icon == Message::Icon::Warning ? QMessageBox::Warning : QMessageBox::Information;
    const QMessageBox::StandardButtons buttons =
        message.buttons == Message::Buttons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel;

    // The messages break lines with CR LF; the box wants a plain line feed.
    QString text = ToQString(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    QMessageBox box(icon, ToQString(message.title), text, buttons, parent);
    box.setTextFormat(Qt::PlainText); // paths may hold characters that rich text would swallow
    box.setDefaultButton(QMessageBox::Ok);
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
        cancel->setText(QStringLiteral("Abbrechen")); // German whatever translations the system has
    }
    box.exec();
}

} // namespace velvix::ui
