// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "film_dialog.h"

#include "background_task.h"
#include "frame_bitmap.h"
#include "frame_discovery.h"
#include "frame_folder.h"
#include "frame_writer.h"
#include "lcd_view.h"
#include "message_box.h"
#include "std_qt.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

// The parts of the film dialog that run off the window's thread: reading
// what the input holds, one picture for the look, and the frames themselves.
namespace velvix::ui {

namespace fs = std::filesystem;

void FilmDialog::startSurvey()
{
    const fs::path input = input_;
    pictureThread_ = RunInBackground<frames::InputSurvey>(
        this, [input] { return frames::SurveyInput(input); },
        [this](frames::InputSurvey survey) { surveyed(std::move(survey)); });
}

void FilmDialog::surveyed(frames::InputSurvey survey)
{
    survey_ = std::move(survey);
    pictureThread_ = nullptr;
    if (survey_->failure) {
        Bild->setText(QStringLiteral("kein Bild"));
        showCount();
        ShowMessageBox(this, *survey_->failure);
        QDialog::reject();
        return;
    }
    picture_ = std::move(survey_->picture);
    survey_->picture.reset();
    const QSignalBlocker still(Stelle); // the picture at the start is there already
    if (folderInput_) {
        Stelle->setRange(0, static_cast<int>(survey_->images.size()) - 1);
    } else {
        const double seconds = survey_->film.seconds.value_or(0);
        // A start at the very end would give no frame at all.
        Start->setMaximum(seconds > 0.1 ? seconds - 0.1 : Start->maximum());
        Dauer->setMaximum(seconds > 0 ? seconds : Dauer->maximum());
        Stelle->setRange(0, std::max(0, static_cast<int>(seconds * 10) - 1));
    }
    Stelle->setValue(0);
    StelleZeit->setText(placeText());
    showCount();
    showTarget();
    showPicture();
    if (!folderInput_) {
        Stelle->setValue(Stelle->maximum() / 2); // the middle of a film says more than its often dark start
        loadPicture();
    }
    startFit();
}

QString FilmDialog::placeText() const
{
    return folderInput_ ? QStringLiteral("Bild %1 / %2").arg(Stelle->value() + 1).arg(Stelle->maximum() + 1)
                        : ToQString(frames::Clock(Stelle->value() / 10.0));
}

void FilmDialog::wantPicture()
{
    StelleZeit->setText(placeText());
    pictureDelay_.start();
}

// One picture at a time: a wish that comes while one loads is kept and
// served with the slider's place when that one is done.
void FilmDialog::loadPicture()
{
    if (!survey_ || survey_->failure) {
        return;
    }
    if (pictureThread_ != nullptr) {
        pictureWanted_ = true;
        return;
    }
    pictureWanted_ = false;
    StelleZeit->setText(placeText());
    pictureDelay_.stop();
    using Loaded = std::pair<std::optional<frames::GreyImage>, std::string>;
    pictureThread_ = RunInBackground<Loaded>(
        this,
        [survey = *survey_, input = input_, place = Stelle->value()] {
            frames::GreyImage picture;
            const auto failure = frames::PictureAt(survey, input, place, picture);
            return failure ? Loaded{std::nullopt, failure->text} : Loaded{std::move(picture), {}};
        },
        [this](Loaded loaded) { pictureLoaded(std::move(loaded.first), ToQString(loaded.second)); });
}

void FilmDialog::pictureLoaded(std::optional<frames::GreyImage> picture, const QString& failure)
{
    pictureThread_ = nullptr;
    picture_ = std::move(picture);
    Bild->setToolTip(failure);
    showPicture();
    if (pictureWanted_) {
        loadPicture();
    }
}

void FilmDialog::showPicture()
{
    if (!picture_) {
        Bild->setPixmap({});
        Bild->setText(QStringLiteral("An dieser Stelle gibt es kein Bild."));
        return;
    }
    const FramePixels dots = frames::LookOf(*picture_, *survey_, job());
    Bild->setPixmap(QPixmap::fromImage(LcdImage(PackFrame(MakeFrameFile(dots)), kPreviewScale)));
}

void FilmDialog::ZielWaehlen_Click()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Zielordner wählen"), Ziel->text());
    if (!folder.isEmpty()) {
        Ziel->setText(QDir::toNativeSeparators(folder));
    }
}

void FilmDialog::Umwandeln_Click()
{
    frames::Job work = job();
    const frames::FolderFrames old = frames::FramesIn(work.outputFolder, *work.folderOps);
    if (!old.frames.empty()) {
        QMessageBox ask(QMessageBox::Question, QStringLiteral("Bilder ersetzen?"),
                        QStringLiteral("Im Ordner „%1“ liegen schon %2 Bilder. Sollen die neuen Bilder sie "
                                       "ersetzen?\nDie alten bleiben, bis die neuen vollständig geschrieben sind.")
                            .arg(QDir::toNativeSeparators(ToQString(Utf8FromPath(work.outputFolder))))
                            .arg(old.frames.size()),
                        QMessageBox::Yes | QMessageBox::Cancel, this);
        ask.setTextFormat(Qt::PlainText);
        ask.button(QMessageBox::Yes)->setText(QStringLiteral("Ersetzen"));
        ask.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
        ask.setDefaultButton(QMessageBox::Cancel);
        if (ask.exec() != QMessageBox::Yes) {
            return;
        }
        work.replace = true;
    }
    fitCancel_->store(true); // the frames need the processor more
    fitDelay_.stop();
    cancel_->store(false);
    work.cancel = cancel_.get();
    const std::optional<int> expected = jobSurvey().frames;
    Fortschritt->setRange(0, std::min(expected.value_or(kMaxFrames), kMaxFrames));
    Fortschritt->setValue(0);
    Fortschritt->setFormat(QStringLiteral("Bild %v von %m"));
    const auto keep = cancel_; // the flag outlives the dialog while the thread runs
    workThread_ = RunInBackground<frames::Outcome>(
        this,
        [this, work, keep] {
            return frames::MakeFrames(work, [this](int done, int) {
                QMetaObject::invokeMethod(
                    this, [this, done] { Fortschritt->setValue(done); }, Qt::QueuedConnection);
            });
        },
        [this, folder = work.outputFolder](frames::Outcome outcome) { converted(outcome, folder); });
    setWorking(true);
}

void FilmDialog::converted(const frames::Outcome& outcome, const fs::path& folder)
{
    workThread_ = nullptr;
    setWorking(false);
    showTarget();
    if (closeWhenStopped_) {
        QDialog::reject();
        return;
    }
    wantFit(false);
    if (outcome.cancelled) {
        Fortschritt->setValue(0);
        Fortschritt->setFormat(QStringLiteral("Abgebrochen; es wurde nichts geschrieben."));
        return;
    }
    if (outcome.failure) {
        Fortschritt->setValue(0);
        Fortschritt->setFormat(QStringLiteral("Nicht umgewandelt"));
        ShowMessageBox(this, *outcome.failure);
        return;
    }
    emit framesMade(ToQString(Utf8FromPath(folder)), Bildrate->currentIndex(),
                    ToQString(frames::SuggestedVideoName(input_)));
    accept();
}

// Abbrechen, Escape or the close box: while the frames are made, the work
// stops first; the dialog closes when it has.
void FilmDialog::reject()
{
    if (workThread_ == nullptr) {
        QDialog::reject();
        return;
    }
    cancel_->store(true);
    closeWhenStopped_ = closeWhenStopped_ || sender() != Abbrechen;
}

} // namespace velvix::ui
