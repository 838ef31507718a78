#include "contact_sheet.h"

#include "png_file.h"

#include <array>

namespace velvix::frames {

namespace {

constexpr int kScale = 4;
constexpr int kGap = 8; // between frames and around the sheet
constexpr int kPerRow = 4;

enum Colour : std::uint8_t { kBackground, kLightDot, kDarkDot };
constexpr std::array<Rgb, 3> kPalette{{{0x60, 0x60, 0x60}, {0xC8, 0xD0, 0xB8}, {0x20, 0x28, 0x20}}};

} // namespace

Bytes MakeContactSheet(const std::vector<FramePixels>& frames)
{
    const int count = static_cast<int>(frames.size());
    const int across = std::min(std::max(count, 1), kPerRow);
    const int down = std::max((count + kPerRow - 1) / kPerRow, 1);
    const int cellWidth = kFrameWidth * kScale + kGap;
    const int cellHeight = kFrameHeight * kScale + kGap;
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
    }
    return MakePalettePng(width, height, kPalette, sheet);
}

} // namespace velvix::frames
