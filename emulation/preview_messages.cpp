// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "preview_messages.h"

#include "file_io.h"
#include "messages.h"

namespace velvix::messages {

namespace {

const std::string kBr = kLineBreak;

Message Box(const std::string& text)
{
    return {kPreviewWindow.title, text, Message::Icon::Warning, Message::Buttons::Ok};
}

} // namespace

Message NoVideo(const std::filesystem::path& folder)
{
    return Box("Im Ordner" + kBr + Utf8FromPath(folder) + kBr + "liegt kein Video (keine Datei NAME0.VID)." + kBr +
               "Wählen Sie links den Ordner, in den Velvix das Video geschrieben hat, oder starten Sie zuerst "
               "eine Umwandlung.");
}

Message PlayerFailed(const std::string& videoName, const std::string& fault)
{
    return Box("Der Videoplayer hat das Video \"" + videoName +
               "\" im nachgebildeten PC-1600 nicht zu Ende gespielt: " + fault + "." + kBr +
               "Die Dateien sind wohl beschädigt. " + WriteAgain(kPreviewWindow));
}

} // namespace velvix::messages
