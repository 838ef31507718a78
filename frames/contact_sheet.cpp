// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "contact_sheet.h"

#include "png_file.h"

#include <array>
#include <string>

namespace velvix::frames {

namespace {

constexpr int kScale = 4;
constexpr int kGap = 8; // between frames and around the sheet
constexpr int kPerRow = 4;

// Each frame's number under it, in digits of 3 x 5 pixels drawn twice as large.
constexpr int kDigitScale = 2;
constexpr int kDigitStep = 4 * kDigitScale; // a digit and the space after it
constexpr int kLabelHeight = 2 + 5 * kDigitScale + 2;
constexpr std::array<std::array<const char*, 5>, 10> kDigits{{{"###", "#.#", "#.#", "#.#", "###"},
                                                              {".#.", "##.", ".#.", ".#.", "###"},
                                                              {"###", "..#", "###", "#..", "###"},
                                                              {"###", "..#", "###", "..#", "###"},
                                                              {"#.#", "#.#", "###", "..#", "..#"},
                                                              {"###", "#..", "###", "..#", "###"},
                                                              {"###", "#..", "###", "#.#", "###"},
                                                              {"###", "..#", "..#", "..#", "..#"},
                                                              {"###", "#.#", "###", "#.#", "###"},
                                                              {"###", "#.#", "###", "..#", "###"}}};

enum Colour : std::uint8_t { kBackground, kLightDot, kDarkDot, kLabel };
constexpr std::array<Rgb, 4> kPalette{{{0x60, 0x60, 0x60}, {0xC8, 0xD0, 0xB8}, {0x20, 0x28, 0x20}, {0xF0, 0xF0, 0xF0}}};

void DrawNumber(Bytes& sheet, int width, int left, int top, int number)
{
    const std::string digits = std::to_string(number);
    for (std::size_t d = 0; d < digits.size(); ++d) {
        const auto& glyph = kDigits[static_cast<std::size_t>(digits[d] - '0')];
        for (int y = 0; y < 5 * kDigitScale; ++y) {
            for (int x = 0; x < 3 * kDigitScale; ++x) {
                if (glyph[static_cast<std::size_t>(y / kDigitScale)][x / kDigitScale] == '#') {
                    const int px = left + static_cast<int>(d) * kDigitStep + x;
                    sheet[static_cast<std::size_t>((top + y) * width + px)] = kLabel;
                }
            }
        }
    }
}

} // namespace

Bytes MakeContactSheet(const std::vector<FramePixels>& frames)
{
    const int count = static_cast<int>(frames.size());
    const int across = std::min(std::max(count, 1), kPerRow);
    const int down = std::max((count + kPerRow - 1) / kPerRow, 1);
    const int cellWidth = kFrameWidth * kScale + kGap;
    const int cellHeight = kFrameHeight * kScale + kLabelHeight + kGap;
    const int width = across * cellWidth + kGap;
    const int height = down * cellHeight + kGap;

    Bytes sheet(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBackground);
    for (int i = 0; i < count; ++i) {
        const int left = kGap + (i % kPerRow) * cellWidth;
        const int top = kGap + (i / kPerRow) * cellHeight;
        for (int y = 0; y < kFrameHeight * kScale; ++y) {
            for (int x = 0; x < kFrameWidth * kScale; ++x) {
                const bool dark = frames[static_cast<std::size_t>(i)]
                                        [static_cast<std::size_t>(y / kScale * kFrameWidth + x / kScale)];
                sheet[static_cast<std::size_t>((top + y) * width + left + x)] = dark ? kDarkDot : kLightDot;
            }
        }
        DrawNumber(sheet, width, left, top + kFrameHeight * kScale + 2, i + 1);
    }
    return MakePalettePng(width, height, kPalette, sheet);
}

} // namespace velvix::frames
