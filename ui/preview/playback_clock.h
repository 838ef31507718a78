// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "frame_timeline.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace velvix::ui {

// Plays a timeline against a clock, as media players do: the frame due is
// always read from the time elapsed since the start, and the timer only wakes
// us for the next one, so late wake-ups never add up over a video.
class PlaybackClock : public QObject {
    Q_OBJECT

public:
    explicit PlaybackClock(QObject* parent = nullptr);

    void setTimeline(FrameTimeline timeline); // stops playing
    const FrameTimeline& timeline() const { return timeline_; }
    void setRepeat(bool repeat) { repeat_ = repeat; }

    bool isPlaying() const { return playing_; }
    // Plays on from the start of `frame`.
    void play(int frame);
    void stop();

signals:
    void frameDue(int frame);
    void ended(); // the last frame has had its time and repeat is off

private:
    void advance();

    FrameTimeline timeline_;
    QElapsedTimer clock_;
    qint64 clockStartMs_ = 0; // the video's time when the clock was started
    QTimer next_;
    int due_ = -1;
    bool playing_ = false;
    bool repeat_ = false;
};

} // namespace velvix::ui
