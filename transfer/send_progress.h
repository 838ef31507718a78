// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "typing_plan.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velvix::transfer {

// "Zusammen 75.074 Bytes, bei 9600 Baud ca. 1 min 19 s": what the plan sends, and how long the line needs.
std::string PlanTotals(const std::vector<VideoFile>& files, const TypingPlan& plan, int baud);

// "11.776 von 28.145 Bytes, 958 Bytes/s, noch ca. 18 s" for a file `seconds` after its start.
// Without `exact` the port could not tell what left it, and the count says "etwa".
std::string ProgressText(std::uintmax_t sent, std::uintmax_t total, double seconds, int baud, bool exact);

} // namespace velvix::transfer
