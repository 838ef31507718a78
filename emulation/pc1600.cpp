// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "pc1600.h"

#include "vid_header.h"

#include <cstdio>
#include <new>

#include <z80ex/z80ex.h>

namespace velvix {

namespace {

constexpr std::uint32_t kBankedEnd = 0xC000;
constexpr std::uint32_t kMemoryEnd = 0x10000;
constexpr int kBanks = 4;
constexpr std::size_t kBandBytes = 156;
constexpr std::uint16_t kStackTop = 0xFF00;
constexpr std::uint16_t kCaller = 0x0000; // where CALL would go on; never executed here

constexpr std::uint16_t kDisplaySetUp = 0x0112;
constexpr std::uint16_t kWaitTick = 0x012A;
constexpr std::uint16_t kShowBand = 0x0160;
constexpr std::uint16_t kKeyCheck = 0x016F;
constexpr std::uint16_t kSelectBank = 0x0190;

constexpr std::uint16_t kCarry = 0x01;
constexpr int kRetTStates = 10;

std::string Hex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

} // namespace

struct Bus {
    static Pc1600& Of(void* user) { return *static_cast<Pc1600*>(user); }

    static Z80EX_BYTE Read(Z80EX_CONTEXT*, Z80EX_WORD address, int, void* user) { return Of(user).memory(address); }
    static void Write(Z80EX_CONTEXT*, Z80EX_WORD address, Z80EX_BYTE value, void* user)
    {
        Of(user).memory(address) = value;
    }
    // The player has no business with ports or interrupts.
    static Z80EX_BYTE ReadPort(Z80EX_CONTEXT*, Z80EX_WORD port, void* user)
    {
        Of(user).playback_.fault = "Lesen von Port " + Hex(port);
        return 0xFF;
    }
    static void WritePort(Z80EX_CONTEXT*, Z80EX_WORD port, Z80EX_BYTE, void* user)
    {
        Of(user).playback_.fault = "Schreiben auf Port " + Hex(port);
    }
    static Z80EX_BYTE InterruptVector(Z80EX_CONTEXT*, void*) { return 0xFF; }
};

class Pc1600::Cpu {
public:
    explicit Cpu(Pc1600& pc)
        : context(z80ex_create(Bus::Read, &pc, Bus::Write, &pc, Bus::ReadPort, &pc, Bus::WritePort, &pc,
                               Bus::InterruptVector, &pc))
    {
        if (context == nullptr) {
            throw std::bad_alloc();
        }
    }
    ~Cpu() { z80ex_destroy(context); }
    Cpu(const Cpu&) = delete;
    Cpu& operator=(const Cpu&) = delete;

    Z80EX_CONTEXT* const context;
};

Pc1600::Pc1600() : cpu_(std::make_unique<Cpu>(*this)), banked_(kBanks * kBankedEnd), common_(kMemoryEnd - kBankedEnd) {}

Pc1600::~Pc1600() = default;

std::uint16_t Pc1600::reg(int which) const { return z80ex_get_reg(cpu_->context, static_cast<Z80_REG_T>(which)); }

void Pc1600::setReg(int which, std::uint16_t value)
{
    z80ex_set_reg(cpu_->context, static_cast<Z80_REG_T>(which), value);
}

std::uint8_t& Pc1600::memory(int bank, std::uint16_t address)
{
    if (address >= kBankedEnd) {
        return common_[address - kBankedEnd];
    }
    return banked_[static_cast<std::size_t>(bank) * kBankedEnd + address];
}

std::uint8_t& Pc1600::memory(std::uint16_t address) { return memory(bank_, address); }

bool Pc1600::bload(std::span<const std::uint8_t> file)
{
    const std::optional<HeaderFields> header = ParseVidHeader(file);
    if (!header) {
        return false;
    }
    const std::size_t length = header->dataLength;
    const std::uint32_t address = header->loadAddress;
    const int bank = header->loadBank;
    if (file.size() < kVidHeaderBytes + length || address + length > kMemoryEnd || bank >= kBanks) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        memory(bank, static_cast<std::uint16_t>(address + i)) = file[kVidHeaderBytes + i];
    }
    return true;
}

