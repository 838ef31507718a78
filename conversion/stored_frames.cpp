#include "stored_frames.h"

#include "memory_budget.h"
#include "vid_header.h"
#include "vid_layout.h"

#include <algorithm>

namespace velvix {

StoredVideo ReadStoredFrames(const VideoParts& parts)
{
    StoredVideo video;
    const auto rate = std::find_if(kFrameRates.begin(), kFrameRates.end(),
                                   [&](const FrameRate& r) { return r.perSecond == parts.framesPerSecond; });
    video.unitsPerSecond = rate == kFrameRates.end() ? 0 : rate->perSecond * rate->baseFrameTime;
    for (const VidPart& part : SplitIntoParts(parts.frameCount)) {
        if (static_cast<std::size_t>(part.number) >= parts.files.size()) {
            break;
        }
        const Bytes& file = parts.files[static_cast<std::size_t>(part.number)];
        // Behind the header one spare byte, then the records, highest frame first.
        for (int frame = part.lowestFrame; frame <= part.highestFrame; ++frame) {
            const std::size_t at =
                kVidHeaderBytes + 1 + kFrameRecordBytes * static_cast<std::size_t>(part.highestFrame - frame);
            if (at + kFrameRecordBytes > file.size()) {
                break; // the reader's checks keep this from happening; the bytes stay within the file regardless
            }
            StoredVideoFrame& stored = video.frames.emplace_back();
            std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(at), kPackedFrameBytes, stored.screen.begin());
            stored.units = file[at + kPackedFrameBytes];
        }
    }
    return video;
}

} // namespace velvix
