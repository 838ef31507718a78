// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"

#include <string_view>

namespace velvix::frames {

// Why the tool stops, in German, as a box or the terminal shows it; "\n" in
// `text` starts a new line.
inline Message ErrorMessage(std::string_view text)
{
    std::string lines;
    for (const char c : text) {
        lines += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return {"Fehler", lines, Message::Icon::Warning, Message::Buttons::Ok};
}

} // namespace velvix::frames
