// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "disk_full.h"
#include "fake_host.h"
#include "ffmpeg_inputs.h"
#include "interrupted_swap.h"
#include "make_frames.h"
#include "output_swap.h"
#include "swap_record.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace velvix {
namespace {

namespace fs = std::filesystem;
using frames::Job;
using frames::MakeFrames;
using frames::Outcome;

// The names in a folder, sorted.
std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> result;
    for (const auto& entry : fs::directory_iterator(folder)) {
        result.push_back(entry.path().filename().string());
    }
    std::sort(result.begin(), result.end());
    return result;
}

// Writes all of `frames` and the sheet as a run does, one frame after the other.
std::optional<Message> WriteAll(const fs::path& folder, const std::vector<FramePixels>& frames, const fs::path& sheet,
                                const Bytes& sheetBytes,
                                frames::FramesFolderOps& ops = frames::DefaultFramesFolderOps())
{
    frames::OutputWriter writer(folder, sheet, ops);
    std::optional<Message> failure = writer.start();
    for (const FramePixels& frame : frames) {
        if (!failure) {
            failure = writer.add(frame);
        }
    }
    return failure ? failure : writer.finish(sheetBytes);
}

// An output folder that already holds frames.
class OldFrames : public ::testing::Test {
protected:
    test::TempFolder temp;
    fs::path output = temp.path() / "ziel";
    Job job;

    void SetUp() override
    {
        const fs::path images = temp.path() / "bilder";
        fs::create_directories(images);
        fs::create_directories(output);
        for (const char* name : {"1.png", "2.png"}) {
            test::RunFfmpeg({"-f", "lavfi", "-i", test::WhiteWithBox(156, 32, 0, 0, 2, 2), "-frames:v", "1"},
                            images / name);
        }
        for (const char* name : {"B001.BMP", "b002.bmp", "B003.BMP"}) {
            test::WriteFile(output / name, {'a', 'l', 't'});
        }
        test::WriteFile(output / "FILM0.VID", {'v'});
        job.input = images;
        job.outputFolder = output;
    }

    std::vector<std::string> names() const { return Entries(output); }
};

TEST_F(OldFrames, AreNotMixedWithNewOnes)
{
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_TRUE(outcome.failure);
    EXPECT_NE(outcome.failure->text.find("--ersetzen"), std::string::npos) << outcome.failure->text;
    EXPECT_EQ(names(), (std::vector<std::string>{"B001.BMP", "B003.BMP", "FILM0.VID", "b002.bmp"}));
    EXPECT_EQ(test::ReadFile(output / "B001.BMP"), (Bytes{'a', 'l', 't'}));
}

TEST_F(OldFrames, AreAllReplacedWhenAskedTo)
{
    job.replace = true;
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    EXPECT_EQ(names(), (std::vector<std::string>{"B001.BMP", "B002.BMP", "FILM0.VID"})); // no old B003 left to play
    EXPECT_EQ(fs::file_size(output / "B001.BMP"), 704u);
}

TEST_F(OldFrames, AreNeverReadBackAsInput)
{
    // The output folder as the input folder, and inside it: refused even with --ersetzen.
    const std::vector<std::pair<fs::path, fs::path>> places{
        {output, output}, {temp.path(), output}, {temp.path(), temp.path() / "." / "ziel" / ".."}};
    for (const auto& [input, outputFolder] : places) {
        job.input = input;
        job.outputFolder = outputFolder;
        job.replace = true;
        const Outcome outcome = MakeFrames(job, {});
        ASSERT_TRUE(outcome.failure) << outputFolder;
        EXPECT_NE(outcome.failure->text.find("Eingabeordner"), std::string::npos) << outcome.failure->text;
        EXPECT_EQ(names(), (std::vector<std::string>{"B001.BMP", "B003.BMP", "FILM0.VID", "b002.bmp"}));
        EXPECT_EQ(test::ReadFile(output / "B001.BMP"), (Bytes{'a', 'l', 't'}));
    }
}

