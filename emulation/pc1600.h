// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "frame_bitmap.h"
#include "pc1600_timing.h"
#include "stored_frames.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velvix {

// What the display holds: four bands of eight rows, top band first, one byte
// per column; bit i is row 8 x band + i. The layout of a packed frame.
using Screen = PackedFrame;

// A picture the player left on the display, how many wait ticks it stood and
// the T-states the player spent meanwhile (deciding and drawing the next one):
// what the part files store, as the emulator saw it. Only the player's own
// instructions count, with the CALL into a system routine and its RET; the
// routines themselves take no time here but for the wait tick, which lasts
// what the frame rate says (pc1600_timing.h).
using ShownFrame = StoredVideoFrame;

struct Playback {
    std::vector<ShownFrame> frames;
    int displaySetUps = 0;
    int keyChecks = 0;
    bool returned = false; // came back to its caller with the stack as it was
    std::string fault;     // why the emulation stopped otherwise, in German
};

// Far more than the longest video takes: 120 frames that each stand for 256
// time units are about 800 000 steps.
inline constexpr long kDefaultStepLimit = 5'000'000;

// Just enough of a Sharp PC-1600 to run the player: a Z80, 48 KB below 0xC000
// in each of the banks 0 to 3, 16 KB common memory above, and the five system
// routines the player calls, answered here instead of by the ROM:
//   0x0112 display set-up, 0x012A one wait tick,
//   0x0160 show band A (0 top to 3 bottom) from the HL = 156 bytes at DE,
//   0x016F key check (carry set: a key was pressed), 0x0190 select bank A.
// Code may run only in common memory, where the player lives. A routine keeps
// only what players may rely on: B across the wait tick and the carry of the
// key check; every other register and flag, the alternate set, IX and IY come
// back scrambled, so a player that relies on more fails here as on a PC-1600.
class Pc1600 {
public:
    Pc1600();
    ~Pc1600();
    Pc1600(const Pc1600&) = delete;
    Pc1600& operator=(const Pc1600&) = delete;

    // Loads a binary file as BLOAD does: data length, load address and bank
    // from its 16-byte header. False, with nothing loaded, for a file without
    // that header or one that does not fit into memory.
    [[nodiscard]] bool bload(std::span<const std::uint8_t> file);

    // Calls the code at `address` as CALL does and runs it until it returns,
    // for at most `stepLimit` instructions. A key is pressed once the k-th
    // frame has been shown, if given.
    Playback call(std::uint16_t address, std::optional<int> keyAfterFrame = std::nullopt,
                  long stepLimit = kDefaultStepLimit);

    std::uint8_t& memory(int bank, std::uint16_t address);

private:
    friend struct Bus; // the CPU's memory and port access

    std::uint8_t& memory(std::uint16_t address); // as the selected bank shows it
    bool answerSystemRoutine(std::uint16_t address);
    void showBand();
    void tick();
    void returnToCaller();
    void scrambleRegisters(std::uint16_t routine);
    std::uint16_t scrambled();
    // `which` is one of the CPU's register names; the CPU stays inside pc1600.cpp.
    std::uint16_t reg(int which) const;
    void setReg(int which, std::uint16_t value);

    class Cpu;
    std::unique_ptr<Cpu> cpu_;
    std::vector<std::uint8_t> banked_; // 4 x 0xC000
    std::vector<std::uint8_t> common_; // 0xC000 to 0xFFFF
    int bank_ = 0;
    Screen screen_{};
    bool bandsDrawn_ = false; // since the last wait tick
    std::optional<int> keyAfterFrame_;
    std::uint32_t scramble_ = 1; // xorshift state, the same for every call
    Playback playback_;
};

} // namespace velvix
