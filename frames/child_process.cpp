// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velvix::frames {

namespace {

constexpr int kPipeSize = 1 << 20; // Linux's default upper limit for a pipe

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments)
{
    int pipeEnds[2];
    errors_ = std::tmpfile();
    if (errors_ == nullptr || fcntl(fileno(errors_), F_SETFD, FD_CLOEXEC) != 0 || pipe2(pipeEnds, O_CLOEXEC) != 0) {
        startError_ = errno;
        return;
    }
    // Room for many pictures, so the program decodes on while a frame is written; best effort.
    fcntl(pipeEnds[0], F_SETPIPE_SZ, kPipeSize);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fileno(errors_), 2);
    startError_ = posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (startError_ != 0) {
        close(pipeEnds[0]);
        pid_ = -1;
        return;
    }
    output_ = fdopen(pipeEnds[0], "rb");
    if (output_ == nullptr) {
        startError_ = errno;
        close(pipeEnds[0]);
        finish(); // the program ends at its first write
    }
}

ChildProcess::~ChildProcess()
{
    finish();
    if (errors_ != nullptr) {
        std::fclose(errors_);
    }
}

bool ChildProcess::finish()
{
    if (output_ != nullptr) {
        std::fclose(output_);
        output_ = nullptr;
    }
    if (pid_ < 0) {
        return false;
    }
    int status = 0;
    pid_t ended;
    do {
        ended = waitpid(pid_, &status, 0);
    } while (ended < 0 && errno == EINTR);
    pid_ = -1;
    return ended > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void ChildProcess::end()
{
    // pid_ is kept until the program is reaped, so it can name no other process.
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
    }
    finish();
}

std::string ChildProcess::messages() const
{
    if (errors_ == nullptr) {
        return {};
    }
    // pread leaves the offset alone, which the program shares while it writes.
    std::string text(64 * 1024, '\0');
    const ssize_t got = pread(fileno(errors_), text.data(), text.size(), 0);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

} // namespace velvix::frames
