// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "preview_window.h"

#include "background_task.h"
#include "lcd_view.h"
#include "message_box.h"
#include "named.h"
#include "playback_clock.h"
#include "preview_messages.h"
#include "std_qt.h"
#include "vid_reader.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace velvix::ui {

namespace {

constexpr int kGifZoom = 3; // 480 x 120 pixels: shows the dots, stays small to share

QString MinutesSeconds(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

gif::RgbPicture GifPicture(const Screen& screen)
{
    const QImage image = LcdImage(screen, kGifZoom).convertToFormat(QImage::Format_RGB888);
    gif::RgbPicture picture{image.width(), image.height(), {}};
    const auto row = static_cast<std::size_t>(image.width()) * 3;
    for (int y = 0; y < image.height(); ++y) {
        picture.rgb.insert(picture.rgb.end(), image.constScanLine(y), image.constScanLine(y) + row);
    }
    return picture;
}

// Names, sizes and times of the folder's part files: a new run changes them, a GIF saved beside does not.
QString VideosStamp(const QString& folder)
{
    QString stamp;
    const QFileInfoList parts = QDir(folder).entryInfoList({QStringLiteral("*.VID")}, QDir::Files, QDir::Name);
    for (const QFileInfo& part : parts) {
        stamp += QStringLiteral("%1 %2 %3\n")
                     .arg(part.fileName())
                     .arg(part.size())
                     .arg(part.lastModified().toMSecsSinceEpoch());
    }
    return stamp;
}

} // namespace

PreviewWindow* PreviewWindow::Open(QWidget* owner, const QString& folder, const QString& preferred)
{
    QStringList names;
    for (const std::string& name : FindVideos(ToPath(folder))) {
        names.append(ToQString(name));
    }
    if (names.isEmpty()) {
        ShowMessageBox(owner, messages::NoVideo(ToPath(folder)));
        return nullptr;
    }
    auto* window = owner->findChild<PreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    const bool fresh = window == nullptr;
    if (fresh) {
        window = new PreviewWindow(owner);
    }
    if (!window->showVideos(folder, names, preferred) && names.size() == 1) {
        if (fresh) {
            delete window;
        } else {
            window->close();
        }
        return nullptr;
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->Anzeige->setFocus();
    return window;
}

PreviewWindow::PreviewWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), clock_(new PlaybackClock(this)), watcher_(new QFileSystemWatcher(this)),
      settle_(new QTimer(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    connect(clock_, &PlaybackClock::frameDue, this, &PreviewWindow::showFrame);
    connect(clock_, &PlaybackClock::ended, this, &PreviewWindow::ended);
    connect(Wiederholen, &QCheckBox::toggled, clock_, &PlaybackClock::setRepeat);
    settle_->setSingleShot(true);
    settle_->setInterval(500);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_, qOverload<>(&QTimer::start));
    connect(settle_, &QTimer::timeout, this, &PreviewWindow::filesChanged);
}

PreviewWindow::~PreviewWindow()
{
    // The GIF's thread reports to this window, so it waits for it; cancelled, it stops soon.
    gifCancel_->store(true);
    if (gifThread_ != nullptr) {
        gifThread_->wait();
    }
}

void PreviewWindow::createControls()
{
    VideoWahl = Named(new QComboBox(this), "VideoWahl");
    Anzeige = Named(new LcdView(this), "Anzeige");
    Bildregler = Named(new QSlider(Qt::Horizontal, this), "Bildregler");
    Abspielen = Named(new QPushButton(QStringLiteral("Abspielen"), this), "Abspielen");
    Stopp = Named(new QPushButton(QStringLiteral("Stopp"), this), "Stopp");
    Zurueck = Named(new QPushButton(QStringLiteral("◀ Bild"), this), "Zurueck");
    Vor = Named(new QPushButton(QStringLiteral("Bild ▶"), this), "Vor");
    Wiederholen = Named(new QCheckBox(QStringLiteral("Wiederholen"), this), "Wiederholen");
    BildZaehler = Named(new QLabel(this), "BildZaehler");
    Zeit = Named(new QLabel(this), "Zeit");
    AlsGif = Named(new QPushButton(QStringLiteral("Als GIF speichern…"), this), "AlsGif");
    Schliessen = Named(new QPushButton(QStringLiteral("Schließen"), this), "Schliessen");

    Abspielen->setToolTip(QStringLiteral("Abspielen oder anhalten (Leertaste)"));
    Zurueck->setToolTip(QStringLiteral("Ein Bild zurück (Pfeil links)"));
    Vor->setToolTip(QStringLiteral("Ein Bild vor (Pfeil rechts)"));
    Stopp->setToolTip(QStringLiteral("Anhalten und zum ersten Bild"));
    Anzeige->setToolTip(QStringLiteral("Eine Taste hält das Video an, wie auf dem PC-1600."));
    // The counter and the time keep their width, so the row does not jump while playing.
    BildZaehler->setMinimumWidth(BildZaehler->fontMetrics().horizontalAdvance(QStringLiteral("Bild 888 von 888")));
    Zeit->setMinimumWidth(Zeit->fontMetrics().horizontalAdvance(QStringLiteral("88:88 von 88:88")));
    BildZaehler->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Zeit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* choice = new QHBoxLayout;
    auto* videoLabel = new QLabel(QStringLiteral("&Video:"), this);
    videoLabel->setBuddy(VideoWahl);
    choice->addWidget(videoLabel);
    choice->addWidget(VideoWahl, 1);
    choice->addStretch(2);

    auto* position = new QHBoxLayout;
    position->addWidget(Bildregler, 1);
    position->addWidget(BildZaehler);
    position->addWidget(Zeit);

    auto* controls = new QHBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{Abspielen, Stopp, Zurueck, Vor, Wiederholen}) {
        controls->addWidget(control);
    }
    controls->addStretch(1);
    controls->addWidget(AlsGif);
    controls->addWidget(Schliessen);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(Anzeige, 1);
    layout->addLayout(position);
    layout->addLayout(controls);

