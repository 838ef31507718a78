// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "vid_reader.h"

#include "compact_decoder.h"
#include "compact_layout.h"
#include "interrupted_run.h"
#include "memory_budget.h"
#include "vid_header.h"
#include "vid_layout.h"

#include <algorithm>
#include <system_error>

namespace velvix {

namespace fs = std::filesystem;
using messages::VideoWindow;

namespace {

// No part's data reaches below address 0; one byte more shows a longer file as such.
constexpr std::size_t kReadLimit = kVidHeaderBytes + PartEnd(0) + 2;

// The plain format's own rules: how many frames a part's data holds, what
// part 0's closing bytes say, and (SplitIntoParts, PartFileBytes) how the
// frames spread over the parts. The rest of this file holds for any frame
// format that keeps the part names and memory windows of vid_layout.h.

// nullopt for a length the plain format never writes into `part`.
std::optional<int> PlainFrames(int part, std::uint32_t length)
{
    const int most = part == 0 ? kPart0Frames : kBankFrames;
    const auto frames = static_cast<int>(length / kFrameRecordBytes);
    if (frames < 1 || frames > most || PartDataLength(part, frames) != length) {
        return std::nullopt;
    }
    return frames;
}

// The closing bytes of a part 0 that holds `frames` frames: frame count, play time in seconds, frames per second.
VideoPartsResult PlainFacts(const fs::path& path, Bytes file, int frames, const VideoWindow& window)
{
    const int frameCount = file[file.size() - 3];
    const int perSecond = file[file.size() - 1];
    const bool knownRate = std::any_of(kFrameRates.begin(), kFrameRates.end(),
                                       [perSecond](const FrameRate& rate) { return rate.perSecond == perSecond; });
    if (frameCount < 1 || frameCount > kMaxVideoFrames || std::min(frameCount, kPart0Frames) != frames) {
        return {std::nullopt, messages::NotAVid(window, path,
                                                "sie nennt " + std::to_string(frameCount) + " Bilder, hält aber " +
                                                    std::to_string(frames))};
    }
    if (!knownRate) {
        return {std::nullopt,
                messages::NotAVid(window, path, "sie nennt " + std::to_string(perSecond) + " Bilder pro Sekunde")};
    }
    return {VideoParts{{std::move(file)}, frameCount, perSecond, kPlayerFileName}, std::nullopt};
}

struct ReadPart {
    Bytes file{}; // at most kReadLimit bytes
    std::uintmax_t size = 0;
    std::optional<Message> failure{};
    bool missing = false;
};

ReadPart Read(const fs::path& path, const VideoWindow& window)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        return {.missing = true};
    }
    if (!fs::is_regular_file(status)) {
        return {.failure = messages::NotAVid(window, path, "sie ist keine gewöhnliche Datei")};
    }
    FileStart start = ReadFileStart(path, kReadLimit);
    if (start.error) {
        return {.failure = messages::PartUnreadable(window, path, start.error->reason)};
    }
    std::uintmax_t size = fs::file_size(path, error);
    if (error) {
        size = start.bytes.size();
    }
    return {.file = std::move(start.bytes), .size = size};
}

struct PartCheck {
    int frames = 0;
    std::optional<Message> failure;
};

// The header as the converter writes it for some part: which part and how many frames.
PartCheck CheckHeader(const fs::path& path, const ReadPart& read, int part, const VideoWindow& window)
{
    const Bytes& file = read.file;
    if (file.size() < kVidHeaderBytes) {
        return {0, messages::NotAVid(window, path,
                                     "sie hat nur " + std::to_string(file.size()) +
                                         " Bytes, weniger als der Dateikopf einer VID-Datei")};
    }
    const std::optional<HeaderFields> header = ParseVidHeader(file);
    if (!header || header->type != FileType::BinaryImage) {
        return {0, messages::NotAVid(window, path, "ihr Dateikopf ist nicht der einer Binärdatei des PC-1600")};
    }
    const int bank = header->loadBank;
    const bool inWindow =
        bank < kMaxVideoParts && std::uint32_t{header->loadAddress} + header->dataLength == PartEnd(bank);
    const std::optional<int> frames = inWindow ? PlainFrames(bank, header->dataLength) : std::nullopt;
    if (!frames) {
        return {0, messages::NotAVid(window, path, "ihr Dateikopf beschreibt keinen Teil eines Videos")};
    }
    if (bank != part) {
        return {0, messages::ForeignPart(window, path,
                                         "sie ist Teil " + std::to_string(bank) + " eines Videos, nicht Teil " +
                                             std::to_string(part))};
    }
    const std::size_t expected = PartFileBytes(part, *frames);
    if (read.size < expected) {
        return {0, messages::PartTruncated(window, path, read.size, expected)};
    }
    if (read.size > expected) {
        return {0, messages::PartOversized(window, path, read.size, expected)};
    }
    return {*frames, std::nullopt};
}

