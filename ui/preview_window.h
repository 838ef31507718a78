#pragma once

#include "preview_video.h"

#include <QString>
#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressDialog;
class QPushButton;
class QSlider;

namespace velvix::ui {

class GifExport;
class LcdView;
class PlaybackClock;

// The window of "Vorschau": a written video as the PC-1600 will play it, frame by frame and
// at its true speed, from what the emulated PC-1600 showed.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    // Shows the videos of `folder`, `preferred` first if it is there, in the
    // one preview window of `owner`. Nothing is shown, after a box that says
    // why, when the folder holds no video or its only video is faulty.
    static PreviewWindow* Open(QWidget* owner, const QString& folder, const QString& preferred);

    bool isPlaying() const;
    int frame() const { return frame_; }

private:
    explicit PreviewWindow(QWidget* owner);

    void createControls();
    bool showVideos(const QString& folder, const QStringList& names, const QString& preferred);
    bool load(const QString& name);
    void setVideo(std::optional<PreviewVideo> video);

    void VideoWahl_Click();
    void Abspielen_Click();
    void Stopp_Click();
    void Zurueck_Click();
    void Vor_Click();
    void Bildregler_Change(int value);
    void AlsGif_Click();
    void Anzeige_Key();

    void play();
    void pause();
    void step(int by);
    void ended();
    void showFrame(int frame);
    void gifFinished(const std::optional<Message>& failure);

    QString folder_;
    QString shownName_;
    std::optional<PreviewVideo> video_;
    int frame_ = 0;
    PlaybackClock* clock_;

    QComboBox* VideoWahl;
    LcdView* Anzeige;
    QSlider* Bildregler;
    QPushButton* Abspielen;
    QPushButton* Stopp;
    QPushButton* Zurueck;
    QPushButton* Vor;
    QCheckBox* Wiederholen;
    QLabel* BildZaehler;
    QLabel* Zeit;
    QPushButton* AlsGif;
    QPushButton* Schliessen;
    GifExport* gif_;
    QProgressDialog* gifProgress_ = nullptr;
};

} // namespace velvix::ui
