// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace velvix::fuzz {

// The fuzzer's bytes, taken from the front; past the end they read as zeros.
struct FuzzInput {
    const std::uint8_t* data;
    std::size_t size;

    std::uint8_t byte() { return size > 0 ? (--size, *data++) : 0; }

    std::string take(std::size_t count)
    {
        count = std::min(count, size);
        std::string bytes(reinterpret_cast<const char*>(data), count);
        data += count;
        size -= count;
        return bytes;
    }
};

} // namespace velvix::fuzz
