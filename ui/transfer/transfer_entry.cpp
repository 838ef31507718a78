// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "transfer_window.h"
#include "window_entry.h"

void velvix_open_transfer(QWidget* parent, const QString& folder, const QString& preferred)
{
    velvix::ui::TransferWindow::Open(parent, folder, preferred);
}
