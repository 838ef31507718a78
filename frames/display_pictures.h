// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "make_frames.h"

#include <optional>
#include <string>
#include <vector>

namespace velvix::frames {

// How reading a job's input ended; the pictures themselves went to the taker.
struct DisplayRead {
    std::optional<Message> failure;
    std::vector<std::string> notes; // worth telling even on success, one line each
    bool cancelled = false;
};

// A job's input read picture by picture and fitted to the display, still in
// grey: the one costly step. Each picture goes to `take` as soon as it is
// there; when `take` returns false, reading stops without a failure of its
// own. At most 299 pictures; more are refused unless the job takes the
// first ones only.
DisplayRead ReadDisplayPictures(const Job& job, const Progress& progress, const TakePicture& take);

// All of a job's pictures at once, shared by every dithering method a caller
// wants to compare.
struct DisplayPictures : DisplayRead {
    std::vector<GreyImage> pictures;
};

DisplayPictures ReadDisplayPictures(const Job& job, const Progress& progress);

} // namespace velvix::frames
