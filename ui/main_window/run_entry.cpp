// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter.h"
#include "window_entry.h"

void velvix_start_run(velvix::Converter& converter) { converter.start(); }

bool velvix_settle_run(velvix::Converter& converter) { return converter.settleInterruptedRun(); }
