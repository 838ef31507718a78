// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"

#include <string>

namespace velvix {

enum class CheckBox { CheckVKomp, CheckvPlay, CheckStartBas, CheckKompakt };

// The window as the conversion sees it. The conversion never knows which
// widget shows what; tests drive it with a recording fake.
class Host {
public:
    virtual ~Host() = default;

    virtual std::string videoName() const = 0; // UTF-8
    virtual bool isTicked(CheckBox box) const = 0;

    virtual void setVideoName(const std::string& text) = 0;
    virtual void focusVideoName() = 0;
    virtual void setTextVideoLng(const std::string& text) = 0;
    virtual void setTextVidSekReal(const std::string& text) = 0;
    // How many of the run's frames fit once coded compactly, known only
    // after the frames are read.
    virtual void showCompactFit(const std::string& text) = 0;
    // Shows the given entry in the slot S2 list without running its handling;
    // the conversion has already applied it.
    virtual void showSlot2Choice(int index) = 0;

    // Modal; returns when the user has closed the box.
    virtual void showMessage(const Message& message) = 0;
    // Modal, for a message with Buttons::Choice; returns the index of the choice taken.
    virtual int choose(const Message& message) = 0;

    // A decimal number in its shortest form with the user's decimal separator.
    virtual std::string formatDecimal(double value) const = 0;
};

} // namespace velvix
