// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"
#include "vid_messages.h"

#include <filesystem>
#include <string>

// The boxes of the preview, with their German text; those about the part
// files come from the video format's own messages.
namespace velvix::messages {

inline constexpr VideoWindow kPreviewWindow{"Vorschau", "die Vorschau"};

Message NoVideo(const std::filesystem::path& folder);
Message PlayerFailed(const std::string& videoName, const std::string& fault);

} // namespace velvix::messages
