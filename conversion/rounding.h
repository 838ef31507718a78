// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <cmath>

namespace velvix {

// Seconds are whole numbers; halves go to the even neighbour (4.5 -> 4, 7.5 -> 8).
inline int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value)); // default rounding mode is to-nearest-even
}

inline int DivideRounded(int numerator, int denominator)
{
    return RoundHalfEven(static_cast<double>(numerator) / denominator);
}

} // namespace velvix
