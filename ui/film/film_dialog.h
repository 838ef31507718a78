// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "film_survey.h"
#include "make_frames.h"
#include "memory_fit.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class QThread;

namespace velvix::ui {

// "Film umwandeln": a film (or a folder of images) to frames, with the
// options of velvix-frames, a look at one frame as the PC-1600 shows it,
// the count against the memory the main window offers, and the target
// folder. The frames library does the work on threads of its own; the
// dialog only starts it and shows what comes back.
class FilmDialog : public QDialog {
    Q_OBJECT

public:
    // `rateIndex` into kFrameRates; `frameCapacity`: the frames the main
    // window's memory choice holds.
    FilmDialog(const std::filesystem::path& input, int rateIndex, int frameCapacity, QWidget* parent);
    ~FilmDialog() override;

signals:
    // The frames are complete in `folder`, made at kFrameRates[rateIndex].
    void framesMade(const QString& folder, int rateIndex, const QString& filmName);

protected:
    void reject() override;

private:
    void createControls(int rateIndex);
    void connectHandlers();

    frames::Job job() const;
    frames::JobSurvey jobSurvey() const;
    void showCount();
    void showTarget();
    void setWorking(bool working);

    // film_dialog_work.cpp: the threads that read the input, load a picture and make the frames.
    void startSurvey();
    void surveyed(frames::InputSurvey survey);
    QString placeText() const;
    void wantPicture();
    void loadPicture();
    void pictureLoaded(std::optional<frames::GreyImage> picture, const QString& failure);
    void showPicture();
    void Umwandeln_Click();
    void ZielWaehlen_Click();
    void converted(const frames::Outcome& outcome, const std::filesystem::path& folder);

    // film_dialog_fit.cpp: how many frames fit plain and compact, from pictures read once.
    struct Fitted {
        std::shared_ptr<const std::vector<frames::GreyImage>> pictures;
        std::optional<frames::MemoryFit> fit;
        std::optional<Message> failure;
    };
    bool fitWorthShowing() const;
    void wantFit(bool readAgain);
    void startFit();
    void fitProgress(int done, int expected);
    void fitted(Fitted result, bool outdated);
    void showFit();

    static constexpr int kPreviewScale = 3; // screen pixels per dot

    std::filesystem::path input_;
    bool folderInput_;
    int frameCapacity_;
    std::optional<frames::InputSurvey> survey_;
    std::optional<frames::GreyImage> picture_; // the grey frame at the slider, before fit and dots
    bool pictureWanted_ = false;
    bool closeWhenStopped_ = false;
    QTimer pictureDelay_; // a dragged slider asks for one picture, not for every step
    QPointer<QThread> pictureThread_;
    QPointer<QThread> workThread_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    // Display pictures for the fit while rate, stretch and fit stay; its thread
    // is cancelled when they change, so a new film part is read at once.
    std::shared_ptr<const std::vector<frames::GreyImage>> fitPictures_;
    std::optional<frames::MemoryFit> fit_;
    bool fitWanted_ = false;
    QTimer fitDelay_;
    QPointer<QThread> fitThread_;
    std::shared_ptr<std::atomic<bool>> fitCancel_ = std::make_shared<std::atomic<bool>>(false);

    QLabel* Eingabe;
    QLabel* Bild;
    QSlider* Stelle;
    QLabel* StelleZeit;
    QComboBox* Bildrate;
    QDoubleSpinBox* Start;
    QDoubleSpinBox* Dauer;
    QComboBox* Ausschnitt;
    QComboBox* Verfahren;
    QSpinBox* Schwelle;
    QSpinBox* Helligkeit;
    QSpinBox* Kontrast;
    QCheckBox* Invertieren;
    QLabel* Anzahl;
    QCheckBox* Erste299;
    QLabel* Speicher;
    QLabel* SpeicherKompakt;
    QLineEdit* Ziel;
    QPushButton* ZielWaehlen;
    QLabel* ZielHinweis;
    QProgressBar* Fortschritt;
    QPushButton* Umwandeln;
    QPushButton* Abbrechen;
};

} // namespace velvix::ui
