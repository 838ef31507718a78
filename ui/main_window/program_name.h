#pragma once

// The window caption and the guide's signature. VELVIX_VERSION comes from the build.
namespace velvix::ui {

inline constexpr char kProgramName[] = "Velvix - " VELVIX_VERSION;

} // namespace velvix::ui
