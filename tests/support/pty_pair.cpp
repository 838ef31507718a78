// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "pty_pair.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace velvix::test {

PtyPair::PtyPair()
{
    std::array<char, 256> name{};
    if (::openpty(&far_, &port_, name.data(), nullptr, nullptr) != 0) {
        throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
    }
    portPath_ = name.data();
    termios raw{};
    ::tcgetattr(port_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(port_, TCSANOW, &raw);
    ::fcntl(far_, F_SETFL, ::fcntl(far_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    pullCable();
    ::close(port_);
}

void PtyPair::readArrived(std::vector<std::uint8_t>& into)
{
    std::array<std::uint8_t, 65536> chunk{};
    for (;;) {
        const ssize_t got = ::read(far_, chunk.data(), chunk.size());
        if (got <= 0) {
            return;
        }
        into.insert(into.end(), chunk.begin(), chunk.begin() + got);
    }
}

void PtyPair::sendFromFar(std::uint8_t byte)
{
    if (::write(far_, &byte, 1) != 1) {
        throw std::runtime_error(std::string("pty write: ") + std::strerror(errno));
    }
}

void PtyPair::pullCable()
{
    if (far_ >= 0) {
        ::close(far_);
        far_ = -1;
    }
}

} // namespace velvix::test
