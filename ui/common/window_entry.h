// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <QString>
#include <QtGlobal>

#include <filesystem>
#include <functional>

namespace velvix {
class Converter;
class Host;
} // namespace velvix

class QWidget;

// The entries through which the program opens the windows that live in libraries of their own,
// and starts the work that lives there (later_window.h); each library defines its own.
using FilmTaken = std::function<void(const QString& folder, int rateIndex, const QString& filmName)>;

extern "C" {
Q_DECL_EXPORT void velvix_open_preview(QWidget* owner, const QString& folder, const QString& preferred);
Q_DECL_EXPORT void velvix_open_transfer(QWidget* parent, const QString& folder, const QString& preferred);
// `taken` hears of the frames once they are complete.
Q_DECL_EXPORT void velvix_open_film(QWidget* parent, const QString& file, int rateIndex, int frameCapacity,
                                    const FilmTaken& taken);
// frames::SettleInterruptedSwap, from the library that holds the frames' work.
Q_DECL_EXPORT bool velvix_settle_swap(const std::filesystem::path& folder, velvix::Host& host);
// Converter::start and Converter::settleInterruptedRun, from the library that holds a run's work.
Q_DECL_EXPORT void velvix_start_run(velvix::Converter& converter);
Q_DECL_EXPORT bool velvix_settle_run(velvix::Converter& converter);
}
