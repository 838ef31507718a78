// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "run_record.h"

#include "frame_discovery.h"
#include "messages.h"
#include "system_reason.h"
#include "video_name.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <sstream>

namespace velvix {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kLongestRecord = 16 * 1024; // 299 frame names and times fit many times over
constexpr std::array<const char*, 5> kStepNames{"Sichern", "Kopieren", "Löschen", "Umbenennen", "Video"};

fs::path RecordPath(const fs::path& frameFolder) { return frameFolder / kRunRecordName; }

fs::path TemporaryPath(const fs::path& frameFolder)
{
    fs::path temporary = RecordPath(frameFolder);
    temporary += ".velvix-tmp"; // as WriteWholeFile names it
    return temporary;
}

template <typename Number> std::string Joined(const std::vector<Number>& numbers)
{
    std::string text;
    for (const Number n : numbers) {
        text += (text.empty() ? "" : " ") + std::to_string(n);
    }
    return text;
}

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

std::optional<int> Number(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::vector<int>> Numbers(std::string_view text, int lowest, int highest)
{
    std::vector<int> numbers;
    for (const std::string& word : Words(text)) {
        const std::optional<int> n = Number(word, lowest, highest);
        if (!n) {
            return std::nullopt;
        }
        numbers.push_back(*n);
    }
    return numbers;
}

// A single folder name: the record can only point beside the frame folder.
bool IsPlainFolderName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
            return false;
        }
    }
    return true;
}

bool Valid(const RunRecord& r)
{
    const int found = static_cast<int>(r.foundNames.size());
    if (!IsPlainFolderName(r.backupName) || found == 0 || found > kMaxFrames || r.keptNumbers.empty() ||
        r.settings.frameTimes.size() != r.keptNumbers.size() || r.settings.outputName.empty() ||
        !IsUsableInFileName(r.settings.outputName)) {
        return false;
    }
    for (int i = 0; i < found; ++i) {
        if (FrameNumberOf(r.foundNames[static_cast<std::size_t>(i)]) != i + 1) {
            return false;
        }
    }
    int previous = 0;
    for (const int n : r.keptNumbers) {
        if (n <= previous || n > found) {
            return false;
        }
        previous = n;
    }
    return true;
}

} // namespace

std::string FormatRunRecord(const RunRecord& r)
{
    const RunSettings& s = r.settings;
    std::string names;
    for (const std::string& name : r.foundNames) {
        names += (names.empty() ? "" : " ") + name;
    }
    return "# Velvix ordnet diesen Bilderordner neu. Bitte nicht löschen: wird der Lauf unterbrochen,\n"
           "# stellt Velvix damit den Ordner wieder her oder beendet den Lauf.\n"
           "Schritt: " +
           std::string(kStepNames[static_cast<std::size_t>(r.step)]) + "\nSicherung: " + r.backupName +
           "\nBilder: " + names + "\nBehalten: " + Joined(r.keptNumbers) + "\nZeiten: " + Joined(s.frameTimes) +
           "\nQuellsekunden: " + std::to_string(s.sourceSeconds) +
           "\nBilderProSekunde: " + std::to_string(s.framesPerSecond) +
           "\nGrundzeit: " + std::to_string(s.baseFrameTime) + "\nPlatz: " + std::to_string(s.frameCapacity) +
           "\nPlayer: " + std::to_string(s.writePlayer) + "\nLoader: " + std::to_string(s.writeLoader) +
           (s.compact ? "\nKompakt: 1" : "") + "\nName: " + s.outputName + "\n";
}

std::optional<RunRecord> ParseRunRecord(std::string_view text)
{
    std::map<std::string, std::string, std::less<>> fields;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t colon = line.find(": ");
        if (!line.starts_with('#') && colon != std::string_view::npos) {
            fields[std::string(line.substr(0, colon))] = line.substr(colon + 2);
        }
    }
    auto field = [&](const char* key) -> const std::string& {
        static const std::string none;
        const auto it = fields.find(key);
        return it != fields.end() ? it->second : none;
    };

    RunRecord r;
    const auto step = std::find(kStepNames.begin(), kStepNames.end(), std::string_view(field("Schritt")));
    const auto kept = Numbers(field("Behalten"), 1, kMaxFrames);
    const auto times = Numbers(field("Zeiten"), 0, 255);
    const auto source = Number(field("Quellsekunden"), 0, 255);
    const auto perSecond = Number(field("BilderProSekunde"), 1, 255);
    const auto base = Number(field("Grundzeit"), 1, 255);
    const auto capacity = Number(field("Platz"), 0, 255);
    const auto player = Number(field("Player"), 0, 1);
    const auto loader = Number(field("Loader"), 0, 1);
    const auto compact = field("Kompakt").empty() ? std::optional<int>(0) : Number(field("Kompakt"), 0, 1);
    if (step == kStepNames.end() || !kept || !times || !source || !perSecond || !base || !capacity || !player ||
        !loader || !compact) {
        return std::nullopt;
    }
    r.step = static_cast<RewriteStep>(step - kStepNames.begin());
    r.backupName = field("Sicherung");
    r.foundNames = Words(field("Bilder"));
    r.keptNumbers = *kept;
    r.settings.frameCount = static_cast<int>(kept->size());
    r.settings.frameTimes.assign(times->begin(), times->end());
    r.settings.sourceSeconds = *source;
    r.settings.framesPerSecond = *perSecond;
    r.settings.baseFrameTime = *base;
    r.settings.frameCapacity = *capacity;
    r.settings.writePlayer = *player == 1;
    r.settings.writeLoader = *loader == 1;
    r.settings.compact = *compact == 1;
    r.settings.outputName = field("Name");
    if (!Valid(r)) {
        return std::nullopt;
    }
    return r;
}

std::optional<RunRecord> ReadRunRecord(const fs::path& frameFolder)
{
    const FileStart file = ReadFileStart(RecordPath(frameFolder), kLongestRecord);
    if (file.error) {
        return std::nullopt;
    }
    return ParseRunRecord(std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
}

bool HasRunRecord(const fs::path& frameFolder)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(RecordPath(frameFolder), ec));
}

std::optional<Message> WriteRunRecord(const fs::path& frameFolder, const RunRecord& record, FolderOps& ops)
{
    const std::string text = FormatRunRecord(record);
    if (auto error =
            ops.writeFile(RecordPath(frameFolder), {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) {
        return messages::WriteFailed(*error);
    }
    return std::nullopt;
}

std::optional<Message> RemoveRunRecord(const fs::path& frameFolder, FolderOps& ops)
{
    for (const fs::path& file : {TemporaryPath(frameFolder), RecordPath(frameFolder)}) {
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(file, ec))) {
            continue;
        }
        if (auto error = ops.remove(file)) {
            return messages::RemoveFailed(IoError{file, SystemReason(error)});
        }
    }
    return std::nullopt;
}

} // namespace velvix
