// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "gif_export.h"
#include "preview_video.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QProgressDialog;
class QPushButton;
class QSlider;
class QThread;
class QTimer;

namespace velvix::ui {

class LcdView;
class PlaybackClock;

// The window of "Vorschau": a written video as the PC-1600 will play it, frame by frame and
// at its true speed, from what the emulated PC-1600 showed. When the folder's videos are
// written anew, it shows the new ones.
class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    // Shows the videos of `folder`, `preferred` first if it is there, in the
    // one preview window of `owner`. Nothing is shown, after a box that says
    // why, when the folder holds no video or its only video is faulty.
    static PreviewWindow* Open(QWidget* owner, const QString& folder, const QString& preferred);

    ~PreviewWindow() override;

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
    void showTime(qint64 ms);
    void filesChanged();
    void gifFinished(const gif::GifResult& result);

    QString folder_;
    QString videosStamp_; // the folder's part files as last shown
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
    QFileSystemWatcher* watcher_;
    QTimer* settle_; // a run writes several files: look once they are all there
    QPointer<QThread> gifThread_;
    std::shared_ptr<std::atomic<bool>> gifCancel_ = std::make_shared<std::atomic<bool>>(false);
    QProgressDialog* gifProgress_ = nullptr;
};

} // namespace velvix::ui
