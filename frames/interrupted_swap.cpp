// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "interrupted_swap.h"

#include "file_io.h"
#include "messages.h"
#include "output_swap.h"
#include "swap_record.h"

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

Message UnfinishedSwap(const fs::path& folder, const SwapRecord& record)
{
    const std::string br = messages::kLineBreak;
    std::string text = "Velvix wurde unterbrochen, während es neue Bilder aus einem Film in diesen Ordner legte:" + br +
                       Utf8FromPath(folder) + br + br;
    if (record.old.empty()) {
        text += "Die neuen Bilder sind vielleicht nicht vollständig; vorher lagen hier keine Bilder." + br + br +
                messages::kRestore + ": Die neuen Bilder werden entfernt.";
    } else {
        text += "Die Bilder im Ordner sind nicht vollständig; die " + std::to_string(record.old.size()) +
                " alten Bilder liegen unverändert daneben." + br + br + messages::kRestore +
                ": Die alten Bilder kommen zurück an ihren Platz, die neuen werden entfernt.";
    }
    text += br + messages::kLater + ": Der Ordner bleibt, wie er ist, und Start läuft nicht auf ihm. Auch „Film…“ " +
            "mit diesem Ordner als Ziel legt die alten Bilder zuerst zurück.";
    Message box{"Unterbrochener Lauf", text, Message::Icon::Warning, Message::Buttons::Choice};
    box.choices = {messages::kRestore, messages::kLater};
    return box;
}

} // namespace

bool SettleInterruptedSwap(const fs::path& folder, Host& host, FramesFolderOps& ops)
{
    const ReadRecord read = ReadSwapRecord(folder);
    if (read.failure) {
        host.showMessage(*read.failure);
        return true;
    }
    if (!read.record) {
        return false;
    }
    if (host.choose(UnfinishedSwap(folder, *read.record)) != 0) {
        return true;
    }
    const Recovered recovered = RecoverOutput(folder, {}, ops);
    if (recovered.failure) {
        host.showMessage(*recovered.failure);
        return true;
    }
    std::string text;
    for (const std::string& note : recovered.notes) {
        text += (text.empty() ? "" : messages::kLineBreak) + note;
    }
    host.showMessage({"Wiederhergestellt", text, Message::Icon::Information, Message::Buttons::Ok});
    return true;
}

} // namespace velvix::frames
