// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <QString>

#include <filesystem>

// Which folder the window opens at, and the frame folder it remembers for that.
namespace velvix::ui {

// True for the folders programs are installed in (/usr/bin, /usr/local/bin, ...)
// and for the bin folder of any installed Velvix, wherever `cmake --install`
// put it: frames are never kept there.
bool IsSystemFolder(const std::filesystem::path& folder);

// A program run from a build or a folder of the user's opens at its own
// folder, as it always has. Installed, it opens at the frame folder used
// last, or at `home` when there is none or it can no longer be read.
std::filesystem::path StartFolder(const std::filesystem::path& programFolder, const std::filesystem::path& remembered,
                                  const std::filesystem::path& home);

// StartFolder for this program, with the folder remembered in its settings.
QString WindowStartFolder();

// Remembers `folder` as the last one that held frames.
void RememberFrameFolder(const QString& folder);

} // namespace velvix::ui
