// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "drive.h"

#include "compression.h"
#include "folder_list.h"
#include "help_window.h"
#include "later_window.h"
#include "program_name.h"
#include "start_folder.h"
#include "std_qt.h"
#include "video_name.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace velvix::ui {

namespace {

QFont ArialFont(double pointSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// Captions, value displays, buttons and the name field.
QFont TextFont(bool bold) { return ArialFont(9.75, bold); }

// The lists: their entries fit the narrow boxes only in the smaller size.
QFont ListFont() { return ArialFont(8.25, false); }

template <typename Widget> Widget* Place(Widget* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* Caption(QWidget* window, const char* name, const char* text, const QRect& geometry)
{
    auto* label = Place(new QLabel(QString::fromUtf8(text), window), name, geometry);
    label->setFont(TextFont(true));
    return label;
}

// A separator from (x1, y) to (x2, y).
void Line(QWidget* window, int x1, int x2, int y)
{
    auto* line = Place(new QFrame(window), "Line1", QRect(x1, y, x2 - x1 + 1, 1));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
}

QLineEdit* ValueDisplay(QWidget* window, const char* name, const QRect& geometry)
{
    auto* display = Place(new QLineEdit(window), name, geometry);
    display->setFont(TextFont(true));
    display->setReadOnly(true);
    display->setFocusPolicy(Qt::NoFocus);
    return display;
}

QPushButton* Button(QWidget* window, const char* name, const char* text, const QRect& geometry)
{
    return Place(new QPushButton(QString::fromUtf8(text), window), name, geometry);
}

} // namespace

Drive::Drive(QWidget* parent) : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window); // a dialog for its default button, framed as a main window
    setWindowTitle(QString::fromUtf8(kProgramName));
    // The lists' font, which a combo box must have from the start: given later, it makes the box
    // build its drop-down list at once rather than when first opened. The rest take the text font.
    setFont(ListFont());
    setFixedSize(554, 485);

    createControls();
    connectHandlers();
    Form_Load();
}

void Drive::createControls()
{
    Label1 = Caption(this, "Label1", " Bilderordner wählen :", {16, 24, 145, 17});
    Laufwerk = Place(new QComboBox(this), "Laufwerk", {16, 48, 193, 21});
    PfadOrdner = Place(new FolderList(this), "PfadOrdner", {16, 71, 192, 186});
    FileOrdner = Place(new QListWidget(this), "FileOrdner", {16, 256, 192, 162});
    Label2 = Caption(this, "Label2", "Video-Bilder pro Sekunde:", {240, 24, 177, 17});
    Combo1 = Place(new QComboBox(this), "Combo1", {440, 24, 89, 21});
    Text2 = Caption(this, "Text2", "Speicherausbau PC-1600  :", {240, 64, 169, 17});
    Text4 = Caption(this, "Text4", "Slot S1:", {360, 91, 57, 18});
    Combo2 = Place(new QComboBox(this), "Combo2", {440, 88, 89, 21});
    Text5 = Caption(this, "Text5", "Slot S2:", {360, 122, 57, 19});
    Combo3 = Place(new QComboBox(this), "Combo3", {440, 120, 89, 21});
    Text3 = Caption(this, "Text3", "Max.Videolänge ohne Kompression :", {240, 157, 233, 17});
    TextVideoLng = ValueDisplay(this, "TextVideoLng", {480, 155, 49, 24});
    Line(this, 240, 528, 192);
    Text6 = Caption(this, "Text6", "Video Name:", {240, 207, 89, 17});
    VideoName = Place(new QLineEdit(this), "VideoName", {368, 207, 161, 24});
    Label5 = Caption(this, "Label5", "Videokompression:", {240, 245, 121, 17});
    CheckVKomp = Place(new QCheckBox(this), "CheckVKomp", {368, 245, 17, 17});
    Label6 = Caption(this, "Label6", "Stärke:", {408, 245, 57, 17});
    ComboVKompST = Place(new QComboBox(this), "ComboVKompST", {464, 245, 65, 21});
    Label7 = Caption(this, "Label7", "Videolänge auf dem PC-1600 (Sek.) :", {240, 283, 233, 17});
    TextVidSekReal = ValueDisplay(this, "TextVidSekReal", {480, 283, 49, 24});
    Line(this, 240, 528, 319);
    Label3 = Caption(this, "Label3", "Videoplayer für den PC-1600 erzeugen:", {240, 337, 257, 17});
    CheckvPlay = Place(new QCheckBox(this), "CheckvPlay", {512, 337, 17, 17});
    Label4 = Caption(this, "Label4", "Basic Startprogramm erzeugen:", {240, 363, 209, 17});
    CheckStartBas = Place(new QCheckBox(this), "CheckStartBas", {512, 363, 17, 17});
    // Below the file list: the compact format, and how many frames it fitted in the last run.
    CheckKompakt = Place(new QCheckBox(QStringLiteral("Kompakt"), this), "CheckKompakt", {16, 424, 81, 20});
    TextKompakt = Place(new QLabel(this), "TextKompakt", {100, 424, 109, 20});
    Eingabe = Button(this, "Eingabe", "Start", {232, 400, 89, 25});
    Abbruch = Button(this, "Abbruch", "Abbruch", {344, 400, 89, 25});
    Hilfe = Button(this, "Hilfe", "Hilfe", {456, 400, 81, 25});
    // The row for the steps before and after a run: film to frames, a look at the video, sending it.
    Film = Button(this, "Film", "Film…", {16, 448, 193, 25});
    Vorschau = Button(this, "Vorschau", "Vorschau", {232, 448, 89, 25});
    Uebertragen = Button(this, "Uebertragen", "Übertragen", {344, 448, 89, 25});

    for (QWidget* control :
         std::initializer_list<QWidget*>{VideoName, CheckVKomp, CheckvPlay, CheckStartBas, CheckKompakt, Eingabe,
                                         Abbruch, Hilfe, Film, Vorschau, Uebertragen}) {
        control->setFont(TextFont(false));
    }
    QPalette red = TextVidSekReal->palette();
    red.setColor(QPalette::Text, Qt::red);
    TextVidSekReal->setPalette(red);
    CheckVKomp->setChecked(true);
}

