// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter.h"

#include "basic_loader.h"
#include "compact_encoder.h"
#include "compact_layout.h"
#include "compact_parts.h"
#include "compact_player.h"
#include "compression.h"
#include "file_io.h"
#include "frame_bitmap.h"
#include "frame_discovery.h"
#include "frame_folder_rewrite.h"
#include "interrupted_run.h"
#include "messages.h"
#include "player_image.h"
#include "rounding.h"
#include "vid_writer.h"
#include "video_name.h"

namespace velvix {

void Converter::start()
{
    settings_ = RunSettings{};
    if (settleInterruptedRun() || !takeVideoName() || !findFrames()) {
        return;
    }
    settings_.framesPerSecond = budget_.framesPerSecond();
    settings_.baseFrameTime = budget_.baseFrameTime();
    settings_.frameCapacity = budget_.frameCapacity();
    settings_.writePlayer = host_.isTicked(CheckBox::CheckvPlay);
    settings_.writeLoader = host_.isTicked(CheckBox::CheckStartBas);
    settings_.compact = host_.isTicked(CheckBox::CheckKompakt);

    if (settings_.frameCount < settings_.frameCapacity) {
        // shown at once, before the long work
        setPlaySeconds(DivideRounded(settings_.frameCount, settings_.framesPerSecond));
    }

    bool compressed = false;
    if (host_.isTicked(CheckBox::CheckVKomp)) {
        const CompressionResult compression =
            CompressFrames(frameFolder_, settings_, similarityThreshold_, host_, folderOps_);
        if (compression.failure) {
            fail(*compression.failure);
            return;
        }
        compressed = compression.removed > 0;
    }
    writeVideo(compressed);
}

bool Converter::settleInterruptedRun()
{
    const InterruptedRun found = FindInterruptedRun(frameFolder_);
    if (!found) {
        return false;
    }
    const Message box = messages::UnfinishedRun(frameFolder_, found);
    const auto index = static_cast<std::size_t>(host_.choose(box));
    const std::string chosen = index < box.choices.size() ? box.choices[index] : messages::kLater;
    if (chosen == messages::kRestore) {
        host_.showMessage(RestoreFrameFolder(frameFolder_, found, folderOps_));
    } else if (chosen == messages::kFinish) {
        finishRun(*found.record);
    }
    return true;
}

// The rewrite goes on from its recorded step, then the video is written as the run would have.
void Converter::finishRun(RunRecord record)
{
    settings_ = record.settings;
    RewrittenFolder rewritten = RewriteFrameFolder(frameFolder_, record, folderOps_);
    if (rewritten.failure) {
        fail(*rewritten.failure);
        return;
    }
    settings_.framePaths = std::move(rewritten.framePaths);
    writeVideo(true);
}

// After a rewrite the record goes last, once every file is written.
void Converter::writeVideo(bool compressed)
{
    const bool compact = settings_.compact;
    if (!(compact ? writeCompact(compressed) : writePlain(compressed))) {
        return;
    }

    if (settings_.writePlayer) {
        if (auto failure = compact ? WriteCompactPlayerFile(frameFolder_) : WritePlayerFile(frameFolder_)) {
            fail(*failure);
            return;
        }
    }
    if (settings_.writeLoader) {
        const std::string player = compact ? kCompactPlayerFileName : "";
        if (auto failure = WriteBasicLoader(frameFolder_, settings_.outputName, lastPart_, player)) {
            fail(*failure);
            return;
        }
    }
    if (compressed) {
        if (auto failure = RemoveRunRecord(frameFolder_, folderOps_)) {
            fail(*failure);
            return;
        }
    }

    host_.showMessage(messages::Completion(lastPart_));
    host_.setVideoName("");
}

void Converter::chooseStrength(int index)
{
    if (index >= 0 && index < static_cast<int>(kSimilarityThresholds.size())) {
        similarityThreshold_ = kSimilarityThresholds[static_cast<std::size_t>(index)];
    }
}

bool Converter::writePlain(bool compressed)
{
    cutTo(settings_.frameCapacity, compressed);
    const VideoFacts facts{static_cast<std::uint8_t>(settings_.frameCount), static_cast<std::uint8_t>(playSeconds_),
                           static_cast<std::uint8_t>(settings_.framesPerSecond)};
    const VidResult written =
        WriteVidParts(frameFolder_, settings_.outputName, settings_.framePaths, settings_.frameTimes, facts);
    if (written.failure) {
        return fail(*written.failure);
    }
    lastPart_ = written.lastPart;
    return true;
}

// The frames are coded before the cut: how many fit depends on the frames.
bool Converter::writeCompact(bool compressed)
{
    const PackedFrames read = ReadPackedFrames(settings_.framePaths, settings_.frameCount);
    if (read.failure) {
        return fail(*read.failure);
    }
    const int perSecond = settings_.framesPerSecond;
    const CompactVideo video =
        EncodeCompactVideo(read.pictures, settings_.frameTimes, perSecond, settings_.frameCapacity);
    host_.showCompactFit(std::to_string(video.frameCount) + " von " + std::to_string(settings_.frameCount) + " passen");
    cutTo(video.frameCount, compressed);
    const std::vector<Bytes> parts =
        BuildCompactParts(video, static_cast<std::uint8_t>(playSeconds_), static_cast<std::uint8_t>(perSecond));
    const CompactPartsResult written = WriteCompactParts(frameFolder_, settings_.outputName, parts);
    if (written.failure) {
        return fail(*written.failure);
    }
    lastPart_ = written.lastPart;
    return true;
}

// The compressed cut shows its play time before its warning, the plain cut after.
void Converter::cutTo(int capacity, bool compressed)
{
    const int perSecond = settings_.framesPerSecond;
    std::optional<CutResult> cut;
    if (compressed) {
        cut = CompressedCut(settings_.frameCount, settings_.frameTimes, settings_.sourceSeconds, capacity, perSecond,
                            settings_.baseFrameTime);
    }
    if (cut) {
        setPlaySeconds(cut->playSeconds);
        host_.showMessage(*cut->warning);
    } else {
        cut = PlainCut(settings_.frameCount, settings_.sourceSeconds, capacity, perSecond);
        if (cut->warning) {
            host_.showMessage(*cut->warning);
        }
        setPlaySeconds(cut->playSeconds);
    }
    settings_.frameCount = cut->frameCount;
}

bool Converter::takeVideoName()
{
    const std::string entered = host_.videoName();
    if (entered.empty()) {
        return failAtName(messages::EmptyName());
    }
    settings_.outputName = CleanVideoName(entered);
    if (!IsUsableInFileName(settings_.outputName)) {
        return failAtName(messages::UnusableName());
    }
    return true;
}

bool Converter::findFrames()
{
    Discovery found = DiscoverFrames(frameFolder_);
    using Stop = Discovery::Stop;
    switch (found.stop) {
    case Stop::FolderMissing:
        return fail(messages::FolderMissing());
    case Stop::FolderUnreadable:
        return fail(messages::ReadFailed(*found.error));
    case Stop::Ambiguous:
        return fail(messages::AmbiguousFrame(found.ambiguous));
    default:
        break;
    }
    if (found.framePaths.empty()) {
        switch (found.stop) {
        case Stop::FileEmpty:
            return fail(messages::FirstFrameSize());
        case Stop::FileUnreadable:
            return fail(messages::ReadFailed(*found.error));
        default:
            return fail(messages::FirstFrameMissing());
        }
    }

    if (found.firstFrameSize != kFrameFileSize) {
        return fail(messages::FirstFrameSize());
    }
    if (found.framePaths.size() > static_cast<std::size_t>(kMaxFrames)) {
        return fail(messages::TooManyFrames());
    }

    settings_.framePaths = std::move(found.framePaths);
    settings_.frameCount = static_cast<int>(settings_.framePaths.size());
    settings_.frameTimes.assign(settings_.framePaths.size(), static_cast<std::uint8_t>(budget_.baseFrameTime()));
    settings_.sourceSeconds = DivideRounded(settings_.frameCount, budget_.framesPerSecond());
    return true;
}

void Converter::setPlaySeconds(int seconds)
{
    playSeconds_ = seconds;
    host_.setTextVidSekReal(std::to_string(seconds));
}

bool Converter::fail(const Message& message)
{
    host_.showMessage(message);
    return false;
}

bool Converter::failAtName(const Message& message)
{
    fail(message);
    host_.focusVideoName();
    return false;
}

} // namespace velvix
