// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "message.h"

#include <emscripten/val.h>

#include <string>
#include <vector>

// The library's values as the page's script reads them; each binding file uses these.
namespace velvix::web {

// {title, text, warning, cancel}: a box as the page's dialogs show it.
inline emscripten::val Box(const Message& message)
{
    emscripten::val box = emscripten::val::object();
    box.set("title", message.title);
    box.set("text", message.text);
    box.set("warning", message.icon == Message::Icon::Warning);
    box.set("cancel", message.buttons == Message::Buttons::OkCancel);
    return box;
}

// A Uint8Array of its own, which the worker can hand over to the page.
inline emscripten::val Copy(const Bytes& bytes)
{
    return emscripten::val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

inline emscripten::val Strings(const auto& texts)
{
    emscripten::val list = emscripten::val::array();
    for (const auto& text : texts) {
        list.call<void>("push", std::string(text));
    }
    return list;
}

} // namespace velvix::web
