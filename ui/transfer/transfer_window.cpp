// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "transfer_window.h"

#include "line_timing.h"
#include "message_box.h"
#include "named.h"
#include "port_box.h"
#include "send_progress.h"
#include "std_qt.h"
#include "transfer_messages.h"
#include "vid_reader.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTreeWidget>
#include <QVBoxLayout>

// The window's controls, its remembered choices and the lines it shows; sending is in transfer_window_sending.cpp.
namespace velvix::ui {

namespace {

const QString kPortKey = QStringLiteral("Uebertragen/Port");
const QString kBaudKey = QStringLiteral("Uebertragen/Baud");
const QString kWayKey = QStringLiteral("Uebertragen/Weg");
const QString kRamDisk = QStringLiteral("RamDisk");

enum Column { Name, Size, Time, State };

QFont ArialFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    return font;
}

QString Lines(const std::vector<std::string>& lines)
{
    QStringList text;
    for (const std::string& line : lines) {
        text.append(ToQString(line));
    }
    return text.join(QLatin1Char('\n'));
}

} // namespace

TransferWindow* TransferWindow::Open(QWidget* parent, const QString& folder, const QString& preferred,
                                     serial::SerialSender::Timing timing)
{
    const std::vector<std::string> found = FindVideos(ToPath(folder));
    if (found.empty()) {
        ShowMessageBox(parent, transfer::messages::NoVideo(ToPath(QDir::toNativeSeparators(folder))));
        return nullptr;
    }
    QStringList names;
    for (const std::string& name : found) {
        names.append(ToQString(name));
    }
    auto* window = new TransferWindow(parent, folder, names, timing);
    window->Video->setCurrentIndex(std::max(0, static_cast<int>(names.indexOf(preferred))));
    window->Video_Click();
    window->show();
    return window;
}

TransferWindow::TransferWindow(QWidget* parent, const QString& folder, const QStringList& names,
                               serial::SerialSender::Timing timing)
    : QDialog(parent), folder_(folder), sender_(timing, this)
{
    setObjectName(QStringLiteral("Uebertragung"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window);
    setWindowModality(Qt::WindowModal); // no new run may rewrite the files while they go
    setWindowTitle(QStringLiteral("Übertragen zum PC-1600"));
    setFont(ArialFont());

    createControls();
    Video->addItems(names);
    readSettings();
    connectHandlers();
}

void TransferWindow::createControls()
{
    VideoLabel = Named(new QLabel(QStringLiteral("Video:"), this), "VideoLabel");
    Video = Named(new QComboBox(this), "Video");
    Summe = Named(new QLabel(this), "Summe");

    Dateien = Named(new QTreeWidget(this), "Dateien");
    Dateien->setRootIsDecorated(false);
    Dateien->setSelectionMode(QAbstractItemView::NoSelection);
    Dateien->setFocusPolicy(Qt::NoFocus);
    Dateien->setHeaderLabels(
        {QStringLiteral("Datei"), QStringLiteral("Größe"), QStringLiteral("Dauer"), QStringLiteral("Stand")});
    Dateien->header()->setStretchLastSection(true);
    Dateien->headerItem()->setTextAlignment(Size, Qt::AlignRight | Qt::AlignVCenter);
    Dateien->headerItem()->setTextAlignment(Time, Qt::AlignRight | Qt::AlignVCenter);
    Dateien->setColumnWidth(Name, 130);
    Dateien->setColumnWidth(Size, 110);
    Dateien->setColumnWidth(Time, 90);

    SchnittstelleLabel = Named(new QLabel(QStringLiteral("Schnittstelle:"), this), "SchnittstelleLabel");
    Schnittstelle = Named(new PortBox(this), "Schnittstelle");
    Schnittstelle->setMinimumWidth(180);
    BaudLabel = Named(new QLabel(QStringLiteral("Baud:"), this), "BaudLabel");
    Baud = Named(new QComboBox(this), "Baud");
    for (const int rate : transfer::kBaudRates) {
        Baud->addItem(QString::number(rate), rate);
    }
    Format = Named(new QLabel(QStringLiteral("8 Datenbits, keine Parität, 1 Stoppbit, XON/XOFF"), this), "Format");
    WegSpeicher = Named(new QRadioButton(QStringLiteral("direkt in den Speicher (BLOAD / LOAD)"), this), "WegSpeicher");
    WegRamDisk = Named(new QRadioButton(QStringLiteral("auf die RAM-Disk S2: (COPY)"), this), "WegRamDisk");
    auto* ways = new QButtonGroup(this);
    ways->addButton(WegSpeicher);
    ways->addButton(WegRamDisk);

    Anleitung = Named(new QLabel(this), "Anleitung");
    Anleitung->setWordWrap(true);
    Eingabezeilen = Named(new QPlainTextEdit(this), "Eingabezeilen");
    Eingabezeilen->setReadOnly(true);
    QFont typed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    typed.setPointSize(15);
    typed.setBold(true);
    Eingabezeilen->setFont(typed);
    Eingabezeilen->setFixedHeight(QFontMetrics(typed).lineSpacing() * 4 + 16);

    Fortschritt = Named(new QProgressBar(this), "Fortschritt");
    Stand = Named(new QLabel(this), "Stand");
    Senden = Named(new QPushButton(QStringLiteral("Senden"), this), "Senden");
    Ueberspringen = Named(new QPushButton(QStringLiteral("Überspringen"), this), "Ueberspringen");
    Ueberspringen->setToolTip(QStringLiteral("Diese Datei nicht senden, etwa weil der PC-1600 sie schon hat"));
    Abbrechen = Named(new QPushButton(QStringLiteral("Abbrechen"), this), "Abbrechen");
    Schliessen = Named(new QPushButton(QStringLiteral("Schließen"), this), "Schliessen");
    Senden->setDefault(true);

    auto* videoRow = new QHBoxLayout;
    videoRow->addWidget(VideoLabel);
    videoRow->addWidget(Video, 1);
    videoRow->addSpacing(16);
    videoRow->addWidget(Summe, 3);

    auto* line = new QGroupBox(QStringLiteral("Verbindung"), this);
    auto* lineGrid = new QGridLayout(line);
    lineGrid->addWidget(SchnittstelleLabel, 0, 0);
    lineGrid->addWidget(Schnittstelle, 0, 1);
    lineGrid->addWidget(BaudLabel, 0, 2, Qt::AlignRight);
    lineGrid->addWidget(Baud, 0, 3);
    lineGrid->addWidget(Format, 1, 1, 1, 3);
    lineGrid->addWidget(WegSpeicher, 2, 0, 1, 2);
    lineGrid->addWidget(WegRamDisk, 2, 2, 1, 2);
    lineGrid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Senden);
    buttons->addWidget(Ueberspringen);
    buttons->addWidget(Abbrechen);
    buttons->addStretch(1);
    buttons->addWidget(Schliessen);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(videoRow);
    layout->addWidget(Dateien, 1);
    layout->addWidget(line);
    layout->addWidget(Anleitung);
    layout->addWidget(Eingabezeilen);
    layout->addWidget(Fortschritt);
    layout->addWidget(Stand);
    layout->addLayout(buttons);
    resize(600, 560);
}

