// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velvix::frames {

// Another program, run beside us: we read its standard output through a
// pipe; its error output goes to a temporary file, so a chatty program can
// never stall on a full pipe while we wait for its pictures. On the page the
// program is ffmpeg for WebAssembly in the same worker, which has run to its
// end when the object is made (web/ffmpeg_process.cpp).
class ChildProcess {
public:
    // Starts arguments[0], looked up on PATH, with no input.
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // 0 when the program runs; otherwise the errno that kept it from starting.
    int startError() const { return startError_; }
    std::FILE* output() { return output_; }

    // Stops reading (a program still writing then ends) and waits for the
    // program; true when it ended with exit code 0.
    bool finish();

    // Ends the program at once, whatever it is doing, and waits for it; for
    // a stop that should not wait. Nothing happens when it has ended already.
    void end();

    // The start of what the program has written to its error output so far;
    // may be asked while it runs.
    std::string messages() const;

private:
    int startError_ = 0;
    std::FILE* output_ = nullptr;
#ifdef __EMSCRIPTEN__
    bool succeeded_ = false;
    std::string messages_;
#else
    pid_t pid_ = -1;
    std::FILE* errors_ = nullptr;
#endif
};

} // namespace velvix::frames