// The compact format: part 0 ends below the decoding buffer, its closing facts
// say how many parts follow, and every part must decode as the player would.
VideoPartsResult ReadCompactParts(const fs::path& folder, const std::string& name, const fs::path& path0,
                                  ReadPart part0, const VideoWindow& window)
{
    std::vector<fs::path> paths{path0};
    std::vector<ReadPart> reads;
    reads.push_back(std::move(part0));
    const CompactFacts facts = *ReadCompactFacts(reads[0].file);
    const int parts = std::max(facts.parts(), 1);
    for (int p = 0; p < parts; ++p) {
        if (p > 0) {
            paths.push_back(folder / PathFromUtf8(PartFileName(name, p)));
            reads.push_back(Read(paths.back(), window));
        }
        const fs::path& path = paths.back();
        const ReadPart& read = reads.back();
        if (read.missing) {
            return {std::nullopt, messages::PartMissing(window, path, facts.frameCount, parts)};
        }
        if (read.failure) {
            return {std::nullopt, read.failure};
        }
        const std::optional<HeaderFields> header = ParseVidHeader(read.file);
        if (!header || header->type != FileType::BinaryImage || header->loadBank != p ||
            std::uint32_t{header->loadAddress} + header->dataLength != (p == 0 ? kCompactBuffer : PartEnd(p))) {
            return {std::nullopt,
                    messages::ForeignPart(window, path,
                                          "Teil 0 erwartet Teil " + std::to_string(p) + " eines kompakten Videos")};
        }
        const std::size_t expected = kVidHeaderBytes + header->dataLength;
        if (read.size != expected) {
            return {std::nullopt, read.size < expected ? messages::PartTruncated(window, path, read.size, expected)
                                                       : messages::PartOversized(window, path, read.size, expected)};
        }
        if (header->loadAddress != facts.partStarts[static_cast<std::size_t>(p)]) {
            return {std::nullopt,
                    messages::ForeignPart(
                        window, path, "sie ist ein Teil " + std::to_string(p) + " anderer Länge, als Teil 0 erwartet")};
        }
    }
    std::vector<Bytes> files;
    for (ReadPart& read : reads) {
        files.push_back(std::move(read.file));
    }
    const CompactDecoding decoded = DecodeCompactVideo(files);
    const bool knownRate = std::any_of(kFrameRates.begin(), kFrameRates.end(),
                                       [&](const FrameRate& rate) { return rate.perSecond == facts.framesPerSecond; });
    if (!decoded.fault.empty()) {
        return {std::nullopt, messages::NotAVid(window, path0, decoded.fault)};
    }
    if (!knownRate) {
        return {std::nullopt,
                messages::NotAVid(window, path0,
                                  "sie nennt " + std::to_string(facts.framesPerSecond) + " Bilder pro Sekunde")};
    }
    return {VideoParts{std::move(files), facts.frameCount, facts.framesPerSecond, kCompactPlayerFileName},
            std::nullopt};
}

} // namespace

std::vector<std::string> FindVideos(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (std::optional<std::string> name = VideoOfPartZero(Utf8FromPath(it->path().filename()))) {
            names.push_back(std::move(*name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

VideoPartsResult ReadVideoParts(const fs::path& folder, const std::string& name, const VideoWindow& window)
{
    // Before anything is played or sent: the folder must first be settled in the main window.
    if (FindInterruptedRun(folder)) {
        return {std::nullopt, messages::RunInterrupted(window, folder)};
    }
    const fs::path path0 = folder / PathFromUtf8(PartFileName(name, 0));
    ReadPart part0 = Read(path0, window);
    if (part0.missing) {
        return {std::nullopt, messages::VideoMissing(window, path0)};
    }
    if (part0.failure) {
        return {std::nullopt, part0.failure};
    }
    const std::optional<HeaderFields> header0 = ParseVidHeader(part0.file);
    if (header0 && header0->loadBank == 0 && header0->dataLength >= kCompactFactsBytes &&
        std::uint32_t{header0->loadAddress} + header0->dataLength == kCompactBuffer) {
        return ReadCompactParts(folder, name, path0, std::move(part0), window);
    }
    const PartCheck check0 = CheckHeader(path0, part0, 0, window);
    if (check0.failure) {
        return {std::nullopt, check0.failure};
    }
    VideoPartsResult result = PlainFacts(path0, std::move(part0.file), check0.frames, window);
    if (!result.parts) {
        return result;
    }

    VideoParts& parts = *result.parts;
    const std::vector<VidPart> expected = SplitIntoParts(parts.frameCount);
    for (std::size_t p = 1; p < expected.size(); ++p) {
        const int number = static_cast<int>(p);
        const fs::path path = folder / PathFromUtf8(PartFileName(name, number));
        ReadPart part = Read(path, window);
        if (part.missing) {
            return {std::nullopt,
                    messages::PartMissing(window, path, parts.frameCount, static_cast<int>(expected.size()))};
        }
        if (part.failure) {
            return {std::nullopt, part.failure};
        }
        const PartCheck check = CheckHeader(path, part, number, window);
        if (check.failure) {
            return {std::nullopt, check.failure};
        }
        if (check.frames != expected[p].frames()) {
            return {std::nullopt, messages::ForeignPart(window, path,
                                                        "sie hält " + std::to_string(check.frames) + " Bilder, Teil " +
                                                            std::to_string(number) + " eines Videos mit " +
                                                            std::to_string(parts.frameCount) + " Bildern hält " +
                                                            std::to_string(expected[p].frames()))};
        }
        parts.files.push_back(std::move(part.file));
    }
    return result;
}

} // namespace velvix
