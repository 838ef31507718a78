// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "typing_plan.h"

#include "vid_layout.h"

#include <cstdio>

namespace velvix::transfer {

namespace {

// "CALL &EEB1": where the player starts.
std::string StartPlayer()
{
    char line[16];
    std::snprintf(line, sizeof line, "CALL &%04X", kPlayerAddress);
    return line;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string OnRamDisk(const std::string& name) { return Quoted("S2:" + name); }

std::string ReceiveLine(const VideoFile& file, Way way)
{
    if (way == Way::RamDisk) {
        return "COPY \"COM1:\" TO " + OnRamDisk(file.name);
    }
    return file.kind == FileKind::Loader ? "LOAD \"COM1:\"" : "BLOAD \"COM1:\"";
}

const VideoFile* FindKind(const std::vector<VideoFile>& files, FileKind kind)
{
    for (const VideoFile& file : files) {
        if (file.kind == kind) {
            return &file;
        }
    }
    return nullptr;
}

// After everything is on the RAM disk: load the parts (by the loader where there is one), then the player.
void PlanRamDiskStart(const std::vector<VideoFile>& files, TypingPlan& plan)
{
    if (const VideoFile* loader = FindKind(files, FileKind::Loader)) {
        plan.startLines.push_back("LOAD " + OnRamDisk(loader->name));
        plan.startLines.emplace_back("RUN");
    } else {
        for (const VideoFile& file : files) {
            if (file.kind == FileKind::Part) {
                plan.startLines.push_back("BLOAD " + OnRamDisk(file.name));
            }
        }
    }
    if (const VideoFile* player = FindKind(files, FileKind::Player)) {
        plan.startNote = "Alles ist auf der RAM-Disk. Zum Laden und Abspielen eingeben (" + player->name +
                         " startet das Video nach dem Laden von selbst):";
        plan.startLines.push_back("BLOAD " + OnRamDisk(player->name));
    } else {
        plan.startNote = "Alles ist auf der RAM-Disk. Zum Laden und Abspielen eingeben "
                         "(der VPLAYER muss schon im PC-1600 sein):";
        plan.startLines.push_back(StartPlayer());
    }
}

} // namespace

std::vector<std::string> SetupLines(int baud)
{
    return {"INIT \"COM1:\",4096", "SETCOM \"COM1:\"," + std::to_string(baud) + ",8,N,1,X,N"};
}

TypingPlan PlanTyping(const std::vector<VideoFile>& files, Way way, int baud)
{
    TypingPlan plan;
    plan.way = way;
    plan.setup = SetupLines(baud);
    for (std::size_t index = 0; index < files.size(); ++index) {
        // The loader reads the parts from S2:, where this way puts none.
        if (way == Way::Memory && files[index].kind == FileKind::Loader) {
            plan.unneeded.push_back(index);
            continue;
        }
        plan.steps.push_back({index, ReceiveLine(files[index], way)});
    }
    if (way == Way::RamDisk) {
        PlanRamDiskStart(files, plan);
        return plan;
    }
    const VideoFile* player = FindKind(files, FileKind::Player);
    plan.startNote = player != nullptr
                         ? "Das Video läuft, sobald " + player->name + " geladen ist. Zum erneuten Abspielen eingeben:"
                         : "Zum Abspielen eingeben (der VPLAYER muss schon im PC-1600 sein):";
    plan.startLines.push_back(StartPlayer());
    return plan;
}

std::string FinishNote(const TypingPlan& plan, std::size_t skipped)
{
    if (skipped == 0) {
        return plan.startNote;
    }
    const std::string what = plan.way == Way::RamDisk ? "Laden und Abspielen" : "Abspielen";
    if (skipped >= plan.steps.size()) {
        return "Es wurde keine Datei gesendet. Nur wenn der PC-1600 alle schon hat, zum " + what + " eingeben:";
    }
    return std::to_string(skipped) + " von " + std::to_string(plan.steps.size()) +
           (skipped == 1 ? " Dateien wurde" : " Dateien wurden") +
           " übersprungen. Nur wenn der PC-1600 sie schon hat, zum " + what + " eingeben:";
}

} // namespace velvix::transfer
