#pragma once

#include "failure.h"
#include "frame_writer.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace velvix::frames {

// Refuses a folder that already holds frames unless they may be replaced:
// old and new frames mixed would make one film of two.
std::optional<Failure> CheckOutputFolder(const std::filesystem::path& folder, bool replace);

// Removes the frames already there, then writes "B001.BMP" onward, each file
// whole. When one cannot be written, those written so far are removed again,
// so no half film is left behind.
std::optional<Failure> WriteFrames(const std::filesystem::path& folder, const std::vector<FramePixels>& frames);

} // namespace velvix::frames
