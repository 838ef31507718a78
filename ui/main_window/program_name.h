// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

// The window caption and the guide's signature. VELVIX_VERSION comes from the build.
namespace velvix::ui {

inline constexpr char kProgramName[] = "Velvix - " VELVIX_VERSION;

} // namespace velvix::ui