TEST_F(OldFrames, StayAsTheyWereWhenNewOnesCannotBeWritten)
{
    std::optional<Message> failure;
    {
        test::DiskFull full;
        failure = WriteAll(output, std::vector<FramePixels>(3), {}, {});
    }
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->text.find("Datei ist zu groß"), std::string::npos) << failure->text;
    EXPECT_NE(failure->text.find("alten Bilder sind unverändert"), std::string::npos) << failure->text;
    EXPECT_EQ(names(), (std::vector<std::string>{"B001.BMP", "B003.BMP", "FILM0.VID", "b002.bmp"}));
    EXPECT_EQ(test::ReadFile(output / "b002.bmp"), (Bytes{'a', 'l', 't'}));
    EXPECT_EQ(Entries(temp.path()), (std::vector<std::string>{"bilder", "ziel"})); // no half folder beside
}

TEST(NewFrameFolder, IsNotLeftBehindWhenFramesCannotBeWritten)
{
    test::TempFolder temp;
    const fs::path output = temp.path() / "neu" / "ziel";
    const std::vector<FramePixels> two(2);
    std::optional<Message> failure;
    {
        test::DiskFull full;
        failure = WriteAll(output, two, {}, {});
    }
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->text.find("Es wurde nichts geschrieben."), std::string::npos) << failure->text;
    EXPECT_TRUE(fs::is_empty(temp.path()));

    ASSERT_FALSE(WriteAll(output, two, {}, {}));
    EXPECT_EQ(Entries(output), (std::vector<std::string>{"B001.BMP", "B002.BMP"}));
    EXPECT_EQ(Entries(temp.path() / "neu"), std::vector<std::string>{"ziel"});
    fs::create_directory(temp.path() / "vergleich");
    EXPECT_EQ(fs::status(output).permissions(), fs::status(temp.path() / "vergleich").permissions()); // not 0700
}


struct Killed {};

// Counts every change on disk; at the chosen one it fails, or stops the work
// there as a kill would. A folder it is told of cannot be listed.
class FaultyOps : public frames::FramesFolderOps {
public:
    int at = 0; // 1: the first change; 0: none
    bool kill = false;
    int changes = 0;
    fs::path unlistable;

    std::error_code createFolder(const fs::path& folder) override
    {
        return step() ? permissionDenied() : FramesFolderOps::createFolder(folder);
    }
    std::error_code remove(const fs::path& file) override
    {
        return step() ? permissionDenied() : FramesFolderOps::remove(file);
    }
    std::error_code rename(const fs::path& from, const fs::path& to) override
    {
        return step() ? permissionDenied() : FramesFolderOps::rename(from, to);
    }
    std::optional<IoError> writeFile(const fs::path& file, std::span<const std::uint8_t> bytes) override
    {
        return step() ? std::optional<IoError>(IoError{file, "Keine Berechtigung"})
                      : FramesFolderOps::writeFile(file, bytes);
    }
    std::error_code list(const fs::path& folder, std::vector<fs::path>& entries) override
    {
        return folder == unlistable ? permissionDenied() : FramesFolderOps::list(folder, entries);
    }

private:
    static std::error_code permissionDenied() { return std::make_error_code(std::errc::permission_denied); }
    bool step()
    {
        if (++changes != at) {
            return false;
        }
        if (kill) {
            throw Killed{};
        }
        return true;
    }
};

// Every file and folder under `folder`, hidden ones too, with its bytes.
std::map<std::string, Bytes> Snapshot(const fs::path& folder)
{
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[fs::relative(entry.path(), folder).string()] =
            entry.is_directory() ? Bytes{'/'} : test::ReadFile(entry.path());
    }
    return files;
}

TEST_F(OldFrames, StayWithTheirSheetWhenNewFramesCannotBeWritten)
{
    const fs::path sheet = temp.path() / "bogen.png";
    test::WriteFile(sheet, {'a', 'l', 't'});
    const auto before = Snapshot(temp.path());
    FaultyOps ops;
    ops.at = 2; // the first new frame; the sheet comes after the frames
    job.replace = true;
    job.preview = sheet;
    job.folderOps = &ops;
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_TRUE(outcome.failure);
    EXPECT_NE(outcome.failure->text.find("die alten Bilder und die alte Vorschau sind unverändert"), std::string::npos)
        << outcome.failure->text;
    // Frames are written on a thread of their own; the failure still names the one that failed.
    EXPECT_NE(outcome.failure->text.find("B001.BMP“ lässt sich nicht schreiben: Keine Berechtigung"), std::string::npos)
        << outcome.failure->text;
    EXPECT_EQ(Snapshot(temp.path()), before);
}

