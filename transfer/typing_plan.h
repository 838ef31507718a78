// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "video_files.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velvix::transfer {

// Where the files go on the PC-1600.
enum class Way {
    Memory,  // BLOAD "COM1:" / LOAD "COM1:": straight into memory
    RamDisk, // COPY "COM1:" TO "S2:...": onto the RAM disk, loaded from there
};

// One file that goes, and the line the user types on the PC-1600 before it is sent.
struct TypedStep {
    std::size_t file = 0; // index into the listed files
    std::string line;

    bool operator==(const TypedStep&) const = default;
};

// Everything the user types on the PC-1600 for one transfer.
struct TypingPlan {
    Way way = Way::Memory;
    std::vector<std::string> setup; // once, before the first file
    std::vector<TypedStep> steps;
    std::vector<std::size_t> unneeded; // listed files this way does not send
    std::string startNote;             // German, before the start lines
    std::vector<std::string> startLines;
};

// The port set-up lines for the rate: a receive buffer, then 8N1 with XON/XOFF.
std::vector<std::string> SetupLines(int baud);

TypingPlan PlanTyping(const std::vector<VideoFile>& files, Way way, int baud);

// The note before the start lines once every step is done, `skipped` of them without sending:
// the plan's own note only when everything went.
std::string FinishNote(const TypingPlan& plan, std::size_t skipped);

} // namespace velvix::transfer
