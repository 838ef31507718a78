#pragma once

#include "child_process.h"
#include "failure.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velvix::frames {

// What every ffmpeg run of this tool shares: how it names its input, how it
// hands over pictures, and what the user reads when it fails.

// "file:" keeps ffmpeg from reading a name with a colon as a protocol, or
// one with a leading dash as an option.
std::string InputName(const std::filesystem::path& file);

// The arguments that make ffmpeg write the first video stream's pictures to
// its standard output as 8-bit grey PGM images.
std::vector<std::string> PictureOutput();

Failure NotStarted(const std::string& program, int error);
Failure Unreadable(const std::filesystem::path& file, const ChildProcess& decoder);

} // namespace velvix::frames