void TransferWindow::connectHandlers()
{
    connect(Video, &QComboBox::activated, this, &TransferWindow::Video_Click);
    connect(Baud, &QComboBox::activated, this, &TransferWindow::Baud_Click);
    connect(WegSpeicher, &QRadioButton::clicked, this, &TransferWindow::Weg_Click);
    connect(WegRamDisk, &QRadioButton::clicked, this, &TransferWindow::Weg_Click);
    connect(Schnittstelle, &QComboBox::currentTextChanged, this,
            [this] { QSettings().setValue(kPortKey, Schnittstelle->port()); });
    connect(Senden, &QPushButton::clicked, this, &TransferWindow::Senden_Click);
    connect(Ueberspringen, &QPushButton::clicked, this, &TransferWindow::Ueberspringen_Click);
    connect(Abbrechen, &QPushButton::clicked, this, &TransferWindow::Abbrechen_Click);
    connect(Schliessen, &QPushButton::clicked, this, &TransferWindow::close);
    connect(&sender_, &serial::SerialSender::progressed, this, &TransferWindow::showProgress);
    connect(&sender_, &serial::SerialSender::heldChanged, this, &TransferWindow::showHeld);
    connect(&sender_, &serial::SerialSender::heldLong, this, &TransferWindow::askAfterLongHold);
    connect(&sender_, &serial::SerialSender::finished, this, &TransferWindow::sendingFinished);
    connect(&sender_, &serial::SerialSender::failed, this, &TransferWindow::sendingFailed);
}

void TransferWindow::readSettings()
{
    const QSettings settings;
    const QString port = settings.value(kPortKey).toString();
    Schnittstelle->setPort(port.isEmpty() && Schnittstelle->count() > 0 ? Schnittstelle->itemText(0) : port);
    const int baud = settings.value(kBaudKey, transfer::kDefaultBaud).toInt();
    Baud->setCurrentIndex(Baud->findData(transfer::IsBaudRate(baud) ? baud : transfer::kDefaultBaud));
    (settings.value(kWayKey).toString() == kRamDisk ? WegRamDisk : WegSpeicher)->setChecked(true);
}

void TransferWindow::Video_Click() { listFiles(); }

void TransferWindow::Baud_Click()
{
    QSettings().setValue(kBaudKey, baud());
    restart();
}

