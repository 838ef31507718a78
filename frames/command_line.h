// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "make_frames.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velvix::frames {

struct CommandLine {
    Job job;
    bool help = false;
    bool version = false;
    std::optional<Message> failure; // names the argument that is wrong
    std::vector<std::string> notes; // options that are allowed but do nothing here
};

// Reads the arguments that follow the program's name.
CommandLine ReadCommandLine(std::span<const std::string> arguments);

// What --hilfe shows.
std::string HelpText();

} // namespace velvix::frames
