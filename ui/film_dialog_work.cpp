#include "film_dialog.h"

#include "background_task.h"
#include "display_fit.h"
#include "frame_discovery.h"
#include "frame_folder.h"
#include "image_folder.h"
#include "lcd_picture.h"
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

#include <cmath>

// The parts of the film dialog that run off the window's thread: reading
// what the input holds, one picture for the look, and the frames themselves.
namespace velvix::ui {

namespace fs = std::filesystem;

namespace {

FilmDialog::Survey SurveyInput(const fs::path& input, bool folder)
{
    FilmDialog::Survey survey;
    if (folder) {
        frames::ImageList list = frames::ListImages(input);
        survey.images = std::move(list.images);
        survey.failure = list.failure;
        if (!survey.failure && survey.images.empty()) {
            survey.failure = frames::Failure{"Im Ordner „" + Utf8FromPath(input) +
                                             "“ liegen keine Bilder (PNG, JPEG, BMP, ...). Bitte einen Film oder ein "
                                             "Bild aus einem Ordner mit Bildern wählen."};
        }
        return survey;
    }
    std::error_code ec;
    if (!fs::is_regular_file(input, ec)) {
        // A pipe or a device would keep ffprobe waiting for ever.
        survey.failure = frames::Failure{"„" + Utf8FromPath(input) +
                                         "“ ist keine gewöhnliche Datei. Bitte einen Film oder ein Bild wählen."};
        return survey;
    }
    survey.facts = frames::ProbeFilm(frames::Decoders{}, input);
    survey.failure = survey.facts.failure;
    if (!survey.failure && !survey.facts.hasPicture) {
        survey.failure = frames::Failure{"In „" + Utf8FromPath(input) +
                                         "“ steckt kein Bild, vielleicht nur Ton. Bitte einen Film wählen."};
    }
    return survey;
}

Message Failed(const std::string& text) { return {"Fehler", text, Message::Icon::Warning, Message::Buttons::Ok}; }

// The film's name as a video name: letters and digits only, as Start takes it.
QString NameOf(const fs::path& input)
{
    QString name;
    for (const QChar c : ToQString(Utf8FromPath(input.filename().replace_extension()))) {
        if (c.isLetterOrNumber() && c.unicode() < 128) {
            name += c.toUpper();
        }
    }
    return name.left(7);
}

} // namespace

void FilmDialog::startSurvey()
{
    const fs::path input = input_;
    const bool folder = folderInput_;
    pictureThread_ = RunInBackground<Survey>(
        this, [input, folder] { return SurveyInput(input, folder); },
        [this](Survey survey) { surveyed(std::move(survey)); });
}

void FilmDialog::surveyed(Survey survey)
{
    survey_ = std::move(survey);
    pictureThread_ = nullptr;
    if (survey_->failure) {
        Bild->setText(QStringLiteral("kein Bild"));
        showCount();
        ShowMessageBox(this, Failed(survey_->failure->text));
        QDialog::reject();
        return;
    }
    if (folderInput_) {
        Stelle->setRange(0, static_cast<int>(survey_->images.size()) - 1);
        Stelle->setValue(0);
    } else {
        const double seconds = survey_->facts.seconds.value_or(0);
        // A start at the very end would give no frame at all.
        Start->setMaximum(seconds > 0.1 ? seconds - 0.1 : Start->maximum());
        Dauer->setMaximum(seconds > 0 ? seconds : Dauer->maximum());
        Stelle->setRange(0, std::max(0, static_cast<int>(seconds * 10) - 1));
        Stelle->setValue(Stelle->maximum() / 2);
    }
    showCount();
    showTarget();
    loadPicture();
}

void FilmDialog::wantPicture()
{
    StelleZeit->setText(folderInput_
                            ? QStringLiteral("Bild %1 / %2").arg(Stelle->value() + 1).arg(Stelle->maximum() + 1)
                            : Clock(Stelle->value() / 10.0));
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
    wantPicture();
    pictureDelay_.stop();
    const fs::path file = folderInput_ ? survey_->images[static_cast<std::size_t>(Stelle->value())] : input_;
    const double seconds = Stelle->value() / 10.0;
    const bool folder = folderInput_;
    using Loaded = std::pair<std::optional<frames::GreyImage>, std::string>;
    pictureThread_ = RunInBackground<Loaded>(
        this,
        [file, seconds, folder] {
            frames::GreyImage picture;
            const auto failure = folder ? frames::DecodeImage(frames::Decoders{}, file, picture)
                                        : frames::DecodeFilmPicture(frames::Decoders{}, file, seconds, picture);
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
    const frames::Job chosen = job();
    const double pixelAspect = folderInput_ ? 1 : survey_->facts.pixelAspect;
    const FramePixels dots = frames::ToOneBit(frames::FitToDisplay(*picture_, chosen.fit, pixelAspect), chosen.oneBit);
    Bild->setPixmap(QPixmap::fromImage(LcdPicture(dots, kPreviewScale)));
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
    std::error_code ec;
    if (fs::is_directory(work.outputFolder, ec) && frames::CheckOutputFolder(work.outputFolder, false)) {
        const int old = static_cast<int>(DiscoverFrames(work.outputFolder).framePaths.size());
        QMessageBox ask(QMessageBox::Question, QStringLiteral("Bilder ersetzen?"),
                        QStringLiteral("Im Ordner „%1“ liegen schon %2. Sollen die neuen Bilder sie ersetzen?\n"
                                       "Die alten bleiben, bis die neuen vollständig geschrieben sind.")
                            .arg(QDir::toNativeSeparators(ToQString(Utf8FromPath(work.outputFolder))),
                                 old > 0 ? QStringLiteral("%1 Bilder").arg(old) : QStringLiteral("Bilder")),
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
    cancel_->store(false);
    work.cancel = cancel_.get();
    const std::optional<int> expected = frameCount();
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
    if (outcome.cancelled) {
        Fortschritt->setValue(0);
        Fortschritt->setFormat(QStringLiteral("Abgebrochen; es wurde nichts geschrieben."));
        return;
    }
    if (outcome.failure) {
        Fortschritt->setValue(0);
        Fortschritt->setFormat(QStringLiteral("Nicht umgewandelt"));
        ShowMessageBox(this, Failed(outcome.failure->text));
        return;
    }
    emit framesMade(ToQString(Utf8FromPath(folder)), Bildrate->currentIndex(), NameOf(input_));
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