    connect(VideoWahl, &QComboBox::activated, this, &PreviewWindow::VideoWahl_Click);
    connect(Abspielen, &QPushButton::clicked, this, &PreviewWindow::Abspielen_Click);
    connect(Stopp, &QPushButton::clicked, this, &PreviewWindow::Stopp_Click);
    connect(Zurueck, &QPushButton::clicked, this, &PreviewWindow::Zurueck_Click);
    connect(Vor, &QPushButton::clicked, this, &PreviewWindow::Vor_Click);
    connect(Bildregler, &QSlider::valueChanged, this, &PreviewWindow::Bildregler_Change);
    connect(AlsGif, &QPushButton::clicked, this, &PreviewWindow::AlsGif_Click);
    connect(Schliessen, &QPushButton::clicked, this, &QWidget::close);
    connect(Anzeige, &LcdView::keyPressed, this, &PreviewWindow::Anzeige_Key);

    // The player's keys work wherever the focus is in the window.
    const auto shortcut = [this](Qt::Key key, void (PreviewWindow::*handler)()) {
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, handler);
    };
    shortcut(Qt::Key_Space, &PreviewWindow::Abspielen_Click);
    shortcut(Qt::Key_Left, &PreviewWindow::Zurueck_Click);
    shortcut(Qt::Key_Right, &PreviewWindow::Vor_Click);
}

bool PreviewWindow::showVideos(const QString& folder, const QStringList& names, const QString& preferred)
{
    if (folder != folder_) {
        if (!watcher_->directories().isEmpty()) {
            watcher_->removePaths(watcher_->directories());
        }
        watcher_->addPath(folder);
    }
    folder_ = folder;
    videosStamp_ = VideosStamp(folder);
    VideoWahl->clear();
    VideoWahl->addItems(names);
    VideoWahl->setEnabled(names.size() > 1);
    const int chosen = std::max(0, static_cast<int>(names.indexOf(preferred)));
    VideoWahl->setCurrentIndex(chosen);
    shownName_.clear();
    return load(names[chosen]);
}

// A video that cannot be shown leaves the display empty and the player's controls off.
bool PreviewWindow::load(const QString& name)
{
    pause();
    QApplication::setOverrideCursor(Qt::WaitCursor); // a fraction of a second, even for 120 frames
    PreviewResult result = LoadPreview(ToPath(folder_), ToUtf8(name));
    QApplication::restoreOverrideCursor();
    if (result.failure) {
        setVideo(std::nullopt);
        ShowMessageBox(isVisible() ? this : parentWidget(), *result.failure);
        return false;
    }
    shownName_ = name;
    setVideo(std::move(result.video));
    return true;
}

void PreviewWindow::setVideo(std::optional<PreviewVideo> video)
{
    video_ = std::move(video);
    clock_->setTimeline(video_ ? video_->timeline() : FrameTimeline());
    for (QWidget* control : std::initializer_list<QWidget*>{Bildregler, Abspielen, Stopp, Zurueck, Vor, AlsGif}) {
        control->setEnabled(video_.has_value());
    }
    setWindowTitle(video_ ? QStringLiteral("Vorschau - %1").arg(shownName_) : QStringLiteral("Vorschau"));
    {
        const QSignalBlocker quiet(Bildregler);
        Bildregler->setRange(0, std::max(0, clock_->timeline().frameCount() - 1));
    }
    frame_ = 0;
    if (video_) {
        showFrame(0);
    } else {
        Anzeige->setScreen({});
        BildZaehler->clear();
        Zeit->clear();
    }
}

// A run wrote the folder's videos anew, or removed them: show what is there now, the same video first.
void PreviewWindow::filesChanged()
{
    if (VideosStamp(folder_) == videosStamp_) {
        return;
    }
    QStringList names;
    for (const std::string& name : FindVideos(ToPath(folder_))) {
        names.append(ToQString(name));
    }
    if (names.isEmpty()) {
        videosStamp_ = VideosStamp(folder_);
        VideoWahl->clear();
        shownName_.clear();
        setVideo(std::nullopt);
        return;
    }
    showVideos(folder_, names, shownName_.isEmpty() ? VideoWahl->currentText() : shownName_);
}

