// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "memory_budget.h"

#include "messages.h"
#include "rounding.h"

#include <numeric>
#include <string>

namespace velvix {

void MemoryBudget::chooseFrameRate(int index)
{
    if (index < 0 || index >= static_cast<int>(kFrameRates.size())) {
        return;
    }
    framesPerSecond_ = kFrameRates[static_cast<std::size_t>(index)].perSecond;
    baseFrameTime_ = kFrameRates[static_cast<std::size_t>(index)].baseFrameTime;
    updateCapacity();
}

void MemoryBudget::chooseSlot1(int index)
{
    if (index < 0 || index >= static_cast<int>(kSlot1Frames.size())) {
        return;
    }
    slot1Frames_ = kSlot1Frames[static_cast<std::size_t>(index)];
    if (index != 3 && slot2Index_ == 1) {
        host_.showMessage(messages::SlotWarning());
        resetSlot2();
    }
    updateCapacity();
}

void MemoryBudget::chooseSlot2(int index)
{
    if (index < 0 || index >= static_cast<int>(kSlot2Entries.size())) {
        return;
    }
    slot2Index_ = index;
    slot2Frames_ = 0;
    if (index == 1) {
        if (slot1Frames_ == kSlot1Frames[3]) {
            slot2Frames_ = kSlot2Frames;
        } else {
            host_.showMessage(messages::SlotWarning());
            resetSlot2();
        }
    }
    updateCapacity();
}

void MemoryBudget::resetSlot2()
{
    host_.showSlot2Choice(0);
    chooseSlot2(0);
}

void MemoryBudget::updateCapacity()
{
    frameCapacity_ = slot1Frames_ + slot2Frames_;
    maxVideoSeconds_ = DivideRounded(frameCapacity_, framesPerSecond_);
    host_.setTextVideoLng(std::to_string(maxVideoSeconds_));
}

CutResult PlainCut(int frameCount, int sourceSeconds, int capacity, int framesPerSecond)
{
    if (frameCount <= capacity) {
        return {frameCount, sourceSeconds, std::nullopt};
    }
    return {capacity, DivideRounded(capacity, framesPerSecond), messages::PlainCut(capacity, frameCount)};
}

std::optional<CutResult> CompressedCut(int frameCount, const std::vector<std::uint8_t>& frameTimes, int sourceSeconds,
                                       int capacity, int framesPerSecond, int baseFrameTime)
{
    if (frameCount <= capacity) {
        return std::nullopt;
    }
    // The sum starts at the last frame kept, not after it; the play times of
    // videos made so far were reckoned this way.
    const int cutTime = std::accumulate(frameTimes.begin() + (capacity - 1), frameTimes.begin() + frameCount, 0);
    const double units = static_cast<double>(baseFrameTime) * framesPerSecond; // player units per second
    const int playSeconds = RoundHalfEven(sourceSeconds - cutTime / units);
    return CutResult{capacity, playSeconds, messages::CompressedCut(capacity, frameCount)};
}

} // namespace velvix
