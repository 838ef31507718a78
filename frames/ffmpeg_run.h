// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "child_process.h"
#include "error_message.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velvix::frames {

// What every ffmpeg run of this tool shares: how it starts, how it names its
// input, how it hands over pictures, and what the user reads when it fails.

// The program and the options every run starts with: no questions, and its
// log lines marked with their level, so the film's facts and ffmpeg's errors
// can be told apart in what it writes while it decodes.
std::vector<std::string> FfmpegStart(const std::string& program);

// "file:" keeps ffmpeg from reading a name with a colon as a protocol, or
// one with a leading dash as an option.
std::string InputName(const std::filesystem::path& file);

// The arguments that make ffmpeg write the first video stream's pictures to
// its standard output as 8-bit grey PGM images.
std::vector<std::string> PictureOutput();

// ffmpeg's error lines in its log, without the level marks, joined by "; ".
std::string ErrorLines(const std::string& log);

enum class InputKind { Film, Image };

Message NotStarted(const std::string& program, int error);
// In German what went wrong and what to do; ffmpeg's own words follow as a
// marked detail line.
Message Unreadable(const std::filesystem::path& file, InputKind kind, const ChildProcess& decoder);

} // namespace velvix::frames
