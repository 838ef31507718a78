// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <QString>

namespace velvix::ui {

// The German guide of the help window, lines ended by CR LF, signed with the
// program's name and version.
QString GuideText();

} // namespace velvix::ui
