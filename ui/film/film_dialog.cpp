// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "film_dialog.h"

#include "frame_folder.h"
#include "lcd_view.h"
#include "memory_budget.h"
#include "named.h"
#include "places.h"
#include "std_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace velvix::ui {

namespace fs = std::filesystem;

namespace {

// A new folder beside the film, named after it; for a folder of images one
// beside that folder, since the frames may not go among the images.
fs::path DefaultTarget(const fs::path& input, bool folder)
{
    const fs::path place = input.parent_path();
    return folder ? place / (input.filename().native() + " PC-1600") : place / input.stem();
}

QSpinBox* NumberBox(const char* name, int lowest, int highest, int value, const char* suffix = "")
{
    auto* box = Named(new QSpinBox, name);
    box->setRange(lowest, highest);
    box->setValue(value);
    box->setSuffix(QString::fromUtf8(suffix));
    return box;
}

QDoubleSpinBox* SecondsBox(const char* name, const char* atZero)
{
    auto* box = Named(new QDoubleSpinBox, name);
    box->setDecimals(1);
    box->setSingleStep(1);
    box->setSuffix(QStringLiteral(" s"));
    box->setSpecialValueText(QString::fromUtf8(atZero));
    box->setMaximum(24 * 3600);
    return box;
}

} // namespace

FilmDialog::FilmDialog(const fs::path& input, int rateIndex, int frameCapacity, QWidget* parent)
    : QDialog(parent), input_(input), folderInput_(fs::is_directory(input)), frameCapacity_(frameCapacity)
{
    setObjectName(QStringLiteral("FilmUmwandeln"));
    setWindowTitle(QStringLiteral("Film umwandeln"));
    createControls(rateIndex);
    connectHandlers();
    setWorking(false);
    startSurvey();
}

FilmDialog::~FilmDialog()
{
    // The threads report to this dialog, so it waits for them; a cancelled
    // film ends at its next picture.
    cancel_->store(true);
    fitCancel_->store(true);
    for (QThread* thread : {pictureThread_.data(), workThread_.data(), fitThread_.data()}) {
        if (thread != nullptr) {
            thread->wait();
        }
    }
}

