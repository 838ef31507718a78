// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter.h"
#include "fake_host.h"
#include "frame_files.h"
#include "frame_timeline.h"
#include "preview_video.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

// The desktop program's side of the browser tests: makes a film's frames, runs
// the conversion on a folder as the main window does, printing each box, what
// the Kompakt box's label shows and the time the run took as one JSON line each,
// and prints the times at which the emulated player shows each frame of a video.
namespace {

using namespace velvix;

// Pairs of near copies: compression keeps about every second frame.
void MakeFrames(const std::filesystem::path& folder, int count)
{
    std::vector<Bytes> frames;
    for (int i = 0; i < count; ++i) {
        const Bytes frame = test::NumberedFrame(i / 2 + 1);
        frames.push_back(i % 2 == 0 ? frame : test::NearCopy(frame, i));
    }
    test::WriteFrames(folder, frames);
}

std::string Json(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\n':
            quoted += "\\n";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

int Convert(char** arg)
{
    test::FakeHost host;
    host.decimalSeparator = ',';
    Converter converter(host);
    // The window's start-up order of its lists, then the user's choices.
    converter.chooseStrength(std::atoi(arg[6]));
    converter.budget().chooseFrameRate(std::atoi(arg[3]));
    converter.budget().chooseSlot1(std::atoi(arg[4]));
    converter.budget().chooseSlot2(std::atoi(arg[5]));
    host.name = arg[2];
    host.ticked = {{CheckBox::CheckVKomp, std::string(arg[7]) == "1"},
                   {CheckBox::CheckvPlay, std::string(arg[8]) == "1"},
                   {CheckBox::CheckStartBas, std::string(arg[9]) == "1"},
                   {CheckBox::CheckKompakt, std::string(arg[10]) == "1"}};
    host.clearRecords();
    converter.setFrameFolder(arg[1]);

    const auto begin = std::chrono::steady_clock::now();
    converter.start();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;

    for (const Message& message : host.messages) {
        std::printf("{\"title\": %s, \"text\": %s}\n", Json(message.title).c_str(), Json(message.text).c_str());
    }
    for (const std::string& fit : host.compactFit) {
        std::printf("{\"compactFit\": %s}\n", Json(fit).c_str());
    }
    std::printf("{\"milliseconds\": %.3f}\n", took.count());
    return 0;
}

int Timeline(const std::filesystem::path& folder, const std::string& name)
{
    const PreviewResult preview = LoadPreview(folder, name);
    if (!preview.video) {
        std::fprintf(stderr, "%s\n", preview.failure->text.c_str());
        return 1;
    }
    const FrameTimeline timeline = preview.video->timeline();
    std::string startMs;
    for (int frame = 0; frame <= timeline.frameCount(); ++frame) {
        startMs += (frame == 0 ? "[" : ", ") + std::to_string(timeline.startMs(frame));
    }
    std::printf("%s]\n", startMs.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "frames" && argc == 4) {
        MakeFrames(argv[2], std::atoi(argv[3]));
        return 0;
    }
    if (command == "convert" && argc == 12) {
        return Convert(argv + 1);
    }
    if (command == "timeline" && argc == 4) {
        return Timeline(argv[2], argv[3]);
    }
    std::fprintf(stderr,
                 "usage: desktop_run frames FOLDER COUNT\n"
                 "       desktop_run convert FOLDER NAME RATE SLOT1 SLOT2 STRENGTH COMPRESS PLAYER LOADER KOMPAKT\n"
                 "       desktop_run timeline FOLDER VIDEO\n");
    return 2;
}
