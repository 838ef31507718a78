// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "error_message.h"

#include <filesystem>
#include <optional>

namespace velvix::frames {

// Refuses an output folder that is the input folder or lies inside it: the
// tool would read its own frames back, or mix them with the pictures it reads.
std::optional<Message> CheckOutputPlace(const std::filesystem::path& input, const std::filesystem::path& outputFolder);

// Refuses a contact sheet that would overwrite the input, land among the
// input's pictures, replace a file the user did not allow to be replaced, or
// carry PNG data under another file type's name.
std::optional<Message> CheckPreviewPlace(const std::filesystem::path& input, const std::filesystem::path& preview,
                                         bool replace);

} // namespace velvix::frames
