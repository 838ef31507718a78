// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "player_tstates.h"

#include "compact_layout.h"
#include "pc1600_timing.h"

namespace velvix {

namespace {

// Per code, per byte a code writes, per wait tick (CALL, RET, DJNZ), per 256
// ticks of the high byte, and per frame for the rest of the loop; the plain
// player's per unit of display time (eight ticks and a DJNZ) and per frame.
constexpr long kSkipT = 56;
constexpr long kCopyT = 78;
constexpr long kCopyByteT = 21;
constexpr long kRepeatT = 89;
constexpr long kRepeatByteT = 26;
constexpr long kEndT = 29;
constexpr long kCompactTickT = 40;
constexpr long kCompactBlockT = 55;
constexpr long kCompactFrameT = 545;
constexpr long kPlainUnitT = kTicksPerUnit * 27 + 13;
constexpr long kPlainFrameT = 749;

} // namespace

long PlainFrameTStates(int units) { return kPlainUnitT * (units == 0 ? 256 : units) + kPlainFrameT; }

long CompactFrameTStates(int ticks, long nextDecode)
{
    return kCompactTickT * ticks + kCompactBlockT * (ticks >> 8) + nextDecode + kCompactFrameT;
}

long DecodeTStates(const Bytes& changes)
{
    long t = 0;
    for (std::size_t at = 0; at < changes.size();) {
        const std::uint8_t code = changes[at];
        if (code == kEndOfFrame) {
            return t + kEndT;
        }
        if (code < kCopyCode) {
            t += kSkipT;
            at += 1;
        } else if (code < kRepeatCode) {
            const int n = code - kCopyCode + 1;
            t += kCopyT + kCopyByteT * n;
            at += 1 + static_cast<std::size_t>(n);
        } else {
            t += kRepeatT + kRepeatByteT * (code - kRepeatCode + 1);
            at += 2;
        }
    }
    return t;
}

} // namespace velvix
