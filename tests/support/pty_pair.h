// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velvix::test {

// A pseudo-terminal pair in place of a serial cable: the sender opens the
// port side by its path as a serial port; the test plays the PC-1600 on the
// far side, reads what arrives and sends XON and XOFF.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& portPath() const { return portPath_; }
    int farSide() const { return far_; }

    // Appends what has arrived since the last call; never waits.
    void readArrived(std::vector<std::uint8_t>& into);
    void sendFromFar(std::uint8_t byte);
    // The cable is pulled: the far side closes, and the port side fails.
    void pullCable();

private:
    int far_ = -1;
    int port_ = -1; // held open so the line stays up between the sender's files
    std::string portPath_;
};

inline constexpr std::uint8_t kXon = 0x11;
inline constexpr std::uint8_t kXoff = 0x13;

} // namespace velvix::test
