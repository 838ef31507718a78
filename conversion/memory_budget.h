// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "host.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace velvix {

struct FrameRate {
    const char* entry;
    int perSecond;
    int baseFrameTime; // player time units per frame at this rate
};

inline constexpr std::array<FrameRate, 4> kFrameRates{{
    {"4 Bilder/Sek", 4, 33},
    {"5 Bilder/Sek", 5, 27},
    {"6 Bilder/Sek", 6, 23},
    {"8 Bilder/Sek", 8, 17},
}};

inline constexpr std::array<const char*, 4> kSlot1Entries{"0 KB", "8 KB", "16 KB", "32 KB"};
inline constexpr std::array<int, 4> kSlot1Frames{18, 31, 45, 70}; // base memory included
inline constexpr std::array<const char*, 2> kSlot2Entries{"0 KB", "32 KB"};
inline constexpr int kSlot2Frames = 50; // only behind a 32 KB module in slot S1

// The frame rate and the PC-1600's memory as chosen in the window, and what
// follows from them: how many frames fit and how long a video that makes.
class MemoryBudget {
public:
    explicit MemoryBudget(Host& host) : host_(host) {}

    void chooseFrameRate(int index);
    void chooseSlot1(int index);
    void chooseSlot2(int index);

    int framesPerSecond() const { return framesPerSecond_; }
    int baseFrameTime() const { return baseFrameTime_; }
    int frameCapacity() const { return frameCapacity_; }
    int maxVideoSeconds() const { return maxVideoSeconds_; }

private:
    void updateCapacity();
    void resetSlot2();

    Host& host_;
    int framesPerSecond_ = kFrameRates[2].perSecond;
    int baseFrameTime_ = kFrameRates[2].baseFrameTime;
    int slot1Frames_ = 0; // until slot S1 is first chosen
    int slot2Frames_ = 0;
    int slot2Index_ = -1; // the entry slot S2 shows; none before its first choice
    int frameCapacity_ = 0;
    int maxVideoSeconds_ = 0;
};

struct CutResult {
    int frameCount = 0;
    int playSeconds = 0;
    std::optional<Message> warning; // when frames are left out
};

// Keeps the first `capacity` frames.
CutResult PlainCut(int frameCount, int sourceSeconds, int capacity, int framesPerSecond);

// After compression the kept frames carry the display times of the removed
// ones, so the play time is the source time less the time of the frames cut
// off. Only applies when more frames are left than fit; otherwise the plain
// cut follows.
std::optional<CutResult> CompressedCut(int frameCount, const std::vector<std::uint8_t>& frameTimes, int sourceSeconds,
                                       int capacity, int framesPerSecond, int baseFrameTime);

} // namespace velvix
