// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "preview_window.h"
#include "window_entry.h"

void velvix_open_preview(QWidget* owner, const QString& folder, const QString& preferred)
{
    velvix::ui::PreviewWindow::Open(owner, folder, preferred);
}