TEST_F(OldFrames, InAFolderThatCannotBeListedAreNeverTakenForNone)
{
    FaultyOps ops;
    ops.unlistable = output;
    job.folderOps = &ops;
    const auto before = Snapshot(temp.path());
    for (const bool replace : {false, true}) {
        job.replace = replace;
        const Outcome outcome = MakeFrames(job, {});
        ASSERT_TRUE(outcome.failure);
        EXPECT_NE(outcome.failure->text.find("„" + output.string() + "“ lässt sich nicht lesen: keine Berechtigung"),
                  std::string::npos)
            << outcome.failure->text;
        EXPECT_EQ(Snapshot(temp.path()), before);
    }
}

// Failed or killed at any change on disk, the old frames and sheet stay (or,
// after a kill, come back on the next run), or the new ones are whole; no
// hidden leftover stays beside them.
TEST_F(OldFrames, AndTheirSheetSurviveAFailureOrAKillAtAnyStep)
{
    const fs::path sheet = temp.path() / "bogen.png";
    test::WriteFile(sheet, {'a', 'l', 't'});
    fs::remove_all(temp.path() / "bilder");
    const auto before = Snapshot(temp.path());
    std::vector<FramePixels> frames(2);
    frames[1][0] = true;
    const Bytes sheetBytes{'n', 'e', 'u'};
    ASSERT_FALSE(WriteAll(output, frames, sheet, sheetBytes));
    const auto after = Snapshot(temp.path());
    EXPECT_EQ(Entries(this->output), (std::vector<std::string>{"B001.BMP", "B002.BMP", "FILM0.VID"}));

    int recordedKills = 0;
    for (const bool kill : {false, true}) {
        for (int at = 1;; ++at) {
            fs::remove_all(temp.path());
            fs::create_directory(temp.path());
            for (const auto& [name, bytes] : before) {
                bytes == Bytes{'/'} ? (void)fs::create_directories(temp.path() / name)
                                    : test::WriteFile(temp.path() / name, bytes);
            }
            FaultyOps ops;
            ops.at = at;
            ops.kill = kill;
            std::optional<Message> failure;
            try {
                failure = WriteAll(output, frames, sheet, sheetBytes, ops);
            } catch (const Killed&) {
                // The main window sees the record: not now changes nothing, the default puts the old set back.
                const auto killed = Snapshot(temp.path());
                const bool recorded = fs::exists(this->output / frames::kSwapRecordName);
                recordedKills += recorded;
                test::FakeHost window;
                window.choice = 1;
                EXPECT_EQ(frames::SettleInterruptedSwap(this->output, window), recorded) << "killed at change " << at;
                EXPECT_EQ(Snapshot(temp.path()), killed);
                window.choice = 0;
                if (frames::SettleInterruptedSwap(this->output, window)) {
                    ASSERT_EQ(window.messages.size(), 3u);
                    EXPECT_EQ(window.messages[2].title, "Wiederhergestellt") << window.messages[2].text;
                    EXPECT_EQ(Snapshot(temp.path()), before) << "killed at change " << at;
                }
                const frames::Recovered recovered =
                    frames::RecoverOutput(this->output, sheet, frames::DefaultFramesFolderOps());
                ASSERT_FALSE(recovered.failure) << recovered.failure->text;
                const auto now = Snapshot(temp.path());
                EXPECT_TRUE(now == before || now == after) << "killed at change " << at;
                continue;
            }
            if (failure) {
                EXPECT_NE(failure->text.find("unverändert"), std::string::npos) << failure->text;
                EXPECT_EQ(Snapshot(temp.path()), before) << "failed at change " << at;
            } else {
                // Cleaning up failed, or nothing failed at all: the next run removes what is left.
                EXPECT_FALSE(frames::RecoverOutput(this->output, sheet, frames::DefaultFramesFolderOps()).failure);
                EXPECT_EQ(Snapshot(temp.path()), after) << "failed at change " << at;
            }
            if (ops.changes < at) {
                break;
            }
        }
    }
    EXPECT_GT(recordedKills, 0);
}

} // namespace
} // namespace velvix