void PreviewWindow::VideoWahl_Click()
{
    const QString previous = shownName_;
    if (!load(VideoWahl->currentText()) && !previous.isEmpty()) {
        VideoWahl->setCurrentText(previous); // back to the one still playable
        load(previous);
    }
}

void PreviewWindow::Abspielen_Click()
{
    if (!video_) {
        return;
    }
    isPlaying() ? pause() : play();
}

void PreviewWindow::Stopp_Click()
{
    pause();
    if (video_) {
        showFrame(0);
    }
}

void PreviewWindow::Zurueck_Click() { step(-1); }

void PreviewWindow::Vor_Click() { step(+1); }

void PreviewWindow::Bildregler_Change(int value)
{
    if (!video_ || value == frame_) {
        return;
    }
    showFrame(value);
    if (isPlaying()) {
        play(); // on from the frame chosen, against a fresh clock
    }
}

void PreviewWindow::Anzeige_Key()
{
    if (isPlaying()) {
        pause();
    }
}

bool PreviewWindow::isPlaying() const { return clock_->isPlaying(); }

void PreviewWindow::play()
{
    if (frame_ == clock_->timeline().frameCount() - 1 && !isPlaying()) {
        frame_ = 0; // from the start again after the end
    }
    Abspielen->setText(QStringLiteral("Pause"));
    clock_->play(frame_);
}

void PreviewWindow::pause()
{
    clock_->stop();
    Abspielen->setText(QStringLiteral("Abspielen"));
}

void PreviewWindow::step(int by)
{
    pause();
    if (video_) {
        showFrame(std::clamp(frame_ + by, 0, clock_->timeline().frameCount() - 1));
    }
}

void PreviewWindow::ended()
{
    showFrame(clock_->timeline().frameCount() - 1);
    showTime(clock_->timeline().totalMs()); // played through, the whole time has passed
    pause();
}

void PreviewWindow::showFrame(int frame)
{
    frame_ = frame;
    Anzeige->setScreen(video_->frames[static_cast<std::size_t>(frame)].screen);
    {
        const QSignalBlocker quiet(Bildregler);
        Bildregler->setValue(frame);
    }
    BildZaehler->setText(QStringLiteral("Bild %1 von %2").arg(frame + 1).arg(clock_->timeline().frameCount()));
    showTime(clock_->timeline().startMs(frame));
}

void PreviewWindow::showTime(qint64 ms)
{
    // The whole video to the nearest second, so that the player's own few
    // milliseconds a frame do not make a video of 5 s read 0:06; at its end
    // the time reads the whole.
    const qint64 total = clock_->timeline().totalMs();
    const qint64 whole = (total + 500) / 1000 * 1000;
    Zeit->setText(MinutesSeconds(ms == total ? whole : ms) + QStringLiteral(" von ") + MinutesSeconds(whole));
}

void PreviewWindow::AlsGif_Click()
{
    if (!video_ || gifThread_ != nullptr) {
        return;
    }
    pause();
    // The save dialog asks before it replaces a file.
    const QString target = QFileDialog::getSaveFileName(this, QStringLiteral("Als GIF speichern"),
                                                        QDir(folder_).filePath(shownName_ + QStringLiteral(".gif")),
                                                        QStringLiteral("GIF-Bilder (*.gif)"));
    if (target.isEmpty()) {
        return;
    }
    gifProgress_ =
        new QProgressDialog(QStringLiteral("Das GIF wird geschrieben…"), QStringLiteral("Abbrechen"), 0, 0, this);
    gifProgress_->setWindowTitle(QStringLiteral("Als GIF speichern"));
    gifProgress_->setWindowModality(Qt::WindowModal);
    gifProgress_->setMinimumDuration(300);
    gifProgress_->setAutoReset(false);
    connect(gifProgress_, &QProgressDialog::canceled, this, [this] { gifCancel_->store(true); });
    AlsGif->setEnabled(false);

    gifCancel_->store(false);
    gif::GifWork work;
    work.draw = GifPicture;
    work.cancel = gifCancel_.get();
    work.progress = [this](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, done, total] {
                if (gifProgress_ != nullptr && !gifProgress_->wasCanceled()) {
                    gifProgress_->setMaximum(total);
                    gifProgress_->setValue(done);
                }
            },
            Qt::QueuedConnection);
    };
    const auto keep = gifCancel_; // the flag outlives the window while the thread runs
    gifThread_ = RunInBackground<gif::GifResult>(
        this, [video = *video_, target = ToPath(target), work, keep] { return gif::WriteGif(video, target, work); },
        [this](gif::GifResult result) { gifFinished(result); });
}

void PreviewWindow::gifFinished(const gif::GifResult& result)
{
    gifThread_ = nullptr;
    // Gone before the box opens: a deferred delete would wait for the box's own event loop to end.
    delete gifProgress_;
    gifProgress_ = nullptr;
    AlsGif->setEnabled(video_.has_value());
    if (result.outcome != gif::GifResult::Outcome::Cancelled) {
        ShowMessageBox(this, result.message);
    }
}

} // namespace velvix::ui
