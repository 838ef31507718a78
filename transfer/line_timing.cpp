// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "line_timing.h"

#include <algorithm>
#include <cmath>

namespace velvix::transfer {

bool IsBaudRate(int baud) { return std::find(kBaudRates.begin(), kBaudRates.end(), baud) != kBaudRates.end(); }

double LineSeconds(std::uintmax_t bytes, int baud)
{
    return baud > 0 ? static_cast<double>(bytes) * kBitsPerByte / baud : 0.0;
}

std::string FormatDuration(double seconds)
{
    // Rounded up: an estimate that ends early is a disappointment, one that ends late is not.
    const auto whole = static_cast<long long>(std::ceil(std::max(seconds, 0.0)));
    if (whole < 1) {
        return "unter 1 s";
    }
    if (whole < 60) {
        return std::to_string(whole) + " s";
    }
    const long long rest = whole % 60;
    return std::to_string(whole / 60) + " min " + (rest < 10 ? "0" : "") + std::to_string(rest) + " s";
}

std::string GroupDigits(std::uintmax_t number)
{
    std::string digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, '.');
    }
    return digits;
}

} // namespace velvix::transfer