void FilmDialog::createControls(int rateIndex)
{
    Eingabe = Named(new QLabel((folderInput_ ? QStringLiteral("Bilder aus: ") : QStringLiteral("Film: ")) +
                               QDir::toNativeSeparators(ToQString(Utf8FromPath(input_)))),
                    "Eingabe");
    Eingabe->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Eingabe->setWordWrap(true);

    Bild = Named(new QLabel(QStringLiteral("Film wird gelesen …")), "Bild");
    Bild->setFixedSize(LcdImage({}, kPreviewScale).size() + QSize(4, 4));
    Bild->setAlignment(Qt::AlignCenter);
    Bild->setFrameShape(QFrame::Box);
    Stelle = Named(new QSlider(Qt::Horizontal), "Stelle");
    StelleZeit = Named(new QLabel, "StelleZeit");
    StelleZeit->setMinimumWidth(StelleZeit->fontMetrics().horizontalAdvance(QStringLiteral("Bild 299 / 299")));

    Bildrate = Named(new QComboBox, "Bildrate");
    for (const FrameRate& rate : kFrameRates) {
        Bildrate->addItem(QString::fromUtf8(rate.entry));
    }
    Bildrate->setCurrentIndex(std::clamp(rateIndex, 0, static_cast<int>(kFrameRates.size()) - 1));
    Start = SecondsBox("Start", "");
    Dauer = SecondsBox("Dauer", "bis zum Ende");
    Ausschnitt = Named(new QComboBox, "Ausschnitt");
    Ausschnitt->addItems({QStringLiteral("Display füllen"), QStringLiteral("ganzes Bild, weiße Ränder")});

    Verfahren = Named(new QComboBox, "Verfahren");
    for (const frames::MethodEntry& entry : frames::kMethods) {
        Verfahren->addItem(QString::fromUtf8(entry.name));
    }
    const frames::OneBit defaults;
    Schwelle = NumberBox("Schwelle", 1, 255, defaults.level);
    Helligkeit = NumberBox("Helligkeit", -100, 100, defaults.brightness);
    Kontrast = NumberBox("Kontrast", 0, 400, defaults.contrast, " %");
    Invertieren = Named(new QCheckBox(QStringLiteral("Schwarz und Weiß tauschen")), "Invertieren");

    Anzahl = Named(new QLabel, "Anzahl");
    Erste299 = Named(new QCheckBox, "Erste299");
    Speicher = Named(new QLabel, "Speicher");
    Speicher->setWordWrap(true);
    SpeicherKompakt = Named(new QLabel, "SpeicherKompakt");
    SpeicherKompakt->setWordWrap(true);

    Ziel = Named(new QLineEdit(QDir::toNativeSeparators(ToQString(Utf8FromPath(DefaultTarget(input_, folderInput_))))),
                 "Ziel");
    ZielWaehlen = Named(new QPushButton(QStringLiteral("Ändern …")), "ZielWaehlen");
    ZielHinweis = Named(new QLabel, "ZielHinweis");
    ZielHinweis->setWordWrap(true);
    Fortschritt = Named(new QProgressBar, "Fortschritt");
    Umwandeln = Named(new QPushButton(QStringLiteral("Umwandeln")), "Umwandeln");
    Umwandeln->setDefault(true);
    Abbrechen = Named(new QPushButton(QStringLiteral("Abbrechen")), "Abbrechen");

    auto* options = new QGridLayout;
    const auto row = [options](int line, int column, const char* caption, QWidget* field) {
        options->addWidget(new QLabel(QString::fromUtf8(caption)), line, column);
        options->addWidget(field, line, column + 1);
    };
    row(0, 0, "Bilder pro Sekunde:", Bildrate);
    row(1, 0, "Start:", Start);
    row(2, 0, "Dauer:", Dauer);
    row(3, 0, "Bildausschnitt:", Ausschnitt);
    row(0, 3, "Verfahren:", Verfahren);
    row(1, 3, "Schwelle:", Schwelle);
    row(2, 3, "Helligkeit:", Helligkeit);
    row(3, 3, "Kontrast:", Kontrast);
    options->addWidget(Invertieren, 4, 4);
    options->setColumnMinimumWidth(2, 16);
    options->setColumnStretch(1, 1);
    options->setColumnStretch(4, 1);

    auto* place = new QHBoxLayout;
    place->addWidget(new QLabel(QStringLiteral("Stelle:")));
    place->addWidget(Stelle, 1);
    place->addWidget(StelleZeit);

    auto* target = new QHBoxLayout;
    target->addWidget(new QLabel(QStringLiteral("Zielordner:")));
    target->addWidget(Ziel, 1);
    target->addWidget(ZielWaehlen);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Fortschritt, 1);
    buttons->addSpacing(12);
    buttons->addWidget(Umwandeln);
    buttons->addWidget(Abbrechen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Eingabe);
    layout->addWidget(Bild, 0, Qt::AlignHCenter);
    layout->addLayout(place);
    layout->addSpacing(6);
    layout->addLayout(options);
    layout->addSpacing(6);
    layout->addWidget(Anzahl);
    layout->addWidget(Erste299);
    layout->addWidget(Speicher);
    layout->addWidget(SpeicherKompakt);
    layout->addSpacing(6);
    layout->addLayout(target);
    layout->addWidget(ZielHinweis);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FilmDialog::connectHandlers()
{
    pictureDelay_.setSingleShot(true);
    pictureDelay_.setInterval(150);
    connect(&pictureDelay_, &QTimer::timeout, this, &FilmDialog::loadPicture);
    connect(Stelle, &QSlider::valueChanged, this, &FilmDialog::wantPicture);
    // A new start shows the picture there: that is where the frames begin.
    connect(Start, &QDoubleSpinBox::valueChanged, this, [this](double seconds) {
        Stelle->setValue(static_cast<int>(std::lround(seconds * 10)));
        showCount();
    });
    for (QComboBox* list : {Ausschnitt, Verfahren}) {
        connect(list, &QComboBox::currentIndexChanged, this, &FilmDialog::showPicture);
    }
    for (QSpinBox* box : {Schwelle, Helligkeit, Kontrast}) {
        connect(box, &QSpinBox::valueChanged, this, &FilmDialog::showPicture);
    }
    connect(Invertieren, &QCheckBox::toggled, this, &FilmDialog::showPicture);
    connect(Verfahren, &QComboBox::currentIndexChanged, this, [this] {
        Schwelle->setEnabled(frames::kMethods[static_cast<std::size_t>(Verfahren->currentIndex())].method ==
                             frames::Method::Threshold);
    });
    connect(Bildrate, &QComboBox::currentIndexChanged, this, &FilmDialog::showCount);
    fitDelay_.setSingleShot(true);
    fitDelay_.setInterval(400);
    connect(&fitDelay_, &QTimer::timeout, this, &FilmDialog::startFit);
    for (QComboBox* list : {Bildrate, Ausschnitt}) {
        connect(list, &QComboBox::currentIndexChanged, this, [this] { wantFit(true); });
    }
    for (QDoubleSpinBox* box : {Start, Dauer}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { wantFit(true); });
    }
    for (QSpinBox* box : {Schwelle, Helligkeit, Kontrast}) {
        connect(box, &QSpinBox::valueChanged, this, [this] { wantFit(false); });
    }
    connect(Invertieren, &QCheckBox::toggled, this, [this] { wantFit(false); });
    connect(Verfahren, &QComboBox::currentIndexChanged, this, &FilmDialog::showFit);
    connect(Dauer, &QDoubleSpinBox::valueChanged, this, &FilmDialog::showCount);
    connect(Erste299, &QCheckBox::toggled, this, &FilmDialog::showCount);
    connect(Ziel, &QLineEdit::textChanged, this, &FilmDialog::showTarget);
    connect(ZielWaehlen, &QPushButton::clicked, this, &FilmDialog::ZielWaehlen_Click);
    connect(Umwandeln, &QPushButton::clicked, this, &FilmDialog::Umwandeln_Click);
    connect(Abbrechen, &QPushButton::clicked, this, &FilmDialog::reject);
    Schwelle->setEnabled(false);
}

