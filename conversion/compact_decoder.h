// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "frame_bitmap.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velvix {

// The closing bytes of a compact part 0 (compact_layout.h).
struct CompactFacts {
    int frameCount = 0;
    int playSeconds = 0;
    int framesPerSecond = 0;
    std::array<std::uint16_t, 4> partStarts{};
    std::array<int, 4> partFrames{};

    int parts() const; // parts that hold frames, counted from part 0
};

// Whether a part 0 file is one of a compact video, read from its header:
// it ends below the decoding buffer, where a plain part 0 never ends.
bool IsCompactPart0(const Bytes& file);

// The facts at the end of a compact part 0; nothing for a file too short.
std::optional<CompactFacts> ReadCompactFacts(const Bytes& part0);

struct CompactFrame {
    PackedFrame picture{};
    int ticks = 0;
    long decodeTStates = 0; // what the compact player spends on its codes
};

struct CompactDecoding {
    std::vector<CompactFrame> frames;
    CompactFacts facts;
    std::string fault; // in German: what is wrong with which part; empty when all is well
};

// Decodes the part files of a compact video as the compact player does, and
// checks on the way every length, address and code, so that the player
// finds what it expects.
CompactDecoding DecodeCompactVideo(const std::vector<Bytes>& partFiles);

} // namespace velvix
