// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "film_header.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace velvix::frames {

namespace {

// "1280x720" at the start of one of the stream line's fields.
bool ReadSize(const std::string& field, FilmFacts& facts)
{
    int across = 0;
    int down = 0;
    int used = 0;
    if (std::sscanf(field.c_str(), "%5dx%5d%n", &across, &down, &used) != 2 || across <= 0 || down <= 0 ||
        across > 16384 || down > 16384 || field[0] < '1' || field[0] > '9' ||
        (field[static_cast<std::size_t>(used)] != '\0' && field[static_cast<std::size_t>(used)] != ' ')) {
        return false;
    }
    facts.width = across;
    facts.height = down;
    return true;
}

// "Stream #0:0: Video: h264 (High), yuv420p(progressive), 1280x720 [SAR 1:1 DAR 16:9], 25 fps, ..."
void ReadVideoStream(const std::string& line, FilmFacts& facts)
{
    facts.hasPicture = true;
    std::size_t from = line.find(": Video: ");
    while (from != std::string::npos && facts.width == 0) {
        from += 2;
        const std::size_t to = line.find(", ", from);
        ReadSize(line.substr(from, to == std::string::npos ? std::string::npos : to - from), facts);
        from = to;
    }
    int across = 0;
    int down = 0;
    if (const std::size_t sar = line.find("SAR "); sar != std::string::npos &&
        std::sscanf(line.c_str() + sar, "SAR %d:%d", &across, &down) == 2 && across > 0 && down > 0) {
        facts.pixelAspect = std::clamp(static_cast<double>(across) / down, 0.1, 10.0);
    }
}

} // namespace

FilmFacts ReadFilmHeader(const std::string& log)
{
    FilmFacts facts;
    bool input = false;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("[info] Input #0") != std::string::npos) {
            facts.opened = input = true;
        } else if (line.find("[info] Output #") != std::string::npos ||
                   line.find("[info] Stream mapping:") != std::string::npos) {
            input = false;
        }
        if (!input || line.find("[info] ") == std::string::npos) {
            continue;
        }
        int hours = 0;
        int minutes = 0;
        double seconds = 0;
        if (const std::size_t at = line.find("Duration: "); at != std::string::npos) {
            if (std::sscanf(line.c_str() + at, "Duration: %d:%d:%lf", &hours, &minutes, &seconds) == 3 &&
                hours >= 0 && minutes >= 0 && seconds >= 0) {
                facts.seconds = hours * 3600.0 + minutes * 60.0 + seconds;
            }
        } else if (line.find(" Stream #0:") != std::string::npos && line.find(": Video: ") != std::string::npos &&
                   !facts.hasPicture) {
            ReadVideoStream(line, facts);
        }
    }
    return facts;
}

} // namespace velvix::frames
