// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "frames_folder_ops.h"
#include "host.h"

#include <filesystem>

namespace velvix::frames {

// When `folder` holds the record of a swap of frames that was stopped half
// way (a kill while new frames from a film took the place of the old), one
// box says so and offers to put the old frames back, or not now. True when
// the folder was in that state, whatever the choice: a run never starts on
// such a folder as if its frames were whole.
bool SettleInterruptedSwap(const std::filesystem::path& folder, Host& host,
                           FramesFolderOps& ops = DefaultFramesFolderOps());

} // namespace velvix::frames
