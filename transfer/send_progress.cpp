// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "send_progress.h"

#include "line_timing.h"

#include <algorithm>

namespace velvix::transfer {

std::string PlanTotals(const std::vector<VideoFile>& files, const TypingPlan& plan, int baud)
{
    std::uintmax_t bytes = 0;
    for (const TypedStep& step : plan.steps) {
        bytes += files[step.file].bytes;
    }
    return "Zusammen " + GroupDigits(bytes) + " Bytes, bei " + std::to_string(baud) + " Baud ca. " +
           FormatDuration(LineSeconds(bytes, baud));
}

std::string ProgressText(std::uintmax_t sent, std::uintmax_t total, double seconds, int baud, bool exact)
{
    // The first half second measures mostly the system's own buffer filling up.
    const double rate = seconds >= 0.5 ? static_cast<double>(sent) / seconds : 0.0;
    const std::uintmax_t left = total - std::min(sent, total);
    const double secondsLeft = rate > 0.0 ? static_cast<double>(left) / rate : LineSeconds(left, baud);
    std::string text = (exact ? "" : "etwa ") + GroupDigits(sent) + " von " + GroupDigits(total) + " Bytes";
    if (rate > 0.0) {
        text += ", " + GroupDigits(static_cast<std::uintmax_t>(rate)) + " Bytes/s";
    }
    return text + ", noch ca. " + FormatDuration(secondsLeft);
}

} // namespace velvix::transfer
