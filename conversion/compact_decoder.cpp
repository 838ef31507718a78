// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "compact_decoder.h"

#include "compact_layout.h"
#include "player_tstates.h"
#include "vid_header.h"

#include <algorithm>
#include <numeric>

namespace velvix {

namespace {

int Word(const Bytes& bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; }

// The header of a binary file that holds exactly the data it loads.
std::optional<HeaderFields> ReadHeader(const Bytes& file)
{
    std::optional<HeaderFields> header = ParseVidHeader(file);
    if (!header || header->type != FileType::BinaryImage || file.size() != kVidHeaderBytes + header->dataLength) {
        return std::nullopt;
    }
    return header;
}

// Applies the codes of one frame to the picture; the fault, if any.
std::string DecodeFrame(const Bytes& stream, std::size_t& at, PackedFrame& picture)
{
    std::size_t to = 0;
    while (true) {
        if (at >= stream.size()) {
            return "ein Bild endet nicht vor dem Ende seines Teils";
        }
        const std::uint8_t code = stream[at++];
        if (code == kEndOfFrame) {
            return {};
        }
        std::size_t n = code < kCopyCode ? code : (code & (kMaxRun - 1)) + 1u;
        if (to + n > kPackedFrameBytes) {
            return "ein Bild schreibt über das Ende des Bildpuffers hinaus";
        }
        if (code < kCopyCode) {
            to += n;
        } else if (code < kRepeatCode) {
            if (at + n > stream.size()) {
                return "ein Bild endet nicht vor dem Ende seines Teils";
            }
            std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), n,
                        picture.begin() + static_cast<std::ptrdiff_t>(to));
            at += n;
            to += n;
        } else {
            if (at >= stream.size()) {
                return "ein Bild endet nicht vor dem Ende seines Teils";
            }
            std::fill_n(picture.begin() + static_cast<std::ptrdiff_t>(to), n, stream[at++]);
            to += n;
        }
    }
}

} // namespace

int CompactFacts::parts() const
{
    int count = 0;
    while (count < kMaxVideoParts && partFrames[static_cast<std::size_t>(count)] > 0) {
        ++count;
    }
    return count;
}

bool IsCompactPart0(const Bytes& file)
{
    const std::optional<HeaderFields> header = ReadHeader(file);
    return header && header->loadBank == 0 && header->loadAddress + header->dataLength == kCompactBuffer &&
           header->dataLength >= kCompactFactsBytes;
}

std::optional<CompactFacts> ReadCompactFacts(const Bytes& part0)
{
    if (part0.size() < kVidHeaderBytes + kCompactFactsBytes) {
        return std::nullopt;
    }
    const std::size_t at = part0.size() - kCompactFactsBytes;
    CompactFacts facts{Word(part0, at), part0[at + 2], part0[at + 3], {}, {}};
    for (std::size_t p = 0; p < kMaxVideoParts; ++p) {
        facts.partStarts[p] = static_cast<std::uint16_t>(Word(part0, at + 4 + 4 * p));
        facts.partFrames[p] = Word(part0, at + 6 + 4 * p);
    }
    return facts;
}

CompactDecoding DecodeCompactVideo(const std::vector<Bytes>& partFiles)
{
    CompactDecoding result;
    if (partFiles.empty() || !IsCompactPart0(partFiles[0])) {
        result.fault = "Teil 0 ist nicht der Anfang eines kompakten Videos";
        return result;
    }
    result.facts = *ReadCompactFacts(partFiles[0]);
    const CompactFacts& facts = result.facts;
    const int parts = facts.parts();
    const int inParts = std::accumulate(facts.partFrames.begin(), facts.partFrames.begin() + parts, 0);
    if (facts.frameCount < 1 || inParts != facts.frameCount) {
        result.fault = "Teil 0 nennt " + std::to_string(facts.frameCount) + " Bilder, seine Teile halten " +
                       std::to_string(inParts);
        return result;
    }
    if (static_cast<int>(partFiles.size()) != parts) {
        result.fault = "das Video hat " + std::to_string(parts) + " Teile, nicht " + std::to_string(partFiles.size());
        return result;
    }

    PackedFrame picture{};
    for (int p = 0; p < parts; ++p) {
        const Bytes& file = partFiles[static_cast<std::size_t>(p)];
        const std::optional<HeaderFields> header = ReadHeader(file);
        const std::uint32_t end = p == 0 ? kCompactBuffer : kBankWindowEnd;
        const std::string part = "Teil " + std::to_string(p);
        if (!header || header->loadBank != p || std::uint32_t{header->loadAddress} + header->dataLength != end ||
            header->loadAddress != facts.partStarts[static_cast<std::size_t>(p)]) {
            result.fault = part + " liegt nicht, wo Teil 0 ihn erwartet";
            return result;
        }
        const std::size_t streamEnd = file.size() - (p == 0 ? kCompactFactsBytes : 0);
        const Bytes stream(file.begin() + kVidHeaderBytes, file.begin() + static_cast<std::ptrdiff_t>(streamEnd));
        std::size_t at = 0;
        for (int f = 0; f < facts.partFrames[static_cast<std::size_t>(p)]; ++f) {
            if (at + 2 > stream.size()) {
                result.fault = part + " hält weniger Bilder, als Teil 0 nennt";
                return result;
            }
            const int ticks = Word(stream, at);
            at += 2;
            if (ticks == 0) {
                result.fault = part + " hält ein Bild, das keine Zeit steht";
                return result;
            }
            const std::size_t codes = at;
            if (std::string fault = DecodeFrame(stream, at, picture); !fault.empty()) {
                result.fault = part + ": " + fault;
                return result;
            }
            const Bytes frameCodes(stream.begin() + static_cast<std::ptrdiff_t>(codes),
                                   stream.begin() + static_cast<std::ptrdiff_t>(at));
            result.frames.push_back({picture, ticks, DecodeTStates(frameCodes)});
        }
        if (at != stream.size()) {
            result.fault = part + " hält mehr, als seine Bilder brauchen";
            return result;
        }
    }
    return result;
}

} // namespace velvix
