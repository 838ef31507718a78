// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "pc1600.h"

#include <QImage>
#include <QWidget>

namespace velvix::ui {

// The PC-1600's display as an image: dark dots on an LCD-grey ground, each dot
// `zoom` pixels square, with a margin of ground around the 156 x 32 dots.
QImage LcdImage(const Screen& screen, int zoom);

// The display drawn as large as the widget allows in whole-number steps,
// centred on a dark bezel. A key pressed on it is reported, as the player
// on the PC-1600 notices one.
class LcdView : public QWidget {
    Q_OBJECT

public:
    explicit LcdView(QWidget* parent = nullptr);

    void setScreen(const Screen& screen);
    int zoom() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void keyPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Screen screen_{};
};

} // namespace velvix::ui
