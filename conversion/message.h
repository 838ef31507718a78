// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <string>
#include <vector>

namespace velvix {

// What a message box shows, for every library and window: the libraries say
// what went wrong in German, a window only decides how to show it.
struct Message {
    enum class Icon { Warning, Information };
    enum class Buttons { Ok, OkCancel, Choice };

    std::string title;
    std::string text; // line breaks are "\r\n"
    Icon icon = Icon::Warning;
    Buttons buttons = Buttons::Ok;
    // Buttons::Choice: one button each, the first the default, the last taken when the box is closed.
    std::vector<std::string> choices = {};

    bool operator==(const Message&) const = default;
};

} // namespace velvix
