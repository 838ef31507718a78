// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "compact_encoder.h"

#include "compact_layout.h"
#include "memory_budget.h"
#include "pc1600_timing.h"
#include "player_tstates.h"
#include "vid_layout.h"

#include <algorithm>
#include <cmath>

namespace velvix {

namespace {

constexpr int kFrameEnd = static_cast<int>(kPackedFrameBytes);
constexpr int kShortestRepeat = 4;    // shorter runs cost no less inside a copy
constexpr int kLongestKeptInCopy = 2; // unchanged bytes a copy takes along rather than stop
constexpr std::size_t kWaitBytes = 2;

void PutCopy(Bytes& out, const PackedFrame& after, int from, int to)
{
    for (int start = from; start < to; start += kMaxRun) {
        const int n = std::min(kMaxRun, to - start);
        out.push_back(static_cast<std::uint8_t>(kCopyCode + n - 1));
        out.insert(out.end(), after.begin() + start, after.begin() + start + n);
    }
}

// Changed bytes [from, to): repeats where a byte runs long enough, copies between.
void PutChanged(Bytes& out, const PackedFrame& after, int from, int to)
{
    int copyFrom = from;
    for (int at = from; at < to;) {
        int run = 1;
        while (at + run < to && run < kMaxRun && after[at + run] == after[at]) {
            ++run;
        }
        if (run < kShortestRepeat) {
            at += run;
            continue;
        }
        PutCopy(out, after, copyFrom, at);
        out.push_back(static_cast<std::uint8_t>(kRepeatCode + run - 1));
        out.push_back(after[at]);
        at += run;
        copyFrom = at;
    }
    PutCopy(out, after, copyFrom, to);
}

int UnchangedFrom(const PackedFrame& before, const PackedFrame& after, int at)
{
    int end = at;
    while (end < kFrameEnd && before[end] == after[end]) {
        ++end;
    }
    return end - at;
}

struct Timing {
    double tickT; // T-states one wait tick lasts
    int baseFrameTime;
};

Timing TimingAt(int framesPerSecond)
{
    const auto rate = std::find_if(kFrameRates.begin(), kFrameRates.end(),
                                   [&](const FrameRate& r) { return r.perSecond == framesPerSecond; });
    const int base = rate == kFrameRates.end() ? kFrameRates[2].baseFrameTime : rate->baseFrameTime;
    return {static_cast<double>(kClockHz) / (kTicksPerUnit * framesPerSecond * base), base};
}

} // namespace

Bytes EncodeFrameChanges(const PackedFrame& before, const PackedFrame& after)
{
    Bytes out;
    for (int at = 0; at < kFrameEnd;) {
        const int unchanged = UnchangedFrom(before, after, at);
        if (at + unchanged == kFrameEnd) {
            break;
        }
        for (int skip = unchanged; skip > 0; skip -= kMaxSkip) {
            out.push_back(static_cast<std::uint8_t>(std::min(skip, kMaxSkip)));
        }
        at += unchanged;
        // The changed stretch ends where enough bytes in a row stay as they were.
        int end = at;
        while (end < kFrameEnd) {
            const int same = UnchangedFrom(before, after, end);
            if (same > kLongestKeptInCopy || end + same == kFrameEnd) {
                break;
            }
            end += std::max(same, 1);
        }
        PutChanged(out, after, at, end);
        at = end;
    }
    out.push_back(kEndOfFrame);
    return out;
}

std::vector<std::size_t> CompactPartBudgets(int frameCapacity)
{
    std::vector<std::size_t> budgets;
    for (const VidPart& part : SplitIntoParts(frameCapacity)) {
        const std::size_t length = PartDataLength(part.number, part.frames());
        // Part 0's memory holds the decoding buffer too; with no room for it, nothing fits.
        budgets.push_back(part.number != 0 ? length : length > kPackedFrameBytes ? length - kPackedFrameBytes : 0);
    }
    return budgets;
}

CompactVideo EncodeCompactVideo(const std::vector<PackedFrame>& pictures, const std::vector<std::uint8_t>& frameTimes,
                                int framesPerSecond, int frameCapacity)
{
    const std::vector<std::size_t> budgets = CompactPartBudgets(frameCapacity);
    std::vector<Bytes> changes;
    std::vector<int> partOf;
    std::size_t part = 0;
    std::size_t used = kCompactFactsBytes;
    PackedFrame shown{}; // frame 1 against a blank buffer
    for (const PackedFrame& picture : pictures) {
        Bytes coded = EncodeFrameChanges(shown, picture);
        if (used + kWaitBytes + coded.size() > budgets[part]) {
            if (part + 1 == budgets.size()) {
                break;
            }
            ++part;
            used = 0;
        }
        used += kWaitBytes + coded.size();
        changes.push_back(std::move(coded));
        partOf.push_back(static_cast<int>(part));
        shown = picture;
    }

    // Each frame stands while the player waits, then decodes the next one: the
    // wait makes up for the decoding, and what rounding leaves over goes on to
    // the next frame, so the whole video keeps the plain video's length.
    const Timing timing = TimingAt(framesPerSecond);
    // A tick costs its wait and the player's instructions around it.
    const double compactTickT = timing.tickT + static_cast<double>(CompactFrameTStates(1, 0) - CompactFrameTStates(0, 0));
    CompactVideo video;
    video.frameCount = static_cast<int>(changes.size());
    double plainTime = 0;
    double compactTime = 0;
    for (std::size_t f = 0; f < changes.size(); ++f) {
        const long next = f + 1 < changes.size() ? DecodeTStates(changes[f + 1]) : 0;
        const int units = frameTimes[f] == 0 ? 256 : frameTimes[f]; // the plain player's DJNZ takes 0 as 256
        plainTime += kTicksPerUnit * timing.tickT * units + static_cast<double>(PlainFrameTStates(units));
        const double wait = (plainTime - compactTime - static_cast<double>(CompactFrameTStates(0, next))) / compactTickT;
        const long ticks = std::clamp(std::lround(wait), 1L, 0xFFFFL);
        compactTime += timing.tickT * static_cast<double>(ticks) +
                       static_cast<double>(CompactFrameTStates(static_cast<int>(ticks), next));

        if (video.streams.size() <= static_cast<std::size_t>(partOf[f])) {
            video.streams.emplace_back();
            video.partFrames.push_back(0);
        }
        Bytes& stream = video.streams.back();
        stream.push_back(static_cast<std::uint8_t>(ticks & 0xFF));
        stream.push_back(static_cast<std::uint8_t>(ticks >> 8));
        stream.insert(stream.end(), changes[f].begin(), changes[f].end());
        ++video.partFrames.back();
    }
    return video;
}

} // namespace velvix
