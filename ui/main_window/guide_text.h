#pragma once

#include <QString>

namespace velvix::ui {

// The German guide of the help window, lines ended by CR LF, signed with the
// program's name and version.
QString GuideText();

} // namespace velvix::ui
