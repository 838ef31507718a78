// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "film_dialog.h"
#include "image_folder.h"
#include "interrupted_swap.h"
#include "std_qt.h"
#include "window_entry.h"

void velvix_open_film(QWidget* parent, const QString& file, int rateIndex, int frameCapacity, const FilmTaken& taken)
{
    const std::filesystem::path input = velvix::frames::ChosenInput(velvix::ui::ToPath(file));
    auto* dialog = new velvix::ui::FilmDialog(input, rateIndex, frameCapacity, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &velvix::ui::FilmDialog::framesMade, parent, taken);
    dialog->open();
}

bool velvix_settle_swap(const std::filesystem::path& folder, velvix::Host& host)
{
    return velvix::frames::SettleInterruptedSwap(folder, host);
}
