#include "frame_bitmap.h"

namespace velvix {

namespace {

constexpr std::size_t kRowBytes = 20;

bool PixelIsSet(std::span<const std::uint8_t> file, int x, int y)
{
    const std::size_t row = kFrameHeaderBytes + kRowBytes * static_cast<std::size_t>(kFrameHeight - 1 - y);
    const std::uint8_t byte = file[row + static_cast<std::size_t>(x / 8)];
    return (byte >> (7 - x % 8)) & 1;
}

} // namespace

bool IsAcceptedFrame(std::span<const std::uint8_t> file)
{
    return file.size() >= kFrameBytes && file[0] == 'B' && file[18] == kFrameWidth && file[22] == kFrameHeight &&
           file[28] == 1;
}

PackedFrame PackFrame(std::span<const std::uint8_t> acceptedFile)
{
    PackedFrame packed{};
    std::size_t out = 0;
    for (int band = 0; band < kFrameHeight / 8; ++band) {
        for (int x = 0; x < kFrameWidth; ++x) {
            std::uint8_t column = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (PixelIsSet(acceptedFile, x, 8 * band + bit)) {
                    column |= static_cast<std::uint8_t>(1u << bit);
                }
            }
            packed[out++] = column;
        }
    }
    return packed;
}

} // namespace velvix
