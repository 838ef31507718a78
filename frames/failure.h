#pragma once

#include <string>

namespace velvix::frames {

// Why the tool stops, in German for the user.
struct Failure {
    std::string text;
};

} // namespace velvix::frames
