// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "compression.h"
#include "frame_files.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

StoredFrame Stored(const Bytes& file)
{
    StoredFrame frame{};
    std::copy_n(file.begin(), std::min(file.size(), frame.size()), frame.begin());
    return frame;
}

// Three frames: the middle one is the only candidate, compared with the first.
std::vector<int> RemovedOf(const Bytes& first, const Bytes& middle, int threshold)
{
    const std::vector<StoredFrame> frames{Stored(first), Stored(middle), Stored(test::NumberedFrame(99))};
    return FindNearCopies(frames, {23, 23, 23}, threshold).deletedFrames;
}

Bytes WithDifferentPixelBytes(const Bytes& frame, int count)
{
    Bytes other = frame;
    for (int i = 0; i < count; ++i) {
        other[static_cast<std::size_t>(62 + 3 * i)] ^= 0xFF;
    }
    return other;
}

TEST(FindNearCopies, IdenticalRunsAbsorbUntilTheDisplayTimePasses230)
{
    struct Case {
        int frames;
        std::uint8_t base;
        std::vector<std::uint8_t> keptTimes;
        std::vector<int> kept;
    };
    for (const Case& c : {Case{30, 23, {253, 253, 161, 23}, {1, 12, 23, 30}}, Case{10, 33, {231, 66, 33}, {1, 8, 10}},
                          Case{20, 17, {238, 85, 17}, {1, 15, 20}}, Case{12, 27, {243, 54, 27}, {1, 10, 12}}}) {
        SCOPED_TRACE(c.frames);
        const std::vector<StoredFrame> frames(static_cast<std::size_t>(c.frames), Stored(test::NumberedFrame(5)));
        const NearCopies result =
            FindNearCopies(frames, std::vector<std::uint8_t>(static_cast<std::size_t>(c.frames), c.base), 595);

        std::vector<int> kept;
        std::vector<std::uint8_t> keptTimes;
        int sum = 0;
        for (int n = 1; n <= c.frames; ++n) {
            if (std::find(result.deletedFrames.begin(), result.deletedFrames.end(), n) == result.deletedFrames.end()) {
                kept.push_back(n);
                keptTimes.push_back(result.frameTimes[static_cast<std::size_t>(n - 1)]);
                sum += keptTimes.back();
            }
        }
        EXPECT_EQ(kept, c.kept);
        EXPECT_EQ(keptTimes, c.keptTimes);
        EXPECT_EQ(sum, c.frames * c.base);
        EXPECT_TRUE(std::is_sorted(result.deletedFrames.begin(), result.deletedFrames.end()));
    }
}

TEST(FindNearCopies, OneOrTwoFramesAreNeverCompared)
{
    const StoredFrame frame = Stored(test::NumberedFrame(1));
    EXPECT_TRUE(FindNearCopies({frame}, {23}, 595).deletedFrames.empty());
    EXPECT_TRUE(FindNearCopies({frame, frame}, {23, 23}, 595).deletedFrames.empty());
    EXPECT_EQ(FindNearCopies({frame, frame, frame}, {23, 23, 23}, 595).deletedFrames, std::vector<int>{2});
}

TEST(FindNearCopies, EachStrengthAtItsLimit)
{
    const Bytes base = test::NumberedFrame(3);
    const int upTo[] = {31, 38, 44, 51, 57}; // differing pixel bytes still near-identical
    for (std::size_t s = 0; s < kSimilarityThresholds.size(); ++s) {
        SCOPED_TRACE(kStrengthEntries[s]);
        EXPECT_EQ(RemovedOf(base, WithDifferentPixelBytes(base, upTo[s]), kSimilarityThresholds[s]),
                  std::vector<int>{2});
        EXPECT_TRUE(RemovedOf(base, WithDifferentPixelBytes(base, upTo[s] + 1), kSimilarityThresholds[s]).empty());
    }
}

TEST(FindNearCopies, EqualCountExactlyAtTheThresholdStillDiffers)
{
    const Bytes base = test::NumberedFrame(4);
    // 702 - 40 equal bytes; 662 - 62 = 600: near-identical only above 600.
    const Bytes other = WithDifferentPixelBytes(base, 40);
    EXPECT_TRUE(RemovedOf(base, other, 600).empty());
    EXPECT_EQ(RemovedOf(base, other, 599), std::vector<int>{2});
}

TEST(FindNearCopies, HeaderBytesCountLikePixelBytes)
{
    const Bytes base = test::NumberedFrame(6);
    Bytes other = base;
    for (std::size_t i = 30; i < 30 + 32; ++i) {
        other[i] ^= 0x5A; // 32 header bytes differ, the pixels are equal
    }
    EXPECT_TRUE(RemovedOf(base, other, 608).empty()); // 640 - 32 = 608 is not above 608
    EXPECT_EQ(RemovedOf(base, other, 607), std::vector<int>{2});
}

TEST(FindNearCopies, ShortFramesCompareAsZerosWhereTheyHaveNoBytes)
{
    Bytes base = test::BlankFrame();
    Bytes shorter = base;
    shorter.resize(300); // the missing pixel bytes of a blank frame are zeros anyway
    EXPECT_EQ(RemovedOf(base, shorter, 595), std::vector<int>{2});
}

TEST(FindNearCopies, EachCandidateMeetsTheReferenceNotItsNeighbour)
{
    // A slow drift: each frame differs from its neighbour by 20 bytes, from
    // the reference by 20 x its distance. At 7% (44) every third frame is new.
    const Bytes base = test::NumberedFrame(8);
    std::vector<StoredFrame> frames;
    for (int i = 0; i < 7; ++i) {
        frames.push_back(Stored(WithDifferentPixelBytes(base, 20 * i)));
    }
    EXPECT_EQ(FindNearCopies(frames, std::vector<std::uint8_t>(7, 23), 595).deletedFrames,
              (std::vector<int>{2, 3, 5, 6}));
}

} // namespace
} // namespace velvix
