// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "frame_bitmap.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velvix::test {

// A well-formed 704-byte 1-bit bitmap of 156 x 32 pixels, all pixels clear.
Bytes BlankFrame();
// Sets pixel (x, y), y counted from the top, in a frame made by BlankFrame.
void SetPixel(Bytes& frame, int x, int y);
// A frame that differs from every other number's frame in nearly every byte.
Bytes NumberedFrame(int number);
// A frame of a film that changes a little from number to number, as most
// films do: a box crossing a striped background, and a counter in the corner.
Bytes MovingFrame(int number);
// The frame with two pixel bytes set from `mark`: near-identical, yet told apart byte for byte.
Bytes NearCopy(const Bytes& frame, int mark);

// A 156 x 32 picture as 32 rows of "#" (pixel set) and "." (clear), top row
// first, so a failing comparison shows where the pictures differ.
using Picture = std::vector<std::string>;
// The picture of a frame file, read straight from its pixel rows.
Picture BitmapPicture(const Bytes& frame);
// The picture of the display bytes, four bands of 156 columns.
Picture ScreenPicture(const PackedFrame& screen);

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadFile(const std::filesystem::path& path);

// Writes B001.bmp onward into the folder.
void WriteFrames(const std::filesystem::path& folder, const std::vector<Bytes>& frames);
void WriteNumberedFrames(const std::filesystem::path& folder, int count);

std::string Hex(const Bytes& bytes);
// Empty when equal; otherwise names the first differing offset and both bytes.
std::string FirstDifference(const Bytes& actual, const Bytes& expected);

} // namespace velvix::test
