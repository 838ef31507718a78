#include "video_parts.h"

#include "memory_budget.h"
#include "preview_messages.h"
#include "system_reason.h"
#include "vid_writer.h"

#include <algorithm>
#include <system_error>

namespace velvix {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeaderBytes = 16;
constexpr int kPart0Frames = 45;
constexpr int kBankFrames = 25;
constexpr std::uint32_t kPart0End = 0xEEB1; // part 0 ends below the player
constexpr std::uint32_t kBankEnd = 0xC000;  // later parts end at the top of their bank

const std::string kPartSuffix = ".VID";

fs::path PartPath(const fs::path& folder, const std::string& name, int part)
{
    return folder / PathFromUtf8(name + std::to_string(part) + kPartSuffix);
}

// Part 0 loads three closing bytes behind its frames; later parts one byte that
// is part of the file but not of the data loaded.
std::uint32_t DataLength(int part, int frames)
{
    return static_cast<std::uint32_t>(kFrameRecordBytes * static_cast<std::size_t>(frames)) + (part == 0 ? 4 : 1);
}

struct PartCheck {
    int frames = 0;
    std::optional<Message> failure;
};

// The header as the converter writes it for some part: which part and how many frames.
PartCheck CheckHeader(const fs::path& path, const Bytes& file, int part)
{
    if (file.size() < kHeaderBytes) {
        return {0, messages::NotAVid(path, "sie hat nur " + std::to_string(file.size()) +
                                               " Bytes, weniger als der Dateikopf einer VID-Datei")};
    }
    const bool binaryImage = file[0] == 0xFF && file[1] == 0x10 && file[2] == 0x00 && file[3] == 0x00 &&
                             file[4] == 0x10 && file[7] == 0x00 && file[15] == 0x0F;
    if (!binaryImage) {
        return {0, messages::NotAVid(path, "ihr Dateikopf ist nicht der einer Binärdatei des PC-1600")};
    }
    const std::uint32_t length = file[5] | file[6] << 8;
    const std::uint32_t address = file[8] | file[9] << 8;
    const int bank = file[10];
    const bool asPart0 = bank == 0 && length % kFrameRecordBytes == 4 && address + length == kPart0End &&
                         length / kFrameRecordBytes >= 1 && length / kFrameRecordBytes <= kPart0Frames;
    const bool asBankPart = bank >= 1 && bank <= 3 && length % kFrameRecordBytes == 1 && address + length == kBankEnd &&
                            length / kFrameRecordBytes >= 1 && length / kFrameRecordBytes <= kBankFrames;
    if (!asPart0 && !asBankPart) {
        return {0, messages::NotAVid(path, "ihr Dateikopf beschreibt keinen Teil eines Videos")};
    }
    if (bank != part) {
        return {0, messages::ForeignPart(path, "sie ist Teil " + std::to_string(bank) + " eines Videos, nicht Teil " +
                                                   std::to_string(part))};
    }
    const int frames = static_cast<int>(length / kFrameRecordBytes);
    const std::size_t expected = VidPartFileBytes(part, frames);
    if (file.size() < expected) {
        return {0, messages::PartTruncated(path, file.size(), expected)};
    }
    if (file.size() > expected) {
        return {0, messages::PartOversized(path, file.size(), expected)};
    }
    return {frames, std::nullopt};
}

struct ReadPart {
    Bytes file;
    std::optional<Message> failure;
    bool missing = false;
};

ReadPart Read(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        return {{}, std::nullopt, true};
    }
    if (!fs::is_regular_file(status)) {
        return {{}, messages::NotAVid(path, "sie ist keine gewöhnliche Datei")};
    }
    // One byte more than the longest part, so that a longer file is seen as such.
    FileStart start = ReadFileStart(path, VidPartFileBytes(0, kPart0Frames) + 1);
    if (start.error) {
        return {{}, messages::PartUnreadable(path, start.error->reason)};
    }
    return {std::move(start.bytes), std::nullopt, false};
}

} // namespace

std::size_t VidPartFileBytes(int part, int frames)
{
    return kHeaderBytes + DataLength(part, frames) + (part == 0 ? 0 : 1);
}

std::vector<std::string> FindVideos(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string file = Utf8FromPath(it->path().filename());
        const std::string ending = "0" + kPartSuffix;
        if (file.size() > ending.size() && file.ends_with(ending)) {
            names.push_back(file.substr(0, file.size() - ending.size()));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

VideoPartsResult ReadVideoParts(const fs::path& folder, const std::string& name)
{
    const fs::path path0 = PartPath(folder, name, 0);
    ReadPart part0 = Read(path0);
    if (part0.missing) {
        return {std::nullopt, messages::VideoMissing(path0)};
    }
    if (part0.failure) {
        return {std::nullopt, part0.failure};
    }
    const PartCheck check0 = CheckHeader(path0, part0.file, 0);
    if (check0.failure) {
        return {std::nullopt, check0.failure};
    }

    // The closing bytes: frame count, play time in seconds, frames per second.
    const Bytes& file0 = part0.file;
    const int frameCount = file0[file0.size() - 3];
    const int perSecond = file0[file0.size() - 1];
    const bool knownRate = std::any_of(kFrameRates.begin(), kFrameRates.end(),
                                       [perSecond](const FrameRate& rate) { return rate.perSecond == perSecond; });
    if (frameCount < 1 || frameCount > kMaxVideoFrames || std::min(frameCount, kPart0Frames) != check0.frames) {
        return {std::nullopt, messages::NotAVid(path0, "sie nennt " + std::to_string(frameCount) +
                                                           " Bilder, hält aber " + std::to_string(check0.frames))};
    }
    if (!knownRate) {
        return {std::nullopt,
                messages::NotAVid(path0, "sie nennt " + std::to_string(perSecond) + " Bilder pro Sekunde")};
    }

    VideoParts parts{{std::move(part0.file)}, frameCount, perSecond};
    const std::vector<VidPart> expected = SplitIntoParts(frameCount);
    for (std::size_t p = 1; p < expected.size(); ++p) {
        const int number = static_cast<int>(p);
        const fs::path path = PartPath(folder, name, number);
        ReadPart part = Read(path);
        if (part.missing) {
            return {std::nullopt, messages::PartMissing(path, frameCount, static_cast<int>(expected.size()))};
        }
        if (part.failure) {
            return {std::nullopt, part.failure};
        }
        const PartCheck check = CheckHeader(path, part.file, number);
        if (check.failure) {
            return {std::nullopt, check.failure};
        }
        const int frames = expected[p].highestFrame - expected[p].lowestFrame + 1;
        if (check.frames != frames) {
            return {std::nullopt, messages::ForeignPart(path, "sie hält " + std::to_string(check.frames) +
                                                                  " Bilder, Teil " + std::to_string(number) +
                                                                  " eines Videos mit " + std::to_string(frameCount) +
                                                                  " Bildern hält " + std::to_string(frames))};
        }
        parts.files.push_back(std::move(part.file));
    }
    return {std::move(parts), std::nullopt};
}

} // namespace velvix
