// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "compression.h"
#include "converter.h"
#include "file_io.h"
#include "frame_discovery.h"
#include "js_values.h"
#include "memory_folder_ops.h"
#include "memory_budget.h"
#include "messages.h"
#include "run_folder.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <span>
#include <string>

// The main window's conversion for the page's worker: the page sends the
// user's choices and frames, and gets back, in order, everything the
// conversion shows and the files it wrote.
namespace velvix::web {

namespace fs = std::filesystem;
using emscripten::val;

namespace {

std::string AsciiLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return text;
}

// Names a run looks for, in any letter case; nothing else of a chosen folder is
// read, and nothing else is left in the run's folder beside what the run writes.
bool IsFrameName(const std::string& name)
{
    static const std::set<std::string> names = [] {
        std::set<std::string> all;
        for (int number = 1; number <= kProbedFrames; ++number) {
            all.insert(AsciiLower(FrameFileName(number)));
        }
        return all;
    }();
    return names.contains(AsciiLower(name));
}

// The entries of the window's four lists, as the desktop window shows them.
val ListEntries()
{
    val rates = val::array();
    for (const FrameRate& rate : kFrameRates) {
        rates.call<void>("push", std::string(rate.entry));
    }
    val lists = val::object();
    lists.set("frameRates", rates);
    lists.set("slot1", Strings(kSlot1Entries));
    lists.set("slot2", Strings(kSlot2Entries));
    lists.set("strengths", Strings(kStrengthEntries));
    return lists;
}

} // namespace

// The window's state lives as long as the page's worker, like the desktop
// window's. Every call returns the events it caused, for the page to show in order.
class PageWindow : public Host {
public:
    PageWindow() = default;

    val chooseFrameRate(int index)
    {
        return after([&] { converter_.budget().chooseFrameRate(index); });
    }
    val chooseSlot1(int index)
    {
        return after([&] { converter_.budget().chooseSlot1(index); });
    }
    val chooseSlot2(int index)
    {
        return after([&] { converter_.budget().chooseSlot2(index); });
    }
    val chooseStrength(int index)
    {
        return after([&] { converter_.chooseStrength(index); });
    }
    // The frames the chosen memory holds, for the film dialog.
    int frameCapacity() const { return converter_.budget().frameCapacity(); }

    // frames: {names, sizes, bytes}, the bytes of all one after the other;
    // choices: {videoName, compress, player, loader, compact, decimalSeparator}.
    // Returns {events, files, outputName}: files are those of the run's folder that are no frames, by name.
    val start(const val& frames, const val& choices);

    std::string videoName() const override { return videoName_; }
    bool isTicked(CheckBox box) const override
    {
        switch (box) {
        case CheckBox::CheckVKomp:
            return compress_;
        case CheckBox::CheckvPlay:
            return player_;
        case CheckBox::CheckStartBas:
            return loader_;
        case CheckBox::CheckKompakt:
            return compact_;
        }
        return false;
    }
    void setVideoName(const std::string& text) override { post("videoName", val(text)); }
    void focusVideoName() override { post("focusVideoName", val::undefined()); }
    void setTextVideoLng(const std::string& text) override { post("videoLength", val(text)); }
    void setTextVidSekReal(const std::string& text) override { post("playSeconds", val(text)); }
    void showCompactFit(const std::string& text) override { post("compactFit", val(text)); }
    void showSlot2Choice(int index) override { post("slot2Choice", val(index)); }
    void showMessage(const Message& message) override;
    // The page's run folder holds only the chosen frames, never what a run left
    // unfinished, so no run asks; were one to, its box shows and counts as closed.
    int choose(const Message& message) override
    {
        showMessage(message);
        return static_cast<int>(message.choices.size()) - 1;
    }
    std::string formatDecimal(double value) const override;

private:
    val after(const auto& work)
    {
        work();
        val events = events_;
        events_ = val::array();
        return events;
    }
    void post(const char* kind, const val& value)
    {
        val event = val::object();
        event.set("kind", std::string(kind));
        event.set("value", value);
        events_.call<void>("push", event);
    }
    bool putFrames(const val& frames);
    val writtenFiles() const;

