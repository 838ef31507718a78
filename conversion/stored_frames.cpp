// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "stored_frames.h"

#include "compact_decoder.h"
#include "compact_layout.h"
#include "memory_budget.h"
#include "pc1600_timing.h"
#include "player_tstates.h"
#include "vid_header.h"
#include "vid_layout.h"

#include <algorithm>

namespace velvix {

namespace {

// Behind each plain part's header one spare byte, then the records, highest frame first.
void ReadPlainFrames(const VideoParts& parts, StoredVideo& video)
{
    for (const VidPart& part : SplitIntoParts(parts.frameCount)) {
        if (static_cast<std::size_t>(part.number) >= parts.files.size()) {
            break;
        }
        const Bytes& file = parts.files[static_cast<std::size_t>(part.number)];
        for (int frame = part.lowestFrame; frame <= part.highestFrame; ++frame) {
            const std::size_t at =
                kVidHeaderBytes + 1 + kFrameRecordBytes * static_cast<std::size_t>(part.highestFrame - frame);
            if (at + kFrameRecordBytes > file.size()) {
                break; // the reader's checks keep this from happening; the bytes stay within the file regardless
            }
            StoredVideoFrame& stored = video.frames.emplace_back();
            std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(at), kPackedFrameBytes, stored.screen.begin());
            const std::uint8_t units = file[at + kPackedFrameBytes];
            stored.ticks = kTicksPerUnit * (units == 0 ? 256 : units);
            stored.tStates = PlainFrameTStates(units);
        }
    }
}

} // namespace

StoredVideo ReadStoredFrames(const VideoParts& parts)
{
    StoredVideo video;
    const auto rate = std::find_if(kFrameRates.begin(), kFrameRates.end(),
                                   [&](const FrameRate& r) { return r.perSecond == parts.framesPerSecond; });
    video.ticksPerSecond = rate == kFrameRates.end() ? 0 : kTicksPerUnit * rate->perSecond * rate->baseFrameTime;
    if (parts.playerFile == kCompactPlayerFileName) {
        const std::vector<CompactFrame> frames = DecodeCompactVideo(parts.files).frames;
        for (std::size_t f = 0; f < frames.size(); ++f) {
            const long next = f + 1 < frames.size() ? frames[f + 1].decodeTStates : 0;
            video.frames.push_back({frames[f].picture, frames[f].ticks, CompactFrameTStates(frames[f].ticks, next)});
        }
    } else {
        ReadPlainFrames(parts, video);
    }
    return video;
}

} // namespace velvix