// User choices come through `activated`, which also fires when the entry
// already shown is chosen again; the program's own choices call the handler
// themselves.
void Drive::connectHandlers()
{
    connect(Laufwerk, &QComboBox::activated, this, &Drive::Laufwerk_Change);
    connect(PfadOrdner, &FolderList::openRequested, this, &Drive::openFolder);
    connect(PfadOrdner, &FolderList::pathChanged, this, &Drive::PfadOrdner_Change);
    connect(FileOrdner, &QListWidget::itemClicked, this, &Drive::FileOrdner_Click);
    connect(Combo1, &QComboBox::activated, this, &Drive::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &Drive::Combo2_Click);
    connect(Combo3, &QComboBox::activated, this, &Drive::Combo3_Click);
    connect(ComboVKompST, &QComboBox::activated, this, &Drive::ComboVKompST_Click);
    connect(Eingabe, &QPushButton::clicked, this, &Drive::Eingabe_Click);
    connect(Abbruch, &QPushButton::clicked, this, &Drive::Abbruch_Click);
    connect(Hilfe, &QPushButton::clicked, this, &Drive::Hilfe_Click);
    connect(Film, &QPushButton::clicked, this, &Drive::Film_Click);
    connect(Vorschau, &QPushButton::clicked, this, &Drive::Vorschau_Click);
    connect(Uebertragen, &QPushButton::clicked, this, &Drive::Uebertragen_Click);
}

void Drive::Form_Load()
{
    openFolder(WindowStartFolder());
    Eingabe->setDefault(true);

    for (const char* entry : kStrengthEntries) {
        ComboVKompST->addItem(QString::fromUtf8(entry));
    }
    ComboVKompST->setCurrentIndex(2);
    ComboVKompST_Click();

    for (const FrameRate& rate : kFrameRates) {
        Combo1->addItem(QString::fromUtf8(rate.entry));
    }
    Combo1->setCurrentIndex(2);
    Combo1_Click();

    for (const char* entry : kSlot1Entries) {
        Combo2->addItem(QString::fromUtf8(entry));
    }
    Combo2->setCurrentIndex(0);
    Combo2_Click();

    for (const char* entry : kSlot2Entries) {
        Combo3->addItem(QString::fromUtf8(entry));
    }
    Combo3->setCurrentIndex(0);
    Combo3_Click();

    Eingabe->setFocus();
}

void Drive::Eingabe_Click()
{
    if (!SettleSwapLater(this, converter_.frameFolder(), *this)) {
        StartRunLater(this, converter_);
    }
    listBitmaps(); // the run may have written or renumbered bitmaps
}

void Drive::Abbruch_Click() { close(); }

void Drive::Hilfe_Click() { Form1::Show(); }

// The video of the folder shown, the last run's name first.
void Drive::Vorschau_Click()
{
    OpenPreviewLater(this, PfadOrdner->path(), ToQString(converter_.settings().outputName));
}

// The video of the folder shown: the last run's first, else the one whose name is typed.
void Drive::Uebertragen_Click()
{
    const std::string& lastRun = converter_.settings().outputName;
    OpenTransferLater(this, PfadOrdner->path(), ToQString(lastRun.empty() ? CleanVideoName(videoName()) : lastRun));
}

void Drive::Combo1_Click() { converter_.budget().chooseFrameRate(Combo1->currentIndex()); }

void Drive::Combo2_Click() { converter_.budget().chooseSlot1(Combo2->currentIndex()); }

void Drive::Combo3_Click() { converter_.budget().chooseSlot2(Combo3->currentIndex()); }

void Drive::ComboVKompST_Click() { converter_.chooseStrength(ComboVKompST->currentIndex()); }

void Drive::keyPressEvent(QKeyEvent* event)
{
    // The window has no cancel button, so Escape must not close it as it
    // would close a dialog. Enter reaches the default button from here.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace velvix::ui
