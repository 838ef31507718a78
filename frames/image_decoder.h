// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "display_fit.h"
#include "ffmpeg_decoder.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace velvix::frames {

// Decodes one picture of each image, in order, with one ffmpeg run for each
// stretch of images of one file type, and hands each to `take` as soon as it
// is there. Each picture arrives fitted to a canvas of the display's shape,
// twice its size, so pictures of any size can share one run: filled and cut
// evenly (Fit::Fill) or inside white bars.
std::optional<Message> DecodeImages(const Decoders& decoders, const std::vector<std::filesystem::path>& images, Fit fit,
                                    const TakePicture& take);

} // namespace velvix::frames
