#pragma once

#include <string>

namespace velvix {

// What a message box shows, for every library and window: the libraries say
// what went wrong in German, a window only decides how to show it.
struct Message {
    enum class Icon { Warning, Information };
    enum class Buttons { Ok, OkCancel };

    std::string title;
    std::string text; // line breaks are "\r\n"
    Icon icon = Icon::Warning;
    Buttons buttons = Buttons::Ok;

    bool operator==(const Message&) const = default;
};

} // namespace velvix