frames::Job FilmDialog::job() const
{
    frames::Job job;
    job.input = input_;
    job.outputFolder = ToPath(QDir::fromNativeSeparators(Ziel->text().trimmed()));
    job.part.rate = kFrameRates[static_cast<std::size_t>(Bildrate->currentIndex())].perSecond;
    if (!folderInput_ && Start->value() > 0) {
        job.part.start = Start->value();
    }
    if (!folderInput_ && Dauer->value() > 0) {
        job.part.length = Dauer->value();
    }
    job.fit = Ausschnitt->currentIndex() == 0 ? frames::Fit::Fill : frames::Fit::Bars;
    job.oneBit.method = frames::kMethods[static_cast<std::size_t>(Verfahren->currentIndex())].method;
    job.oneBit.level = Schwelle->value();
    job.oneBit.brightness = Helligkeit->value();
    job.oneBit.contrast = Kontrast->value();
    job.oneBit.invert = Invertieren->isChecked();
    job.firstFramesOnly = Erste299->isChecked();
    return job;
}

frames::JobSurvey FilmDialog::jobSurvey() const
{
    return survey_ ? frames::SurveyJob(*survey_, job(), frameCapacity_) : frames::JobSurvey{};
}

void FilmDialog::showCount()
{
    const frames::JobSurvey count = jobSurvey();
    Anzahl->setText(survey_ ? ToQString(count.count) : QStringLiteral("Film wird gelesen …"));
    Anzahl->setStyleSheet(count.frames && count.tooMany ? QStringLiteral("color: #b00000") : QString());
    Erste299->setText(ToQString(count.firstOnly));
    Erste299->setVisible(survey_ && count.tooMany);
    Speicher->setText(ToQString(count.memory));
    Speicher->setVisible(count.frames.has_value());
    SpeicherKompakt->setVisible(fitWorthShowing());
    setWorking(workThread_ != nullptr);
}

void FilmDialog::showTarget()
{
    const fs::path folder = job().outputFolder;
    std::error_code ec;
    QString hint;
    if (folder.empty()) {
        hint = QStringLiteral("Bitte einen Zielordner angeben.");
    } else if (const auto refused = frames::CheckOutputPlace(input_, folder)) {
        hint = ToQString(refused->text);
    } else if (!fs::exists(folder, ec)) {
        hint = QStringLiteral("Der Ordner wird neu angelegt.");
    } else if (!fs::is_directory(folder, ec)) {
        hint = QStringLiteral("Das ist eine Datei, kein Ordner. Bitte einen anderen Zielordner wählen.");
    } else if (const frames::FolderFrames there = frames::FramesIn(folder, frames::DefaultFramesFolderOps());
               there.failure) {
        hint = ToQString(there.failure->text);
    } else if (!there.frames.empty()) {
        hint = QStringLiteral("Dort liegen schon Bilder. Sie werden nach Rückfrage ersetzt; die alten bleiben, bis "
                              "die neuen vollständig sind.");
    } else {
        hint = QStringLiteral("Die Bilder kommen in diesen Ordner.");
    }
    ZielHinweis->setText(hint);
    setWorking(workThread_ != nullptr);
}

void FilmDialog::setWorking(bool working)
{
    for (QWidget* control : std::initializer_list<QWidget*>{Bildrate, Ausschnitt, Verfahren, Helligkeit, Kontrast,
                                                            Invertieren, Erste299, Ziel, ZielWaehlen}) {
        control->setEnabled(!working);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{Start, Dauer}) {
        control->setEnabled(!working && !folderInput_);
    }
    Schwelle->setEnabled(!working && job().oneBit.method == frames::Method::Threshold);
    Umwandeln->setEnabled(!working && jobSurvey().convertible && !job().outputFolder.empty());
}

} // namespace velvix::ui
