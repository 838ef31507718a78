// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "playback_clock.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace velvix::ui::test {
namespace {

// Ten frames of 30 ms: the clock shows each in order, and never ends before
// the whole time has passed however the timer wakes it.
TEST(PlaybackClock, ShowsTheFramesInOrderAndEndsNotBeforeTheirTime)
{
    PlaybackClock clock;
    clock.setTimeline(FrameTimeline(std::vector<FrameLength>(10, {30, 0}), 1000));
    std::vector<int> due;
    int ended = 0;
    QObject::connect(&clock, &PlaybackClock::frameDue, [&](int frame) { due.push_back(frame); });
    QObject::connect(&clock, &PlaybackClock::ended, [&] { ++ended; });

    QElapsedTimer elapsed;
    elapsed.start();
    clock.play(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended == 1; }));
    EXPECT_GE(elapsed.elapsed(), 240);
    EXPECT_FALSE(clock.isPlaying());
    ASSERT_FALSE(due.empty());
    EXPECT_TRUE(std::is_sorted(due.begin(), due.end()));
    EXPECT_GT(due.front(), 2);
    EXPECT_EQ(due.back(), 9);

    // With repeat on it goes round from the first frame and does not end.
    due.clear();
    clock.setRepeat(true);
    clock.play(8);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !due.empty() && due.back() < 8; }));
    EXPECT_TRUE(clock.isPlaying());
    clock.stop();
    EXPECT_EQ(ended, 1);
}

} // namespace
} // namespace velvix::ui::test
