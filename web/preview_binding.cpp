// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_timeline.h"
#include "js_values.h"
#include "preview_messages.h"
#include "run_folder.h"
#include "stored_frames.h"
#include "vid_reader.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

// Vorschau for the page: the last run's video read from its part files, its
// pictures and the time each frame starts, as the player times them. The
// page only draws them against its clock.
namespace velvix::web {

using emscripten::val;

namespace {

// {failure} or {dots, startMs, framesPerSecond}: dots holds 156 x 32 bytes per frame,
// row by row from the top, 1 for a dark dot; startMs runs from frame 0 to the end.
val PreviewVideo(const std::string& name)
{
    val result = val::object();
    const VideoPartsResult read = ReadVideoParts(kFrameFolder, name, messages::kPreviewWindow);
    if (!read.parts) {
        result.set("failure", Box(*read.failure));
        return result;
    }
    const StoredVideo video = ReadStoredFrames(*read.parts);
    Bytes dots;
    for (const StoredVideoFrame& frame : video.frames) {
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                dots.push_back(PackedDotSet(frame.screen, x, y) ? 1 : 0);
            }
        }
    }
    const FrameTimeline timeline = TimelineOf(video.frames, video.ticksPerSecond);
    val startMs = val::array();
    for (int frame = 0; frame <= timeline.frameCount(); ++frame) {
        startMs.call<void>("push", static_cast<double>(timeline.startMs(frame)));
    }
    result.set("dots", Copy(dots));
    result.set("startMs", startMs);
    result.set("framesPerSecond", read.parts->framesPerSecond);
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(preview) { emscripten::function("previewVideo", &PreviewVideo); }

} // namespace velvix::web
