#include "message_box.h"

#include "std_qt.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace velvix::ui {

namespace {

void Fill(QMessageBox& box, const Message& message)
{
    box.setIcon(message.icon == Message::Icon::Warning ? QMessageBox::Warning : QMessageBox::Information);
    box.setStandardButtons(message.buttons == Message::Buttons::Ok ? QMessageBox::Ok
                                                                   : QMessageBox::Ok | QMessageBox::Cancel);
    box.setWindowTitle(ToQString(message.title));
    // The messages break lines with CR LF; the box wants a plain line feed.
    QString text = ToQString(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setTextFormat(Qt::PlainText); // paths may hold characters that rich text would swallow
    box.setText(text);
    box.setDefaultButton(QMessageBox::Ok);
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
        cancel->setText(QStringLiteral("Abbrechen")); // German whatever translations the system has
    }
}

} // namespace

void ShowMessageBox(QWidget* parent, const Message& message)
{
    QMessageBox box(parent);
    Fill(box, message);
    box.exec();
}

QMessageBox* MakeMessageBox(QWidget* parent, const Message& message)
{
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    Fill(*box, message);
    return box;
}

} // namespace velvix::ui
