// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velvix::transfer {

// The rates the PC-1600's SETCOM accepts that a cable may carry; 9600 is safe everywhere.
inline constexpr std::array<int, 8> kBaudRates{300, 600, 1200, 2400, 4800, 9600, 19200, 38400};
inline constexpr int kDefaultBaud = 9600;

// 8N1 puts a start and a stop bit around every byte.
inline constexpr int kBitsPerByte = 10;

bool IsBaudRate(int baud);

// Seconds the line needs for the bytes at the rate, without any pause the PC-1600 asks for.
double LineSeconds(std::uintmax_t bytes, int baud);

// "unter 1 s", "17 s", "1 min 05 s".
std::string FormatDuration(double seconds);

// 28145 as "28.145", the German way.
std::string GroupDigits(std::uintmax_t number);

} // namespace velvix::transfer
