// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Any bytes of any length as a frame file: the check must never read past
// them, and an accepted frame must pack without reading past 702 bytes.
#include "compression.h"
#include "frame_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A copy of exactly `size` bytes, so the sanitizer sees any read beyond them.
    const std::vector<std::uint8_t> file(data, data + size);
    if (velvix::IsAcceptedFrame(file)) {
        const velvix::PackedFrame packed = velvix::PackFrame(file);
        // Padding columns never reach the display.
        std::vector<std::uint8_t> padded = file;
        for (std::size_t row = 0; row < 32; ++row) {
            padded[62 + 20 * row + 19] |= 0x0F;
        }
        if (velvix::PackFrame(padded) != packed) {
            std::abort();
        }
    }

    // Two frames made of the input compare without reading past their stores.
    velvix::StoredFrame first{};
    velvix::StoredFrame second{};
    std::copy_n(file.begin(), std::min(file.size(), first.size()), first.begin());
    if (file.size() > first.size()) {
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(first.size()),
                    std::min(file.size() - first.size(), second.size()), second.begin());
    }
    const auto near = velvix::FindNearCopies({first, second, first}, {23, 23, 23}, 595);
    if (near.deletedFrames.size() > 1) {
        std::abort();
    }
    return 0;
}
