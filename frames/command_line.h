#pragma once

#include "make_frames.h"

#include <optional>
#include <span>
#include <string>

namespace velvix::frames {

struct CommandLine {
    Job job;
    bool help = false;
    bool version = false;
    std::optional<Failure> failure; // names the argument that is wrong
};

// Reads the arguments that follow the program's name.
CommandLine ReadCommandLine(std::span<const std::string> arguments);

// What --hilfe shows.
std::string HelpText();

} // namespace velvix::frames
