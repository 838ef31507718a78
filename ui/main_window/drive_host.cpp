// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "drive.h"

#include "message_box.h"
#include "std_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

// The conversion's view of the window: which control holds what.
namespace velvix::ui {

std::string Drive::videoName() const { return ToUtf8(VideoName->text()); }

bool Drive::isTicked(CheckBox box) const
{
    switch (box) {
    case CheckBox::CheckVKomp:
        return CheckVKomp->isChecked();
    case CheckBox::CheckvPlay:
        return CheckvPlay->isChecked();
    case CheckBox::CheckStartBas:
        return CheckStartBas->isChecked();
    case CheckBox::CheckKompakt:
        return CheckKompakt->isChecked();
    }
    return false;
}

void Drive::setVideoName(const std::string& text) { VideoName->setText(ToQString(text)); }

void Drive::focusVideoName() { VideoName->setFocus(); }

void Drive::setTextVideoLng(const std::string& text) { TextVideoLng->setText(ToQString(text)); }

void Drive::setTextVidSekReal(const std::string& text) { TextVidSekReal->setText(ToQString(text)); }

void Drive::showCompactFit(const std::string& text) { TextKompakt->setText(ToQString(text)); }

// Only the shown entry changes: `activated` does not fire for the program's
// own setting, and the conversion has already applied the choice.
void Drive::showSlot2Choice(int index) { Combo3->setCurrentIndex(index); }

void Drive::showMessage(const Message& message) { ShowMessageBox(this, message); }

int Drive::choose(const Message& message) { return ShowMessageBox(this, message); }

std::string Drive::formatDecimal(double value) const
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return ToUtf8(locale.toString(value, 'f', QLocale::FloatingPointShortest));
}

} // namespace velvix::ui
