// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "transfer_window.h"

#include "message_box.h"
#include "port_box.h"
#include "send_progress.h"
#include "sendable_file.h"
#include "std_qt.h"
#include "transfer_messages.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

// Sending the files one by one: the buttons, the progress and every way a file can fail to arrive.
namespace velvix::ui {

void TransferWindow::Senden_Click()
{
    if (allSent()) {
        restart();
        return;
    }
    const transfer::VideoFile& file = currentFile();
    transfer::SendableFile sendable = transfer::ReadForSending(ToPath(folder_), file);
    if (sendable.problem) {
        ShowMessageBox(this, *sendable.problem);
        listFiles(); // the video was made anew or removed: show what is there now
        return;
    }
    QByteArray bytes(reinterpret_cast<const char*>(sendable.bytes.data()),
                     static_cast<qsizetype>(sendable.bytes.size()));
    sendClock_.start();
    if (std::optional<Message> problem = sender_.start(Schnittstelle->port(), baud(), std::move(bytes))) {
        ShowMessageBox(this, *problem);
        return;
    }
    setSending(true);
    markStep(QStringLiteral("wird gesendet"));
}

void TransferWindow::Ueberspringen_Click()
{
    markStep(QStringLiteral("übersprungen"));
    ++skipped_;
    ++step_;
    showStep();
}

void TransferWindow::Abbrechen_Click()
{
    if (!sender_.isSending()) {
        return;
    }
    sender_.cancel();
    closeHoldQuestion();
    showStep();
    markStep(QStringLiteral("abgebrochen"));
    Stand->setText(QStringLiteral("Abgebrochen: auf dem PC-1600 BREAK drücken."));
    ShowMessageBox(this, transfer::messages::Cancelled(currentFile().name));
}

void TransferWindow::reject()
{
    Abbrechen_Click();
    QDialog::reject();
}

void TransferWindow::markStep(const QString& state)
{
    Dateien->topLevelItem(static_cast<int>(plan_.steps[step_].file))->setText(3, state);
}

void TransferWindow::showProgress(qint64 sent, qint64 total)
{
    Fortschritt->setRange(0, static_cast<int>(total));
    Fortschritt->setValue(static_cast<int>(sent));
    Stand->setText(ToQString(
        transfer::ProgressText(static_cast<std::uintmax_t>(sent), static_cast<std::uintmax_t>(total),
                               static_cast<double>(sendClock_.elapsed()) / 1000.0, baud(), sender_.countsExactly())));
}

void TransferWindow::showHeld(bool held)
{
    if (held) {
        Stand->setText(QStringLiteral("wartet auf PC-1600 (er hat mit XOFF angehalten) …"));
    } else {
        closeHoldQuestion();
    }
}

void TransferWindow::askAfterLongHold(int seconds)
{
    if (holdQuestion_) {
        return;
    }
    holdQuestion_ = MakeMessageBox(this, transfer::messages::HeldTooLong(currentFile().name, seconds));
    holdQuestion_->button(QMessageBox::Ok)->setText(ToQString(transfer::messages::kWaitOn));
    // Not a modal loop: if the PC-1600 goes on meanwhile, the question closes by itself.
    // Cancelling shows its own box, so it waits until this one is gone.
    connect(holdQuestion_, &QMessageBox::finished, this, [this](int answer) {
        holdQuestion_ = nullptr;
        if (answer == QMessageBox::Cancel) {
            QMetaObject::invokeMethod(this, &TransferWindow::Abbrechen_Click, Qt::QueuedConnection);
        }
    });
    holdQuestion_->open();
}

void TransferWindow::closeHoldQuestion()
{
    if (holdQuestion_) {
        holdQuestion_->done(QMessageBox::Ok);
    }
}

void TransferWindow::sendingFinished()
{
    closeHoldQuestion();
    markStep(QStringLiteral("gesendet"));
    Stand->setText(ToQString(currentFile().name + " wurde gesendet."));
    ++step_;
    showStep();
}

void TransferWindow::sendingFailed(const QString& detail, qint64 sent)
{
    closeHoldQuestion();
    showStep();
    markStep(QStringLiteral("abgebrochen"));
    const transfer::VideoFile& file = currentFile();
    Stand->setText(QStringLiteral("Fehler beim Senden."));
    ShowMessageBox(this, transfer::messages::SendFailed(file.name, static_cast<std::uintmax_t>(sent), file.bytes,
                                                        sender_.countsExactly(), ToUtf8(detail)));
}

} // namespace velvix::ui
