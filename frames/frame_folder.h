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

// Writes "B001.BMP" onward into a temporary folder beside `folder`; only when
// every frame is whole do they take the place of the frames already there
// (other files stay). On any failure the folder is left as it was, and a
// folder that did not exist before is not created.
std::optional<Failure> WriteFrames(const std::filesystem::path& folder, const std::vector<FramePixels>& frames);

} // namespace velvix::frames
