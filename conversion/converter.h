#pragma once

#include "host.h"
#include "memory_budget.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velvix {

// What the phases of one run hand to each other. Frame numbers count from 1;
// frame i is at index i - 1. Every run fills these anew.
struct RunSettings {
    std::string outputName; // the cleaned video name, UTF-8
    std::vector<std::filesystem::path> framePaths;
    std::vector<std::uint8_t> frameTimes; // display time of each frame in player units
    int frameCount = 0;
    int sourceSeconds = 0; // play time of all frames found
};

// The state behind the main window and the work of its Start button.
class Converter {
public:
    explicit Converter(Host& host) : host_(host), budget_(host) {}

    MemoryBudget& budget() { return budget_; }
    const MemoryBudget& budget() const { return budget_; }

    // Compression strength "5%" to "9%" (index 0 to 4); other indices change nothing.
    void chooseStrength(int index);
    int similarityThreshold() const { return similarityThreshold_; }

    void setFrameFolder(std::filesystem::path folder) { frameFolder_ = std::move(folder); }
    const std::filesystem::path& frameFolder() const { return frameFolder_; }

    // One press of Start: name, frames, cut, files, and one closing box.
    void start();

    const RunSettings& settings() const { return settings_; }
    int playSeconds() const { return playSeconds_; }
    int lastPart() const { return lastPart_; }

private:
    bool takeVideoName();
    bool findFrames();
    void setPlaySeconds(int seconds);
    bool fail(const Message& message);
    bool failAtName(const Message& message); // the name field gets the focus to mend it

    Host& host_;
    MemoryBudget budget_;
    std::filesystem::path frameFolder_;
    RunSettings settings_;
    int similarityThreshold_ = 627; // until a strength is chosen
    int playSeconds_ = 0;
    int lastPart_ = 0;
};

} // namespace velvix
