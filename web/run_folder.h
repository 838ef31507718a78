// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <filesystem>

namespace velvix::web {

// The frames of the page's current run and the files it writes, in the worker's
// memory; a compression run puts its backup beside them. Each run starts afresh.
inline const std::filesystem::path kRunFolder = "/Lauf";
inline const std::filesystem::path kFrameFolder = kRunFolder / "Bilder";

} // namespace velvix::web
