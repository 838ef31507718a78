// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "playback_clock.h"

#include <algorithm>

namespace velvix::ui {

PlaybackClock::PlaybackClock(QObject* parent) : QObject(parent)
{
    next_.setSingleShot(true);
    next_.setTimerType(Qt::PreciseTimer);
    connect(&next_, &QTimer::timeout, this, &PlaybackClock::advance);
}

void PlaybackClock::setTimeline(FrameTimeline timeline)
{
    stop();
    timeline_ = std::move(timeline);
}

void PlaybackClock::play(int frame)
{
    if (timeline_.frameCount() == 0) {
        return;
    }
    playing_ = true;
    due_ = frame;
    clockStartMs_ = timeline_.startMs(frame);
    clock_.start();
    advance();
}

void PlaybackClock::stop()
{
    playing_ = false;
    next_.stop();
}

void PlaybackClock::advance()
{
    const qint64 total = timeline_.totalMs();
    qint64 now = clockStartMs_ + clock_.elapsed();
    if (now >= total) {
        if (!repeat_) {
            stop();
            emit ended();
            return;
        }
        clockStartMs_ -= total * (now / total); // round again on the same clock
        now = clockStartMs_ + clock_.elapsed();
    }
    const int due = timeline_.frameAt(now);
    if (due != due_) {
        due_ = due;
        emit frameDue(due);
    }
    next_.start(static_cast<int>(std::max<qint64>(1, timeline_.startMs(due + 1) - now)));
}

} // namespace velvix::ui
