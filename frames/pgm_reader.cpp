// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "pgm_reader.h"

#include <cctype>

namespace velvix::frames {

namespace {

// Larger than any film ffmpeg decodes; keeps a broken header from asking for gigabytes.
constexpr long kMaxSide = 16384;
constexpr long kMaxPixels = 1L << 27;

// A header number after white space and comments; -1 when there is none.
long ReadNumber(std::FILE* in)
{
    int c = std::fgetc(in);
    while (c == '#' || std::isspace(c)) {
        if (c == '#') {
            while (c != '\n' && c != EOF) {
                c = std::fgetc(in);
            }
        }
        c = std::fgetc(in);
    }
    long value = -1;
    while (c >= '0' && c <= '9' && value < kMaxPixels) {
        value = (value < 0 ? 0 : value * 10) + (c - '0');
        c = std::fgetc(in);
    }
    return std::isspace(c) ? value : -1; // exactly one white space ends the header
}

} // namespace

PgmRead ReadPgm(std::FILE* in, GreyImage& picture)
{
    const int first = std::fgetc(in);
    if (first == EOF) {
        return PgmRead::End;
    }
    if (first != 'P' || std::fgetc(in) != '5') {
        return PgmRead::Broken;
    }
    const long width = ReadNumber(in);
    const long height = ReadNumber(in);
    const long maxValue = ReadNumber(in);
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels ||
        maxValue != 255) {
        return PgmRead::Broken;
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(static_cast<std::size_t>(width * height));
    if (std::fread(picture.pixels.data(), 1, picture.pixels.size(), in) != picture.pixels.size()) {
        return PgmRead::Broken;
    }
    return PgmRead::Image;
}

} // namespace velvix::frames
