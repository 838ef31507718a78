// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Compact parts of any content, loaded where compact parts go, played by the
// compact player on the emulated PC-1600 and decoded by the reference
// decoder. Nothing may crash, read or write out of bounds or run without end;
// where the decoder accepts the parts and the player comes back, both must
// have shown the same frames for the same ticks.
#include "compact_decoder.h"
#include "compact_layout.h"
#include "compact_player.h"
#include "fuzz_input.h"
#include "pc1600.h"
#include "vid_header.h"

#include <cstdint>
#include <cstdlib>

namespace {

// A part file: two bytes of length, then that many bytes or what is left,
// behind the header that loads it where the compact format puts part `part`.
velvix::Bytes Part(velvix::fuzz::FuzzInput& in, int part)
{
    std::size_t count = in.byte();
    count |= static_cast<std::size_t>(in.byte()) << 8;
    const std::string data = in.take(std::min<std::size_t>(count, part == 0 ? 0x8000 : 0x4000));
    const std::uint32_t end = part == 0 ? velvix::kCompactBuffer : velvix::kBankWindowEnd;
    const velvix::VidHeader header =
        velvix::MakeVidHeader({.type = velvix::FileType::BinaryImage,
                               .dataLength = static_cast<std::uint16_t>(data.size()),
                               .loadAddress = static_cast<std::uint16_t>(end - data.size()),
                               .loadBank = static_cast<std::uint8_t>(part)});
    velvix::Bytes file(header.size() + data.size());
    std::copy(data.begin(), data.end(), std::copy(header.begin(), header.end(), file.begin()));
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    velvix::fuzz::FuzzInput in{data, size};
    const int parts = in.byte() % 4 + 1;
    std::vector<velvix::Bytes> files;
    velvix::Pc1600 pc;
    for (int p = 0; p < parts; ++p) {
        files.push_back(Part(in, p));
        (void)pc.bload(files.back());
    }
    const velvix::CompactDecoding decoded = velvix::DecodeCompactVideo(files);

    (void)pc.bload(velvix::CompactPlayerFile());
    const velvix::Playback shown = pc.call(velvix::kPlayerAddress, std::nullopt, 200'000);
    if (!shown.returned && shown.fault.empty()) {
        std::abort(); // an emulation that stops gives its reason
    }
    if (decoded.fault.empty() && shown.returned) {
        if (shown.frames.size() != decoded.frames.size()) {
            std::abort();
        }
        for (std::size_t f = 0; f < shown.frames.size(); ++f) {
            if (shown.frames[f].screen != decoded.frames[f].picture ||
                shown.frames[f].ticks != decoded.frames[f].ticks) {
                std::abort();
            }
        }
    }
    return 0;
}
