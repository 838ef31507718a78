// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "film_dialog.h"

#include "background_task.h"
#include "display_pictures.h"
#include "frame_discovery.h"
#include "std_qt.h"

#include <QLabel>

#include <algorithm>

// How many frames fit the memory plain and compact: the film is read once
// into display pictures off the window's thread; each change of the dots
// only dithers and encodes those again.
namespace velvix::ui {

bool FilmDialog::fitWorthShowing() const
{
    if (!survey_ || survey_->failure) {
        return false;
    }
    const std::optional<int> frames = jobSurvey().frames;
    return !frames || *frames > frameCapacity_;
}

void FilmDialog::wantFit(bool readAgain)
{
    if (readAgain) {
        fitCancel_->store(true);
        fitPictures_.reset();
    }
    fit_.reset();
    fitDelay_.start();
}

// One fit at a time: a wish that comes while one runs is served when it ends.
void FilmDialog::startFit()
{
    if (!fitWorthShowing() || workThread_ != nullptr) {
        return;
    }
    if (fitThread_ != nullptr) {
        fitWanted_ = true;
        return;
    }
    fitWanted_ = false;
    fitDelay_.stop();
    fitCancel_ = std::make_shared<std::atomic<bool>>(false);
    const auto cancel = fitCancel_;
    frames::Job work = job();
    work.firstFramesOnly = true; // more are never made
    work.cancel = cancel.get();
    SpeicherKompakt->setText(QStringLiteral("Passen in den Speicher: wird berechnet …"));
    fitThread_ = RunInBackground<Fitted>(
        this,
        [this, work, cancel, pictures = fitPictures_, capacity = frameCapacity_] {
            Fitted result{pictures, std::nullopt, std::nullopt};
            if (!result.pictures) {
                frames::DisplayPictures read =
                    frames::ReadDisplayPictures(work, [this, cancel](int done, int expected) {
                        QMetaObject::invokeMethod(
                            this,
                            [this, cancel, done, expected] {
                                if (!cancel->load()) {
                                    fitProgress(done, expected);
                                }
                            },
                            Qt::QueuedConnection);
                    });
                if (read.cancelled || read.failure) {
                    result.failure = read.failure;
                    return result;
                }
                result.pictures = std::make_shared<const std::vector<frames::GreyImage>>(std::move(read.pictures));
            }
            result.fit = frames::FitInMemory(*result.pictures, work.oneBit, work.part.rate, capacity);
            return result;
        },
        [this, cancel](Fitted result) { fitted(std::move(result), cancel->load()); });
}

void FilmDialog::fitProgress(int done, int expected)
{
    const QString of = expected > 0 ? QStringLiteral(" von %1").arg(std::min(expected, kMaxFrames)) : QString();
    SpeicherKompakt->setText(QStringLiteral("Passen in den Speicher: wird berechnet (Bild %1%2) …").arg(done).arg(of));
}

void FilmDialog::fitted(Fitted result, bool outdated)
{
    fitThread_ = nullptr;
    if (!outdated) {
        fitPictures_ = std::move(result.pictures);
        fit_ = result.fit;
        if (result.failure) {
            SpeicherKompakt->setText(QStringLiteral("Wie viele Bilder in den Speicher passen, ließ sich nicht "
                                                    "berechnen: ") +
                                     ToQString(result.failure->text));
        }
        showFit();
    }
    if (fitWanted_) {
        startFit();
    }
}

void FilmDialog::showFit()
{
    if (fit_) {
        SpeicherKompakt->setText(ToQString(frames::FitText(*fit_, job().oneBit.method)));
    }
}

} // namespace velvix::ui
