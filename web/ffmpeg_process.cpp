// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "child_process.h"

#include <emscripten/val.h>

#include <cstdio>

// ChildProcess on the page: the film worker gives our module its ffmpeg for
// WebAssembly as Module.runFfmpeg(arguments, outputFile) -> {exitCode, log}.
// It runs in the same worker, to its end, before the first picture is read.
// Its file system is its own and it has no pipe to us, so it writes what
// would go to its standard output into a file, which the worker moves into ours.
namespace velvix::frames {

namespace {

constexpr const char* kOutput = "/tmp/ffmpeg-ausgabe";

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments)
{
    emscripten::val list = emscripten::val::array();
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        list.call<void>("push", arguments[i] == "pipe:1" ? std::string(kOutput) : arguments[i]);
    }
    const emscripten::val ran = emscripten::val::module_property("runFfmpeg")(list, std::string(kOutput));
    succeeded_ = ran["exitCode"].as<int>() == 0;
    messages_ = ran["log"].as<std::string>();
    output_ = std::fopen(kOutput, "rb");
    if (output_ != nullptr) {
        std::remove(kOutput); // the open file stays readable; the next run starts without it
    } else {
        output_ = std::tmpfile(); // a run that wrote nothing gives an empty output
    }
}

ChildProcess::~ChildProcess() { finish(); }

bool ChildProcess::finish()
{
    if (output_ != nullptr) {
        std::fclose(output_);
        output_ = nullptr;
    }
    return succeeded_;
}

void ChildProcess::end() { finish(); }

std::string ChildProcess::messages() const { return messages_; }

} // namespace velvix::frames
