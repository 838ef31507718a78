// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "memory_fit.h"

#include "compact_encoder.h"
#include "frame_writer.h"
#include "memory_budget.h"

#include <algorithm>

namespace velvix::frames {

namespace {

std::string Count(int frames, int all) { return (frames == all ? "alle " : "") + std::to_string(frames); }

} // namespace

MemoryFit FitInMemory(const std::vector<GreyImage>& pictures, const OneBit& oneBit, int framesPerSecond,
                      int frameCapacity)
{
    MemoryFit fit;
    fit.frames = static_cast<int>(pictures.size());
    fit.plain = std::clamp(frameCapacity, 0, fit.frames);
    if (frameCapacity < 1) {
        return fit;
    }
    const auto rate = std::find_if(kFrameRates.begin(), kFrameRates.end(),
                                   [&](const FrameRate& r) { return r.perSecond == framesPerSecond; });
    const FrameRate& times = rate == kFrameRates.end() ? kFrameRates[2] : *rate;
    const std::vector<std::uint8_t> frameTimes(pictures.size(), static_cast<std::uint8_t>(times.baseFrameTime));
    for (std::size_t m = 0; m < kMethods.size(); ++m) {
        OneBit settings = oneBit;
        settings.method = kMethods[m].method;
        std::vector<PackedFrame> frames;
        for (const GreyImage& picture : pictures) {
            frames.push_back(PackFrame(MakeFrameFile(ToOneBit(picture, settings))));
        }
        fit.compact[m] = EncodeCompactVideo(frames, frameTimes, framesPerSecond, frameCapacity).frameCount;
    }
    return fit;
}

std::string FitText(const MemoryFit& fit, Method chosen)
{
    if (fit.plain == fit.frames) {
        return "Passen in den Speicher: alle " + std::to_string(fit.frames) + " Bilder, auch ohne „Kompakt“.";
    }
    const auto index = [](Method method) {
        return static_cast<std::size_t>(std::find_if(kMethods.begin(), kMethods.end(),
                                                     [&](const MethodEntry& entry) { return entry.method == method; }) -
                                        kMethods.begin());
    };
    const std::size_t mine = index(chosen);
    std::size_t best = mine;
    for (std::size_t m = 0; m < kMethods.size(); ++m) {
        best = fit.compact[m] > fit.compact[best] ? m : best;
    }
    std::string text = "Passen in den Speicher: " + std::to_string(fit.plain) + " Bilder, mit „Kompakt“ " +
                       Count(fit.compact[mine], fit.frames) + " bei " + kMethods[mine].name;
    if (best != mine) {
        return text + "; mit " + kMethods[best].name + " passen " + Count(fit.compact[best], fit.frames) + ".";
    }
    return text + (fit.compact[mine] == fit.frames ? "." : "; mit keinem anderen Verfahren passen mehr.");
}

} // namespace velvix::frames
