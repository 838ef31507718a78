// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "folder_ops.h"
#include "host.h"
#include "memory_budget.h"
#include "run_record.h"
#include "run_settings.h"

#include <filesystem>

namespace velvix {

// The state behind the main window and the work of its Start button.
class Converter {
public:
    // Tests pass folder operations that fail on purpose.
    explicit Converter(Host& host, FolderOps& folderOps = DefaultFolderOps())
        : host_(host), folderOps_(folderOps), budget_(host)
    {
    }

    MemoryBudget& budget() { return budget_; }
    const MemoryBudget& budget() const { return budget_; }

    // Compression strength "5%" to "9%" (index 0 to 4); other indices change nothing.
    void chooseStrength(int index);
    int similarityThreshold() const { return similarityThreshold_; }

    void setFrameFolder(std::filesystem::path folder) { frameFolder_ = std::move(folder); }
    const std::filesystem::path& frameFolder() const { return frameFolder_; }

    // One press of Start: name, frames, cut, files, and one closing box.
    void start();

    // When the frame folder holds what a run with compression left unfinished,
    // one box says so and the user's choice is carried out: restore the folder
    // or finish the run. True when the folder was in that state, whatever the
    // choice; a run never starts on such a folder.
    bool settleInterruptedRun();

    const RunSettings& settings() const { return settings_; }
    int playSeconds() const { return playSeconds_; }
    int lastPart() const { return lastPart_; }

private:
    bool takeVideoName();
    bool findFrames();
    void finishRun(RunRecord record);
    void writeVideo(bool compressed);
    void cutTo(int capacity, bool compressed);
    bool writePlain(bool compressed);
    bool writeCompact(bool compressed);
    void setPlaySeconds(int seconds);
    bool fail(const Message& message);
    bool failAtName(const Message& message); // the name field gets the focus to mend it

    Host& host_;
    FolderOps& folderOps_;
    MemoryBudget budget_;
    std::filesystem::path frameFolder_;
    RunSettings settings_;
    int similarityThreshold_ = 627; // until a strength is chosen
    int playSeconds_ = 0;
    int lastPart_ = 0;
};

} // namespace velvix
