// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "compression.h"

#include "frame_folder_rewrite.h"
#include "messages.h"

#include <algorithm>

namespace velvix {

namespace fs = std::filesystem;

namespace {

constexpr int kFullDisplayTime = 230; // a frame that passes this takes no more time: it must fit a byte

int EqualBytes(const StoredFrame& a, const StoredFrame& b)
{
    int equal = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        equal += a[i] == b[i];
    }
    return equal;
}

} // namespace

NearCopies FindNearCopies(const std::vector<StoredFrame>& frames, std::vector<std::uint8_t> frameTimes,
                          int similarityThreshold)
{
    NearCopies result;
    const std::size_t count = frames.size();
    std::size_t reference = 0;
    std::size_t candidate = 1;
    std::uint8_t increment = count > 0 ? frameTimes[0] : 0;
    // The last frame is never a candidate, so it always stays.
    while (candidate + 1 < count) {
        const int equal = EqualBytes(frames[reference], frames[candidate]);
        if (equal - static_cast<int>(kFrameHeaderBytes) <= similarityThreshold) {
            reference = candidate++;
            increment = frameTimes[reference];
            continue;
        }
        frameTimes[reference] = static_cast<std::uint8_t>(frameTimes[reference] + increment);
        result.deletedFrames.push_back(static_cast<int>(candidate) + 1);
        ++candidate;
        if (frameTimes[reference] > kFullDisplayTime) {
            // The next frame starts afresh without being compared with this one.
            reference = candidate++;
            increment = frameTimes[reference];
        }
    }
    result.frameTimes = std::move(frameTimes);
    return result;
}

CompressionResult CompressFrames(const fs::path& folder, RunSettings& settings, int similarityThreshold, Host& host,
                                 FolderOps& ops)
{
    std::vector<StoredFrame> frames;
    for (const fs::path& path : settings.framePaths) {
        FileStart file = ReadFileStart(path, kFrameBytes);
        if (file.error) {
            return {0, messages::ReadFailed(*file.error)};
        }
        StoredFrame& frame = frames.emplace_back();
        frame.fill(0);
        std::copy(file.bytes.begin(), file.bytes.end(), frame.begin());
    }

    NearCopies nearCopies = FindNearCopies(frames, settings.frameTimes, similarityThreshold);
    if (nearCopies.deletedFrames.empty()) {
        return {};
    }

    // The record holds what the rest of the run needs, the frames' new display times above all.
    RunRecord record;
    record.backupName = Utf8FromPath(FreeBackupFolder(folder).filename());
    record.settings = settings;
    record.settings.framePaths.clear();
    record.settings.frameTimes.clear();
    for (std::size_t i = 0; i < settings.framePaths.size(); ++i) {
        record.foundNames.push_back(Utf8FromPath(settings.framePaths[i].filename()));
        const int number = static_cast<int>(i) + 1;
        if (!std::binary_search(nearCopies.deletedFrames.begin(), nearCopies.deletedFrames.end(), number)) {
            record.keptNumbers.push_back(number);
            record.settings.frameTimes.push_back(nearCopies.frameTimes[i]);
        }
    }
    record.settings.frameCount = static_cast<int>(record.keptNumbers.size());

    RewrittenFolder rewritten = RewriteFrameFolder(folder, record, ops);
    if (rewritten.failure) {
        return {0, rewritten.failure};
    }

    const int removed = static_cast<int>(nearCopies.deletedFrames.size());
    const float saving = static_cast<float>(removed) * 0.625f + 1; // KB of PC-1600 memory
    host.showMessage(messages::CompressionResult(removed, host.formatDecimal(saving)));

    settings = record.settings;
    settings.framePaths = std::move(rewritten.framePaths);
    return {removed, std::nullopt};
}

} // namespace velvix
