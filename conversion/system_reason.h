// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <string>
#include <system_error>

namespace velvix {

// The reason a file operation failed, as the user reads it in a German box:
// the common reasons in German, the system's own text only for rare ones.
std::string SystemReason(std::error_code error);
std::string SystemReasonFromErrno(int error);

} // namespace velvix
