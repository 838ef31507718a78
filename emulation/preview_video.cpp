// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "preview_video.h"

#include "compact_layout.h"
#include "compact_player.h"
#include "memory_budget.h"
#include "player_image.h"
#include "preview_messages.h"
#include "vid_header.h"
#include "vid_reader.h"

#include <algorithm>

namespace velvix {

std::uint16_t PlayerStart() { return ParseVidHeader(PlayerImage)->startAddress; }

PreviewResult LoadPreview(const std::filesystem::path& folder, const std::string& name, long stepLimit)
{
    VideoPartsResult read = ReadVideoParts(folder, name, messages::kPreviewWindow);
    if (!read.parts) {
        return {std::nullopt, read.failure};
    }
    const VideoParts& parts = *read.parts;

    // The player the parts are made for, our own bytes whatever lies in the folder.
    const bool compact = parts.playerFile == kCompactPlayerFileName;
    const Bytes player = compact ? CompactPlayerFile() : Bytes(PlayerImage.begin(), PlayerImage.end());

    Pc1600 pc;
    // The player goes in last, so that nothing loaded before can change it.
    bool loaded = true;
    for (const Bytes& file : parts.files) {
        loaded = loaded && pc.bload(file);
    }
    loaded = loaded && pc.bload(player);
    if (!loaded) {
        return {std::nullopt, messages::PlayerFailed(name, "eine Datei ließ sich nicht laden")};
    }

    Playback shown = pc.call(ParseVidHeader(player)->startAddress, std::nullopt, stepLimit);
    if (!shown.returned) {
        return {std::nullopt, messages::PlayerFailed(name, shown.fault)};
    }
    if (static_cast<int>(shown.frames.size()) != parts.frameCount) {
        return {std::nullopt,
                messages::PlayerFailed(name, "er zeigte " + std::to_string(shown.frames.size()) + " statt " +
                                                 std::to_string(parts.frameCount) + " Bilder")};
    }
    const auto rate = std::find_if(kFrameRates.begin(), kFrameRates.end(),
                                   [&](const FrameRate& r) { return r.perSecond == parts.framesPerSecond; });
    PreviewVideo video{name, std::move(shown.frames), rate->perSecond, rate->baseFrameTime};
    return {std::move(video), std::nullopt};
}

FrameTimeline PreviewVideo::timeline() const { return TimelineOf(frames, ticksPerSecond()); }

} // namespace velvix
