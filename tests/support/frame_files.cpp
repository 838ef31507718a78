// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_files.h"

#include "frame_discovery.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velvix::test {

namespace {

void Put16(Bytes& b, std::size_t at, unsigned value)
{
    b[at] = static_cast<std::uint8_t>(value & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Bytes& b, std::size_t at, unsigned value)
{
    Put16(b, at, value & 0xFFFF);
    Put16(b, at + 2, value >> 16);
}

} // namespace

Bytes BlankFrame()
{
    Bytes b(704, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, 704);  // file size
    Put32(b, 10, 62);  // pixel data offset
    Put32(b, 14, 40);  // information header size
    Put32(b, 18, 156); // width
    Put32(b, 22, 32);  // height, bottom-up
    Put16(b, 26, 1);   // planes
    Put16(b, 28, 1);   // bits per pixel
    Put32(b, 34, 640); // image size
    // Palette: entry 0 black, entry 1 white.
    b[58] = b[59] = b[60] = 0xFF;
    return b;
}

void SetPixel(Bytes& frame, int x, int y)
{
    frame[static_cast<std::size_t>(62 + 20 * (31 - y) + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
}

Bytes NumberedFrame(int number)
{
    // Pixel bytes from a generator seeded by the number: two numbers share
    // hardly a byte, so compression never takes one frame for another.
    Bytes frame = BlankFrame();
    std::uint32_t state = 2463534242u ^ static_cast<std::uint32_t>(number) * 2654435761u;
    for (std::size_t i = 62; i < 702; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        frame[i] = static_cast<std::uint8_t>(state >> 24);
    }
    return frame;
}

Bytes MovingFrame(int number)
{
    Bytes frame = BlankFrame();
    for (int y = 0; y < kFrameHeight; y += 4) {
        for (int x = 0; x < kFrameWidth; x += 2) {
            SetPixel(frame, x, y);
        }
    }
    const int left = number * 3 % (kFrameWidth - 12);
    const int top = number % 20;
    for (int y = top; y < top + 12; ++y) {
        for (int x = left; x < left + 12; ++x) {
            SetPixel(frame, x, y);
        }
    }
    for (int bit = 0; bit < 9; ++bit) {
        if (number >> bit & 1) {
            SetPixel(frame, kFrameWidth - 1 - bit, kFrameHeight - 1);
        }
    }
    return frame;
}

Bytes NearCopy(const Bytes& frame, int mark)
{
    Bytes copy = frame;
    copy[400] = static_cast<std::uint8_t>(mark);
    copy[401] = static_cast<std::uint8_t>(mark >> 8);
    return copy;
}

Picture BitmapPicture(const Bytes& frame)
{
    Picture picture(32, std::string(156, '.'));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 156; ++x) {
            if (frame.at(static_cast<std::size_t>(62 + 20 * (31 - y) + x / 8)) & (0x80 >> (x % 8))) {
                picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
            }
        }
    }
    return picture;
}

Picture ScreenPicture(const PackedFrame& screen)
{
    Picture picture(32, std::string(156, '.'));
    for (std::size_t y = 0; y < 32; ++y) {
        for (std::size_t x = 0; x < 156; ++x) {
            if (screen[y / 8 * 156 + x] & (1 << (y % 8))) {
                picture[y][x] = '#';
            }
        }
    }
    return picture;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFrames(const std::filesystem::path& folder, const std::vector<Bytes>& frames)
{
    for (std::size_t i = 0; i < frames.size(); ++i) {
        WriteFile(folder / FrameFileName(static_cast<int>(i + 1)), frames[i]);
    }
}

void WriteNumberedFrames(const std::filesystem::path& folder, int count)
{
    std::vector<Bytes> frames;
    for (int i = 1; i <= count; ++i) {
        frames.push_back(NumberedFrame(i));
    }
    WriteFrames(folder, frames);
}

std::string Hex(const Bytes& bytes)
{
    std::string text;
    for (std::uint8_t b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", b);
        text += hex;
    }
    if (!text.empty()) {
        text.pop_back();
    }
    return text;
}

std::string FirstDifference(const Bytes& actual, const Bytes& expected)
{
    const std::size_t common = std::min(actual.size(), expected.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (actual[i] != expected[i]) {
            char text[80];
            std::snprintf(text, sizeof text, "offset %zu: got %02X, want %02X", i, actual[i], expected[i]);
            return text;
        }
    }
    if (actual.size() != expected.size()) {
        return "size " + std::to_string(actual.size()) + ", want " + std::to_string(expected.size());
    }
    return {};
}

} // namespace velvix::test
