// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "command_line.h"
#include "file_io.h"
#include "film_survey.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <unistd.h>

using namespace velvix;
using namespace velvix::frames;

namespace {

// One line, rewritten in place, when someone watches the terminal.
class ProgressLine {
public:
    void show(int done, int expected)
    {
        if (!isatty(STDERR_FILENO)) {
            return;
        }
        if (expected >= done) {
            std::fprintf(stderr, "\rBild %d von %d ", done, expected);
        } else {
            std::fprintf(stderr, "\rBild %d ", done);
        }
        shown_ = true;
    }
    ~ProgressLine()
    {
        if (shown_) {
            std::fputc('\n', stderr);
        }
    }

private:
    bool shown_ = false;
};

// A message's lines as the terminal writes them.
std::string Lines(std::string text)
{
    std::erase(text, '\r');
    return text;
}

// Set by Ctrl-C: the work stops between pictures and writes nothing, rather
// than ending wherever it is.
std::atomic<bool> interrupted = false;

void Interrupt(int) { interrupted = true; }

int Run(CommandLine line)
{
    line.job.cancel = &interrupted;
    std::signal(SIGINT, Interrupt);
    std::signal(SIGTERM, Interrupt);
    Outcome outcome;
    {
        ProgressLine progress;
        outcome = MakeFrames(line.job, [&](int done, int expected) { progress.show(done, expected); });
    }
    if (outcome.failure) {
        std::fprintf(stderr, "velvix-frames: Fehler: %s\n", Lines(outcome.failure->text).c_str());
        return 1;
    }
    for (const std::string& note : outcome.notes) {
        std::printf("Hinweis: %s\n", note.c_str());
    }
    const int count = outcome.frameCount;
    if (!line.job.preview.empty()) {
        std::printf("Vorschau mit %d %s: %s\n", count, count == 1 ? "Bild" : "Bildern",
                    Utf8FromPath(line.job.preview).c_str());
    }
    if (!line.job.outputFolder.empty()) {
        if (count == 1) {
            std::printf("1 Bild geschrieben nach %s (B001.BMP).\n", Utf8FromPath(line.job.outputFolder).c_str());
        } else {
            std::printf("%d Bilder geschrieben nach %s (B001.BMP bis B%03d.BMP).\n", count,
                        Utf8FromPath(line.job.outputFolder).c_str(), count);
        }
        std::error_code ec;
        const std::string name = SuggestedVideoName(line.job.input);
        const std::string asName = name.empty() ? "" : " und als Namen des Videos etwa " + name + " eingeben";
        if (!std::filesystem::is_directory(line.job.input, ec)) {
            std::printf("In Velvix dazu „%d Bilder/Sek“ wählen%s.\n", line.job.part.rate, asName.c_str());
        } else if (!name.empty()) {
            std::printf("In Velvix als Namen des Videos etwa %s eingeben.\n", name.c_str());
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CommandLine line = ReadCommandLine(arguments);
    if (line.help) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::puts("velvix-frames " VELVIX_VERSION
                  "\nFreie Software unter der GNU GPL, Version 3 oder später (GPL-3.0-or-later)");
        return 0;
    }
    if (line.failure) {
        std::fprintf(stderr, "velvix-frames: %s\nAlle Optionen zeigt: velvix-frames --hilfe\n",
                     Lines(line.failure->text).c_str());
        return 2;
    }
    for (const std::string& note : line.notes) {
        std::printf("Hinweis: %s\n", note.c_str());
    }
    try {
        return Run(line);
    } catch (const std::bad_alloc&) {
        std::fputs("velvix-frames: Fehler: Zu wenig Arbeitsspeicher.\n", stderr);
        return 1;
    }
}
