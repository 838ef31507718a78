// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "converter.h"
#include "host.h"
#include "window_entry.h"

#include <QString>
#include <QtGlobal>

class QWidget;

namespace velvix::ui {

// The film, preview and transfer windows live in libraries of their own that the program loads
// when the window is first opened, so that what only they need (the frames library, the Z80
// emulator, Qt Serial Port) costs the program's start nothing. When a library cannot be loaded, a
// box over `parent` says so and no window opens.
void OpenFilmLater(QWidget* parent, const QString& file, int rateIndex, int frameCapacity, const FilmTaken& taken);
void OpenPreviewLater(QWidget* owner, const QString& folder, const QString& preferred);
void OpenTransferLater(QWidget* parent, const QString& folder, const QString& preferred);

// frames::SettleInterruptedSwap, through the film window's library, which is loaded only when
// `folder` holds the record of a stopped swap (rarely: after a kill). True when it did, whatever
// the choice, also when the library cannot be loaded: a run never starts on such a folder.
bool SettleSwapLater(QWidget* parent, const std::filesystem::path& folder, Host& host);

// Converter::start, through the library of a run's work (the conversion but for what the window
// shows before a run), loaded at the first Start.
void StartRunLater(QWidget* parent, Converter& converter);
// Converter::settleInterruptedRun through that library, loaded only when the frame folder holds
// what a run left unfinished. True when it did, also when the library cannot be loaded.
bool SettleRunLater(QWidget* parent, Converter& converter);

// The entry `name` of the library at `path`, loaded on first use (it stays loaded); nullptr after
// the box, which begins with what `cannot` be done.
QFunctionPointer LibraryEntry(const QString& path, const char* name, QWidget* parent, const char* cannot);

} // namespace velvix::ui
