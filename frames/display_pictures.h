// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "make_frames.h"

#include <optional>
#include <string>
#include <vector>

namespace velvix::frames {

// A job's input read picture by picture and fitted to the display, still in
// grey: the one costly step, shared by the frames and by every dithering
// method a caller wants to compare.
struct DisplayPictures {
    std::vector<GreyImage> pictures;
    std::optional<Message> failure;
    std::vector<std::string> notes; // worth telling even on success, one line each
    bool cancelled = false;
};

// At most 299 pictures; more are refused unless the job takes the first ones only.
DisplayPictures ReadDisplayPictures(const Job& job, const Progress& progress);

} // namespace velvix::frames
