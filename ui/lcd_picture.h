#pragma once

#include "frame_writer.h"

#include <QImage>

namespace velvix::ui {

// The frame as the PC-1600's display shows it: dark dots on the pale LCD,
// each dot `scale` x `scale` screen pixels with a thin gap, as on the glass.
QImage LcdPicture(const FramePixels& pixels, int scale);

} // namespace velvix::ui