void TransferWindow::Weg_Click()
{
    QSettings().setValue(kWayKey, way() == transfer::Way::RamDisk ? kRamDisk : QStringLiteral("Speicher"));
    restart();
}

int TransferWindow::baud() const { return Baud->currentData().toInt(); }

transfer::Way TransferWindow::way() const
{
    return WegRamDisk->isChecked() ? transfer::Way::RamDisk : transfer::Way::Memory;
}

const transfer::VideoFile& TransferWindow::currentFile() const { return files_[plan_.steps[step_].file]; }

void TransferWindow::listFiles()
{
    const transfer::VideoListing listing = transfer::ListVideoFiles(ToPath(folder_), ToUtf8(Video->currentText()));
    files_ = listing.problem ? std::vector<transfer::VideoFile>{} : listing.files;
    Dateien->clear();
    for (const transfer::VideoFile& file : files_) {
        auto* row = new QTreeWidgetItem(Dateien);
        row->setText(Name, ToQString(file.name));
        row->setText(Size, ToQString(transfer::GroupDigits(file.bytes) + " Bytes"));
        row->setTextAlignment(Size, Qt::AlignRight | Qt::AlignVCenter);
        row->setTextAlignment(Time, Qt::AlignRight | Qt::AlignVCenter);
    }
    restart();
    if (listing.problem) {
        ShowMessageBox(this, *listing.problem);
    }
}

// A new rate, way or video starts over: the set-up lines and the first file come first again.
void TransferWindow::restart()
{
    plan_ = transfer::PlanTyping(files_, way(), baud());
    step_ = 0;
    skipped_ = 0;
    for (int row = 0; row < Dateien->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = Dateien->topLevelItem(row);
        item->setText(Time, ToQString(transfer::FormatDuration(transfer::LineSeconds(files_[row].bytes, baud()))));
        item->setText(State, {});
    }
    for (const std::size_t unneeded : plan_.unneeded) {
        Dateien->topLevelItem(static_cast<int>(unneeded))->setText(State, QStringLiteral("nicht nötig (nur RAM-Disk)"));
    }
    showTotals();
    Fortschritt->reset();
    Stand->clear();
    showStep();
}

void TransferWindow::showTotals() { Summe->setText(ToQString(transfer::PlanTotals(files_, plan_, baud()))); }

void TransferWindow::showStep()
{
    setSending(false);
    if (files_.empty()) {
        Anleitung->setText(QStringLiteral("Dieses Video lässt sich nicht senden."));
        Eingabezeilen->clear();
        return;
    }
    if (allSent()) {
        Anleitung->setText(ToQString(transfer::FinishNote(plan_, skipped_)));
        Eingabezeilen->setPlainText(Lines(plan_.startLines));
        return;
    }
    const QString name = ToQString(currentFile().name);
    const QString count = QStringLiteral("Schritt %1 von %2: ").arg(step_ + 1).arg(plan_.steps.size());
    std::vector<std::string> lines{plan_.steps[step_].line};
    if (step_ == 0) {
        lines.insert(lines.begin(), plan_.setup.begin(), plan_.setup.end());
        Anleitung->setText(count + QStringLiteral("Tippen Sie auf dem PC-1600 diese Zeilen ein, jede mit Enter "
                                                  "(die ersten beiden stellen die Schnittstelle ein). Dann hier "
                                                  "„Senden“ für %1.")
                                       .arg(name));
    } else {
        Anleitung->setText(
            count +
            QStringLiteral("Tippen Sie auf dem PC-1600 ein, drücken Sie Enter, dann hier „Senden“ für %1.").arg(name));
    }
    Eingabezeilen->setPlainText(Lines(lines));
    Dateien->topLevelItem(static_cast<int>(plan_.steps[step_].file))->setText(State, QStringLiteral("als Nächstes"));
}

void TransferWindow::setSending(bool sending)
{
    const bool ready = !sending && !files_.empty();
    // Focus follows the work: Abbrechen while a file goes, Senden for the next one after it,
    // rather than whatever follows a button that turns off (Schließen, where Enter closes).
    const bool cancelHadFocus = Abbrechen->hasFocus();
    for (QWidget* choice : std::initializer_list<QWidget*>{Video, Schnittstelle, Baud, WegSpeicher, WegRamDisk}) {
        choice->setEnabled(!sending);
    }
    Senden->setEnabled(ready);
    Senden->setText(ready && allSent() ? QStringLiteral("Von vorn") : QStringLiteral("Senden"));
    Ueberspringen->setEnabled(ready && !allSent());
    Abbrechen->setEnabled(sending);
    if (sending) {
        Abbrechen->setFocus();
    } else if (ready && cancelHadFocus) {
        Senden->setFocus();
    }
}

} // namespace velvix::ui
