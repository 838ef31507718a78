// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "serial_sender.h"
#include "typing_plan.h"
#include "video_files.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>

class QComboBox;
class QLabel;
class QMessageBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace velvix::ui {

class PortBox;

// "Übertragen": sends the files of a video to the PC-1600 one by one, and
// before each shows the line the user types on the PC-1600 to receive it.
// The order, the lines and the times come from transfer/; the files are only read.
class TransferWindow : public QDialog {
    Q_OBJECT

public:
    // Opens the window over `parent` for the videos in `folder`, the one named
    // `preferred` first; when the folder holds none, says so and returns nullptr.
    static TransferWindow* Open(QWidget* parent, const QString& folder, const QString& preferred,
                                serial::SerialSender::Timing timing = {});

    void reject() override; // closing while a file goes stops it first

private:
    TransferWindow(QWidget* parent, const QString& folder, const QStringList& names,
                   serial::SerialSender::Timing timing);

    void createControls();
    void connectHandlers();
    void readSettings();

    void Video_Click();
    void Baud_Click();
    void Weg_Click();
    void Senden_Click();
    void Ueberspringen_Click();
    void Abbrechen_Click();

    void listFiles();
    void restart();
    void showStep();
    void showTotals();
    void setSending(bool sending);
    void markStep(const QString& state);
    void showProgress(qint64 sent, qint64 total);
    void showHeld(bool held);
    void askAfterLongHold(int seconds);
    void sendingFinished();
    void sendingFailed(const QString& detail, qint64 sent);
    void closeHoldQuestion();

    int baud() const;
    transfer::Way way() const;
    const transfer::VideoFile& currentFile() const;
    bool allSent() const { return step_ >= plan_.steps.size(); }

    QString folder_;
    std::vector<transfer::VideoFile> files_;
    transfer::TypingPlan plan_;
    std::size_t step_ = 0;
    std::size_t skipped_ = 0; // steps passed over since the start
    serial::SerialSender sender_;
    QElapsedTimer sendClock_;
    QPointer<QMessageBox> holdQuestion_;

    QLabel* VideoLabel;
    QComboBox* Video;
    QTreeWidget* Dateien;
    QLabel* Summe;
    QLabel* SchnittstelleLabel;
    PortBox* Schnittstelle;
    QLabel* BaudLabel;
    QComboBox* Baud;
    QLabel* Format;
    QRadioButton* WegSpeicher;
    QRadioButton* WegRamDisk;
    QLabel* Anleitung;
    QPlainTextEdit* Eingabezeilen;
    QProgressBar* Fortschritt;
    QLabel* Stand;
    QPushButton* Senden;
    QPushButton* Ueberspringen;
    QPushButton* Abbrechen;
    QPushButton* Schliessen;
};

} // namespace velvix::ui
