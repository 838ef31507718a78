// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"

#include <QString>

#include <filesystem>
#include <string>

// The one place where the window's Qt text meets the conversion's std text.
// Both sides use UTF-8; paths go through the conversion's own helper.
namespace velvix::ui {

inline QString ToQString(const std::string& utf8) { return QString::fromStdString(utf8); }

inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

inline std::filesystem::path ToPath(const QString& path) { return PathFromUtf8(path.toStdString()); }

} // namespace velvix::ui