    val events_ = val::array();
    std::string videoName_;
    bool compress_ = true;
    bool player_ = false;
    bool loader_ = false;
    bool compact_ = false;
    std::string decimalSeparator_ = ",";
    MemoryFolderOps folderOps_;
    Converter converter_{*this, folderOps_};
};

val PageWindow::start(const val& frames, const val& choices)
{
    videoName_ = choices["videoName"].as<std::string>();
    compress_ = choices["compress"].as<bool>();
    player_ = choices["player"].as<bool>();
    loader_ = choices["loader"].as<bool>();
    compact_ = choices["compact"].as<bool>();
    decimalSeparator_ = choices["decimalSeparator"].as<std::string>();

    val result = val::object();
    result.set("events", after([&] {
                   if (putFrames(frames)) {
                       converter_.setFrameFolder(kFrameFolder);
                       converter_.start();
                   }
               }));
    result.set("files", writtenFiles());
    result.set("outputName", converter_.settings().outputName);
    return result;
}

// Each run starts from the frames as chosen, in a fresh folder: the user's own files never change.
// All frames come in one piece, since each value from the page costs a crossing.
bool PageWindow::putFrames(const val& frames)
{
    std::error_code ignored;
    fs::remove_all(kRunFolder, ignored);
    fs::create_directories(kFrameFolder, ignored);
    const auto names = emscripten::vecFromJSArray<std::string>(frames["names"]);
    const auto sizes = emscripten::convertJSArrayToNumberVector<std::uint32_t>(frames["sizes"]);
    const Bytes bytes = emscripten::convertJSArrayToNumberVector<std::uint8_t>(frames["bytes"]);
    std::span<const std::uint8_t> rest(bytes);
    for (std::size_t i = 0; i < names.size() && i < sizes.size() && sizes[i] <= rest.size(); ++i) {
        const std::span<const std::uint8_t> frame = rest.first(sizes[i]);
        rest = rest.subspan(sizes[i]);
        if (!IsFrameName(names[i])) {
            continue;
        }
        if (auto error = folderOps_.writeFile(kFrameFolder / PathFromUtf8(names[i]), frame)) {
            showMessage(messages::WriteFailed(*error));
            return false;
        }
    }
    return true;
}

val PageWindow::writtenFiles() const
{
    std::vector<std::pair<std::string, fs::path>> found;
    std::error_code error;
    for (fs::directory_iterator it(kFrameFolder, error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        const std::string name = Utf8FromPath(it->path().filename());
        if (it->is_regular_file() && !IsFrameName(name)) {
            found.emplace_back(name, it->path());
        }
    }
    std::sort(found.begin(), found.end());
    val files = val::array();
    for (const auto& [name, path] : found) {
        std::error_code sizeError;
        const FileStart file = ReadFileStart(path, fs::file_size(path, sizeError));
        val entry = val::object();
        entry.set("name", name);
        entry.set("bytes", Copy(file.bytes));
        files.call<void>("push", entry);
    }
    return files;
}

void PageWindow::showMessage(const Message& message) { post("message", Box(message)); }

// The shortest decimal that reads back as the same number, with the user's separator.
std::string PageWindow::formatDecimal(double value) const
{
    char text[64];
    for (int decimals = 0; decimals < 17; ++decimals) {
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    std::string result = text;
    if (const auto point = result.find('.'); point != std::string::npos) {
        result.replace(point, 1, decimalSeparator_);
    }
    return result;
}

EMSCRIPTEN_BINDINGS(conversion)
{
    emscripten::function("listEntries", &ListEntries);
    emscripten::function("isFrameName", &IsFrameName);
    emscripten::class_<PageWindow>("PageWindow")
        .constructor<>()
        .function("chooseFrameRate", &PageWindow::chooseFrameRate)
        .function("chooseSlot1", &PageWindow::chooseSlot1)
        .function("chooseSlot2", &PageWindow::chooseSlot2)
        .function("chooseStrength", &PageWindow::chooseStrength)
        .function("frameCapacity", &PageWindow::frameCapacity)
        .function("start", &PageWindow::start);
}

} // namespace velvix::web
