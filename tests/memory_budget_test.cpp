// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "fake_host.h"
#include "memory_budget.h"

#include <gtest/gtest.h>

#include <utility>

namespace velvix {
namespace {

using test::FakeHost;

const Message kSlotWarning{
    "Warnung", "Nur bei einer 32KB Erweiterung in Slot1,\r\nwird eine 32KB Erweiterung in Slot2 unterstützt.",
    Message::Icon::Warning, Message::Buttons::Ok};

struct Budget {
    FakeHost host;
    MemoryBudget budget{host};

    Budget()
    {
        budget.chooseFrameRate(2);
        budget.chooseSlot1(0);
        budget.chooseSlot2(0);
    }
};

TEST(MemoryBudget, StartUpSequenceEndsAtSixPerSecondAndEighteenFrames)
{
    Budget b;
    EXPECT_EQ(b.host.textVideoLng, (std::vector<std::string>{"0", "3", "3"}));
    EXPECT_EQ(b.budget.framesPerSecond(), 6);
    EXPECT_EQ(b.budget.baseFrameTime(), 23);
    EXPECT_EQ(b.budget.frameCapacity(), 18);
    EXPECT_TRUE(b.host.messages.empty());
}

TEST(MemoryBudget, LongestVideoForEveryRateAndCapacityRoundsHalfToEven)
{
    struct Memory {
        int slot1, slot2, capacity;
    };
    const Memory memories[] = {{0, 0, 18}, {1, 0, 31}, {2, 0, 45}, {3, 0, 70}, {3, 1, 120}};
    const int expected[5][4] = {{4, 4, 3, 2}, {8, 6, 5, 4}, {11, 9, 8, 6}, {18, 14, 12, 9}, {30, 24, 20, 15}};
    const int baseTimes[] = {33, 27, 23, 17};

    for (int m = 0; m < 5; ++m) {
        for (int rate = 0; rate < 4; ++rate) {
            Budget b;
            b.budget.chooseSlot1(memories[m].slot1);
            b.budget.chooseSlot2(memories[m].slot2);
            b.budget.chooseFrameRate(rate); // the rate chosen after the slots keeps the capacity
            EXPECT_EQ(b.budget.frameCapacity(), memories[m].capacity);
            EXPECT_EQ(b.budget.maxVideoSeconds(), expected[m][rate])
                << memories[m].capacity << " frames, rate " << rate;
            EXPECT_EQ(b.host.textVideoLng.back(), std::to_string(expected[m][rate]));
            EXPECT_EQ(b.budget.baseFrameTime(), baseTimes[rate]);
            EXPECT_TRUE(b.host.messages.empty());
        }
    }
}

TEST(MemoryBudget, SlotS2NeedsThirtyTwoKilobytesInSlotS1)
{
    Budget b;
    b.budget.chooseSlot1(2); // 16 KB
    b.host.clearRecords();
    b.budget.chooseSlot2(1);
    EXPECT_EQ(b.host.messages, std::vector<Message>{kSlotWarning});
    EXPECT_EQ(b.host.slot2Choices, std::vector<int>{0});
    EXPECT_EQ(b.budget.frameCapacity(), 45);
    EXPECT_EQ(b.host.textVideoLng.back(), "8");

    b.budget.chooseSlot1(3);
    b.budget.chooseSlot2(1);
    b.host.clearRecords();
    b.budget.chooseSlot2(1); // chosen again while both show 32 KB
    EXPECT_TRUE(b.host.messages.empty());
    EXPECT_EQ(b.budget.frameCapacity(), 120);

    // Lowered to 16 or 8 KB behind a 32 KB slot S2.
    for (auto [slot1, capacity] : {std::pair{2, 45}, std::pair{1, 31}}) {
        SCOPED_TRACE(slot1);
        b.budget.chooseSlot1(3);
        b.budget.chooseSlot2(1);
        b.host.clearRecords();
        b.budget.chooseSlot1(slot1);
        EXPECT_EQ(b.host.messages, std::vector<Message>{kSlotWarning});
        EXPECT_EQ(b.host.slot2Choices, std::vector<int>{0});
        EXPECT_EQ(b.budget.frameCapacity(), capacity);
    }

    b.host.clearRecords();
    b.budget.chooseSlot1(0); // slot S2 already back at 0 KB: no second warning
    EXPECT_TRUE(b.host.messages.empty());
    EXPECT_EQ(b.budget.frameCapacity(), 18);
}

TEST(MemoryBudget, IndicesOutsideTheListsChangeNothing)
{
    Budget b;
    b.budget.chooseFrameRate(-1);
    b.budget.chooseFrameRate(4);
    b.budget.chooseSlot1(4);
    b.budget.chooseSlot2(2);
    EXPECT_EQ(b.budget.frameCapacity(), 18);
    EXPECT_EQ(b.budget.framesPerSecond(), 6);
}

TEST(CapacityCut, PlainCutWarnsAndTakesThePlayTimeOfTheCapacity)
{
    CutResult cut = PlainCut(19, 3, 18, 6);
    EXPECT_EQ(cut.frameCount, 18);
    EXPECT_EQ(cut.playSeconds, 3);
    EXPECT_EQ(cut.warning, (Message{"Warnung", "Es werden nur 18 von 19 BMP Files verarbeitet !",
                                    Message::Icon::Warning, Message::Buttons::Ok}));

    cut = PlainCut(18, 5, 18, 4); // equal to the capacity: nothing cut
    EXPECT_EQ(cut.frameCount, 18);
    EXPECT_EQ(cut.playSeconds, 5);
    EXPECT_FALSE(cut.warning);

    EXPECT_EQ(PlainCut(300, 75, 70, 4).playSeconds, 18); // 17.5 goes to 18
}

TEST(CapacityCut, CompressedCutCountsFromTheLastFrameKept)
{
    std::vector<std::uint8_t> times(130, 23);
    times[0] = 253; // earlier frames carry more, which must not matter
    const auto cut = CompressedCut(130, times, 25, 120, 6, 23);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->frameCount, 120);
    EXPECT_EQ(cut->playSeconds, 23); // 25 - 11 x 23 / 138 = 23.17
    ASSERT_TRUE(cut->warning);
    EXPECT_EQ(cut->warning->text, "Es werden nur 120 von neu kompremierten 130 BMP Files verarbeitet !");
    EXPECT_EQ(cut->warning->title, "Warnung");

    times[119] = 253; // frame 120, the last kept, counts: 25 - 21 x 23 / 138 = 21.5
    EXPECT_EQ(CompressedCut(130, times, 25, 120, 6, 23)->playSeconds, 22);

    // 24 frames at 8 per second, 121 units from frame 18 on: 3 - 121 / 136 = 2.11.
    std::vector<std::uint8_t> eight(24, 17);
    eight[17] = 19;
    const auto rounded = CompressedCut(24, eight, 3, 18, 8, 17);
    ASSERT_TRUE(rounded);
    EXPECT_EQ(rounded->playSeconds, 2);

    EXPECT_FALSE(CompressedCut(120, times, 25, 120, 6, 23));
}

} // namespace
} // namespace velvix
