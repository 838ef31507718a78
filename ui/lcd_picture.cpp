#include "lcd_picture.h"

#include <QPainter>

namespace velvix::ui {

QImage LcdPicture(const FramePixels& pixels, int scale)
{
    const QColor glass(0xb4, 0xbe, 0xa4);
    const QColor dot(0x24, 0x2c, 0x24);
    QImage image(kFrameWidth * scale, kFrameHeight * scale, QImage::Format_RGB32);
    image.fill(glass);
    QPainter painter(&image);
    const int size = scale > 2 ? scale - 1 : scale;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            if (pixels[static_cast<std::size_t>(y * kFrameWidth + x)]) {
                painter.fillRect(x * scale, y * scale, size, size, dot);
            }
        }
    }
    return image;
}

} // namespace velvix::ui
