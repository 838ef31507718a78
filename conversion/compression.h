#pragma once

#include "file_io.h"
#include "host.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace velvix {

// Strength entries and the count of equal pixel bytes (of 640) above which
// two frames are near-identical: 640 x (100 - p) / 100, rounded down.
inline constexpr std::array<const char*, 5> kStrengthEntries{"5%", "6%", "7%", "8%", "9%"};
inline constexpr std::array<int, 5> kSimilarityThresholds{608, 601, 595, 588, 582};

} // namespace velvix
