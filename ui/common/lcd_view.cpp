// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "lcd_view.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace velvix::ui {

namespace {

constexpr int kDots = kFrameWidth;
constexpr int kRows = kFrameHeight;
constexpr int kMarginDots = 2; // ground around the dots, as the glass shows it
constexpr int kBezel = 10;     // pixels of dark frame around the glass
constexpr int kDefaultZoom = 4;

const QColor kGround(0xA9, 0xB2, 0x9F);
const QColor kDotOff(0x9F, 0xA8, 0x95); // a faint trace of every dot, as on a real LCD
const QColor kDotOn(0x1E, 0x24, 0x1C);
const QColor kBezelColour(0x2B, 0x2D, 0x2F);

bool DotSet(const Screen& screen, int x, int y)
{
    return (screen[static_cast<std::size_t>(y / 8 * kDots + x)] >> (y % 8) & 1) != 0;
}

QSize GlassSize(int zoom) { return {(kDots + 2 * kMarginDots) * zoom, (kRows + 2 * kMarginDots) * zoom}; }

} // namespace

QImage LcdImage(const Screen& screen, int zoom)
{
    QImage image(GlassSize(zoom), QImage::Format_RGB32);
    image.fill(kGround);
    QPainter painter(&image);
    // From 3x on a thin gap between the dots gives the grid of the real display.
    const int dot = zoom >= 3 ? zoom - 1 : zoom;
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kDots; ++x) {
            painter.fillRect((kMarginDots + x) * zoom, (kMarginDots + y) * zoom, dot, dot,
                             DotSet(screen, x, y) ? kDotOn : kDotOff);
        }
    }
    return image;
}

LcdView::LcdView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void LcdView::setScreen(const Screen& screen)
{
    screen_ = screen;
    update();
}

int LcdView::zoom() const
{
    const QSize one = GlassSize(1);
    return std::max(1, std::min((width() - 2 * kBezel) / one.width(), (height() - 2 * kBezel) / one.height()));
}

QSize LcdView::sizeHint() const { return GlassSize(kDefaultZoom) + QSize(2 * kBezel, 2 * kBezel); }

QSize LcdView::minimumSizeHint() const { return GlassSize(1) + QSize(2 * kBezel, 2 * kBezel); }

void LcdView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBezelColour);
    const QImage glass = LcdImage(screen_, zoom());
    painter.drawImage((width() - glass.width()) / 2, (height() - glass.height()) / 2, glass);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void LcdView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & ~Qt::KeypadModifier || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        QWidget::keyPressEvent(event); // focus moves and window keys stay the window's
        return;
    }
    emit keyPressed();
    event->accept();
}

} // namespace velvix::ui
