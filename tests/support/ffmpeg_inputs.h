// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "child_process.h"
#include "frame_bitmap.h"
#include "frame_files.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace velvix::test {

// Makes a test input with ffmpeg: `arguments` go between "ffmpeg -y" and the output file.
inline void RunFfmpeg(std::vector<std::string> arguments, const std::filesystem::path& output)
{
    arguments.insert(arguments.begin(), {"ffmpeg", "-nostdin", "-v", "error", "-y"});
    arguments.push_back(output.string());
    frames::ChildProcess ffmpeg(arguments);
    if (ffmpeg.startError() != 0 || !ffmpeg.finish()) {
        throw std::runtime_error("ffmpeg could not make " + output.string() + ": " + ffmpeg.messages());
    }
}

// "B001.BMP" onward, the names the tool writes.
inline std::filesystem::path WrittenFrame(const std::filesystem::path& folder, int number)
{
    char name[16];
    std::snprintf(name, sizeof name, "B%03d.BMP", number);
    return folder / name;
}

// A lavfi source: white, with a black box.
inline std::string WhiteWithBox(int width, int height, int boxX, int boxY, int boxWidth, int boxHeight)
{
    return "color=white:s=" + std::to_string(width) + "x" + std::to_string(height) +
           ",drawbox=x=" + std::to_string(boxX) + ":y=" + std::to_string(boxY) + ":w=" + std::to_string(boxWidth) +
           ":h=" + std::to_string(boxHeight) + ":color=black:t=fill";
}

// The packed display bytes of a frame whose dots are dark inside the box,
// made by hand rather than by the tool.
inline PackedFrame PackedBox(int boxX, int boxY, int boxWidth, int boxHeight)
{
    Bytes frame = BlankFrame();
    for (int y = boxY; y < boxY + boxHeight; ++y) {
        for (int x = boxX; x < boxX + boxWidth; ++x) {
            SetPixel(frame, x, y);
        }
    }
    return PackFrame(frame);
}

} // namespace velvix::test