Playback Pc1600::call(std::uint16_t address, std::optional<int> keyAfterFrame, long stepLimit)
{
    playback_ = {};
    keyAfterFrame_ = keyAfterFrame;
    scramble_ = 1;
    screen_ = {};
    bandsDrawn_ = false;

    z80ex_reset(cpu_->context);
    setReg(regSP, kStackTop - 2);
    memory(kStackTop - 2) = kCaller & 0xFF;
    memory(kStackTop - 1) = kCaller >> 8;
    setReg(regPC, address);

    for (long step = 0; step < stepLimit && playback_.fault.empty(); ++step) {
        const std::uint16_t pc = reg(regPC);
        if (pc == kCaller) {
            if (bandsDrawn_) {
                playback_.frames.push_back({screen_, 0});
            }
            playback_.returned = reg(regSP) == kStackTop;
            if (!playback_.returned) {
                playback_.fault = "kehrte mit verschobenem Stapel zurück";
            }
            return playback_;
        }
        long tStates = 0;
        if (answerSystemRoutine(pc)) {
            scrambleRegisters(pc);
            returnToCaller();
            tStates = kRetTStates;
        } else if (pc < kBankedEnd) {
            playback_.fault = "sprang nach " + Hex(pc) + ", außerhalb des Players";
        } else {
            do {
                tStates += z80ex_step(cpu_->context);
            } while (z80ex_last_op_type(cpu_->context) != 0); // a prefix is not a whole instruction
        }
        if (!playback_.frames.empty()) {
            playback_.frames.back().tStates += tStates;
        }
    }
    if (playback_.fault.empty()) {
        playback_.fault = "kehrte nach " + std::to_string(stepLimit) + " Befehlen nicht zurück";
    }
    return playback_;
}

bool Pc1600::answerSystemRoutine(std::uint16_t address)
{
    const int a = reg(regAF) >> 8;
    switch (address) {
    case kDisplaySetUp:
        ++playback_.displaySetUps;
        return true;
    case kWaitTick:
        tick();
        return true;
    case kShowBand:
        showBand();
        return true;
    case kKeyCheck: {
        ++playback_.keyChecks;
        const bool pressed = keyAfterFrame_ && static_cast<int>(playback_.frames.size()) == *keyAfterFrame_;
        const std::uint16_t af = reg(regAF);
        setReg(regAF, static_cast<std::uint16_t>(pressed ? af | kCarry : af & ~kCarry));
        return true;
    }
    case kSelectBank:
        if (a >= kBanks) {
            playback_.fault = "wählte die Speicherbank " + std::to_string(a);
        } else {
            bank_ = a; // a bank that is not there is never selected, not even for the return
        }
        return true;
    default:
        return false;
    }
}

void Pc1600::showBand()
{
    const int band = reg(regAF) >> 8;
    const std::uint16_t from = reg(regDE);
    if (band > 3 || reg(regHL) != kBandBytes) {
        playback_.fault = "zeigte Zeile " + std::to_string(band) + " mit " + std::to_string(reg(regHL)) + " Bytes";
        return;
    }
    for (std::size_t x = 0; x < kBandBytes; ++x) {
        screen_[static_cast<std::size_t>(band) * kBandBytes + x] = memory(static_cast<std::uint16_t>(from + x));
    }
    bandsDrawn_ = true;
}

// The picture of a frame is what stands on the display while the player waits.
void Pc1600::tick()
{
    if (bandsDrawn_) {
        playback_.frames.push_back({screen_, 0});
        bandsDrawn_ = false;
    }
    if (playback_.frames.empty()) {
        playback_.fault = "wartete, bevor es etwas zeigte";
        return;
    }
    ++playback_.frames.back().ticks;
}

std::uint16_t Pc1600::scrambled()
{
    scramble_ ^= scramble_ << 13;
    scramble_ ^= scramble_ >> 17;
    scramble_ ^= scramble_ << 5;
    return static_cast<std::uint16_t>(scramble_);
}

void Pc1600::scrambleRegisters(std::uint16_t routine)
{
    const std::uint16_t af = reg(regAF);
    const std::uint16_t bc = reg(regBC);
    for (int r : {regAF, regBC, regDE, regHL, regAF_, regBC_, regDE_, regHL_, regIX, regIY}) {
        setReg(r, scrambled());
    }
    if (routine == kWaitTick) {
        setReg(regBC, static_cast<std::uint16_t>((bc & 0xFF00) | (reg(regBC) & 0x00FF)));
    } else if (routine == kKeyCheck) {
        setReg(regAF, static_cast<std::uint16_t>((reg(regAF) & ~kCarry) | (af & kCarry)));
    }
}

void Pc1600::returnToCaller()
{
    const std::uint16_t sp = reg(regSP);
    const auto low = memory(sp);
    const auto high = memory(static_cast<std::uint16_t>(sp + 1));
    setReg(regPC, static_cast<std::uint16_t>(low | high << 8));
    setReg(regSP, static_cast<std::uint16_t>(sp + 2));
}

} // namespace velvix
