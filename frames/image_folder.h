// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "error_message.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace velvix::frames {

struct ImageList {
    std::vector<std::filesystem::path> images;
    std::optional<Message> failure;
};

// Whether the file's name ends like an image (PNG, JPEG, BMP, ...).
bool IsImage(const std::filesystem::path& file);

// ffmpeg's decoder for the image kind the file's name ends with ("png",
// "mjpeg", ...); empty for a name that does not end like an image.
std::string_view ImageDecoder(const std::filesystem::path& file);

// What a chosen file stands for: a film itself, an image the folder of
// images it lies in.
std::filesystem::path ChosenInput(const std::filesystem::path& file);

// The image files of a folder (by their name's ending: PNG, JPEG, BMP, ...)
// in the order a person reads their names: "Bild9" before "Bild10".
ImageList ListImages(const std::filesystem::path& folder);

// Whether `a` comes before `b`, numbers within the names compared by value.
bool ComesBefore(const std::string& a, const std::string& b);

} // namespace velvix::frames
