// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "compact_player.h"

#include "compact_layout.h"
#include "messages.h"
#include "vid_header.h"

#include <algorithm>

namespace velvix {

Bytes CompactPlayerFile()
{
    const std::span<const std::uint8_t> code = CompactPlayerCode();
    const VidHeader header = MakeVidHeader({.type = FileType::BinaryImage,
                                            .dataLength = static_cast<std::uint16_t>(code.size()),
                                            .loadAddress = kPlayerAddress,
                                            .loadBank = 0,
                                            .startAddress = kPlayerAddress,
                                            .startBank = 0});
    Bytes file(header.size() + code.size());
    std::copy(code.begin(), code.end(), std::copy(header.begin(), header.end(), file.begin()));
    return file;
}

std::optional<Message> WriteCompactPlayerFile(const std::filesystem::path& folder)
{
    if (auto error = WriteWholeFile(folder / kCompactPlayerFileName, CompactPlayerFile())) {
        return messages::WriteFailed(*error);
    }
    return std::nullopt;
}

} // namespace velvix
