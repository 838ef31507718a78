// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "basic_loader.h"

#include "messages.h"
#include "vid_header.h"
#include "vid_layout.h"
#include "windows1252.h"

namespace velvix {

namespace {

constexpr std::uint8_t kBload[] = {0xF2, 0x90}; // keyword code of BLOAD
constexpr std::uint8_t kQuote = 0x22;
constexpr std::uint8_t kEndOfLine = 0x0D;

// Line number (two bytes, high first) and length byte are followed by the rest of the line.
Bytes LoaderLine(const std::string& fileName, int lineNumber)
{
    const Bytes file = EncodeWindows1252(fileName);
    Bytes rest(std::begin(kBload), std::end(kBload));
    rest.push_back(kQuote);
    rest.insert(rest.end(), {'S', '2', ':'});
    rest.insert(rest.end(), file.begin(), file.end());
    rest.push_back(kQuote);
    rest.push_back(kEndOfLine);

    Bytes line{static_cast<std::uint8_t>(lineNumber >> 8), static_cast<std::uint8_t>(lineNumber & 0xFF),
               static_cast<std::uint8_t>(rest.size())};
    line.insert(line.end(), rest.begin(), rest.end());
    return line;
}

} // namespace

Bytes BuildBasicLoader(const std::string& outputName, int lastPart, const std::string& player)
{
    std::vector<std::string> files;
    for (int part = 0; part <= lastPart; ++part) {
        files.push_back(PartFileName(outputName, part));
    }
    if (!player.empty()) {
        files.push_back(player);
    }
    Bytes lines;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Bytes line = LoaderLine(files[i], static_cast<int>(i) + 1);
        lines.insert(lines.end(), line.begin(), line.end());
    }
    // A program has no load or start address of its own.
    const VidHeader header = MakeVidHeader({.type = FileType::BasicProgram,
                                            .dataLength = static_cast<std::uint16_t>(lines.size()),
                                            .loadAddress = 0,
                                            .loadBank = 0,
                                            .startAddress = 0,
                                            .startBank = 0});
    Bytes file(header.begin(), header.end());
    file.insert(file.end(), lines.begin(), lines.end());
    return file;
}

std::optional<Message> WriteBasicLoader(const std::filesystem::path& folder, const std::string& outputName,
                                        int lastPart, const std::string& player)
{
    const auto path = folder / PathFromUtf8(outputName + ".BAS");
    if (auto error = WriteWholeFile(path, BuildBasicLoader(outputName, lastPart, player))) {
        return messages::WriteFailed(*error);
    }
    return std::nullopt;
}

} // namespace velvix
