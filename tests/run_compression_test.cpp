// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"
#include "frame_discovery.h"
#include "messages.h"
#include "run_record.h"

#include <gtest/gtest.h>

#include <functional>

namespace velvix {
namespace {

namespace fs = std::filesystem;

class Compression : public ::testing::Test, public test::ConverterFixture {
protected:
    std::vector<Bytes> original;

    void SetUp() override
    {
        useSubfolder("Film");
        host.ticked[CheckBox::CheckVKomp] = true;
    }

    // Frames 1 to count: runs of near copies, starting afresh at each number in `starts`.
    void writeRuns(int count, std::vector<int> starts = {1})
    {
        Bytes current;
        for (int n = 1; n <= count; ++n) {
            if (std::find(starts.begin(), starts.end(), n) != starts.end()) {
                current = test::NumberedFrame(n);
            }
            original.push_back(test::NearCopy(current, n));
        }
        test::WriteFrames(frames, original);
    }

    // Besides the video, the frame folder holds exactly these old frames, renumbered from B001.bmp.
    void expectFolderFrames(const std::vector<int>& oldNumbers)
    {
        std::map<std::string, Bytes> expected;
        for (std::size_t i = 0; i < oldNumbers.size(); ++i) {
            expected[FrameFileName(static_cast<int>(i) + 1)] = original[static_cast<std::size_t>(oldNumbers[i] - 1)];
        }
        auto actual = snapshot();
        std::erase_if(actual, [](const auto& file) { return file.first.ends_with(".VID"); });
        EXPECT_EQ(actual, expected);
    }

    std::map<std::string, Bytes> originalsAsFound() const
    {
        std::map<std::string, Bytes> files;
        for (std::size_t i = 0; i < original.size(); ++i) {
            files[FrameFileName(static_cast<int>(i) + 1)] = original[i];
        }
        return files;
    }

    std::vector<std::uint8_t> recordTimes(const Bytes& part0)
    {
        std::vector<std::uint8_t> times;
        for (std::size_t k = (part0.size() - 20) / 625; k-- > 0;) {
            times.push_back(part0[17 + 625 * k + 624]); // frame 1 is the last record
        }
        return times;
    }
};

TEST_F(Compression, ThirtyNearCopiesKeepFourFramesAndTheBackupKeepsAll)
{
    host.decimalSeparator = ',';
    writeRuns(30);
    start();

    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0],
              (Message{"Kompression", "26 Identische Bilder gelöscht !\r\nReduzierter Speicherverbrauch : 17,25KB",
                       Message::Icon::Information, Message::Buttons::OkCancel}));
    EXPECT_EQ(host.messages[1].title, "Fertig");
    expectFolderFrames({1, 12, 23, 30});
    EXPECT_EQ(snapshot(folder.path() / "Film_org"), originalsAsFound());
    EXPECT_EQ(recordTimes(output("FILM0.VID")), (std::vector<std::uint8_t>{253, 253, 161, 23}));
    EXPECT_EQ(host.textVidSekReal, std::vector<std::string>{"5"});
}

TEST_F(Compression, TenNearCopiesAtFourPerSecond)
{
    converter.budget().chooseFrameRate(0);
    writeRuns(10);
    start();
    EXPECT_EQ(host.messages[0].text, "7 Identische Bilder gelöscht !\r\nReduzierter Speicherverbrauch : 5.375KB");
    expectFolderFrames({1, 8, 10});
    EXPECT_EQ(recordTimes(output("FILM0.VID")), (std::vector<std::uint8_t>{231, 66, 33}));
}

TEST_F(Compression, NothingToRemoveChangesNothingAndSaysNothing)
{
    for (int count : {1, 2}) {
        original.clear();
        writeRuns(count);
        start();
        EXPECT_EQ(titles(), std::vector<std::string>{"Fertig"});
    }
    original.clear();
    writeRuns(12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    fs::remove(frames / "FILM0.VID");
    const auto before = snapshot();
    start();
    EXPECT_EQ(titles(), std::vector<std::string>{"Fertig"});
    auto after = snapshot();
    after.erase("FILM0.VID");
    EXPECT_EQ(after, before);
    EXPECT_FALSE(fs::exists(folder.path() / "Film_org"));

    test::WriteNumberedFrames(frames, 19); // more than fit, still nothing to remove: the plain cut's warning
    start();
    EXPECT_EQ(titles(), (std::vector<std::string>{"Warnung", "Fertig"}));
    EXPECT_EQ(host.messages[0].text, "Es werden nur 18 von 19 BMP Files verarbeitet !");
}

TEST_F(Compression, ASecondCompressionBacksUpIntoAFreshFolder)
{
    writeRuns(30);
    start();
    const auto firstBackup = snapshot(folder.path() / "Film_org");
    const auto fourFrames = snapshot();

    converter.chooseStrength(4);
    original = {original[0], original[11], original[22], original[29]};
    start();
    EXPECT_EQ(host.messages[0].text.substr(0, 2), "2 ");
    expectFolderFrames({1, 4});
    EXPECT_EQ(snapshot(folder.path() / "Film_org"), firstBackup);
    auto secondBackup = snapshot(folder.path() / "Film_org2");
    EXPECT_EQ(secondBackup.size(), 4u);
    EXPECT_EQ(secondBackup["B004.bmp"], fourFrames.at("B004.bmp"));
}

TEST_F(Compression, TrailingSeparatorAndAnyLetterCaseOfFrameNames)
{
    writeRuns(6);
    for (int n = 1; n <= 6; ++n) {
        fs::rename(frames / FrameFileName(n), frames / ("b00" + std::to_string(n) + ".BMP"));
    }
    converter.setFrameFolder(frames.string() + "/");
    start();
    expectFolderFrames({1, 6});
    const auto backup = snapshot(folder.path() / "Film_org");
    EXPECT_EQ(backup.size(), 6u);
    EXPECT_EQ(backup.at("b003.BMP"), original[2]);
}

TEST_F(Compression, CompressedCutCountsTheMergedTimes)
{
    // Frames 1 to 22 near copies, 23 to 150 all different: 20 removed, 130 left.
    std::vector<int> starts{1};
    for (int n = 23; n <= 150; ++n) {
        starts.push_back(n);
    }
    writeRuns(150, starts);
    chooseMemory(3, 1);
    std::vector<std::string> shownDuringWarning;
    host.onMessage = [&](const Message& m) {
        if (m.title == "Warnung") {
            shownDuringWarning = host.textVidSekReal;
        }
    };
    start();
    EXPECT_EQ(shownDuringWarning, std::vector<std::string>{"23"}); // the play time stands before the warning
    ASSERT_EQ(titles(), (std::vector<std::string>{"Kompression", "Warnung", "Fertig"}));
    EXPECT_EQ(host.messages[1].text, "Es werden nur 120 von neu kompremierten 130 BMP Files verarbeitet !");
    EXPECT_EQ(host.textVidSekReal, std::vector<std::string>{"23"});
    EXPECT_EQ(output("FILM3.VID").size(), 16u + 625 * 25 + 2);
    EXPECT_EQ(output("FILM3.VID")[17 + 624], 23); // frame 120 is the old frame 140
}

// Folder operations that fail once on a file of the given name, or at the
// given copy after writing part of its file, as a full disk would.
class FailingOps : public FolderOps {
public:
    std::string removeFails, renameFails;
    int copies = 0;
    int copyFailsAt = 0;
    std::errc copyError{};

    std::error_code copy(const fs::path& from, const fs::path& to) override
    {
        if (++copies == copyFailsAt) {
            test::WriteFile(to, {'B', 'M'});
            return std::make_error_code(copyError);
        }
        return FolderOps::copy(from, to);
    }

    std::error_code remove(const fs::path& file) override
    {
        return file.filename() == removeFails ? std::make_error_code(std::errc::permission_denied)
                                              : FolderOps::remove(file);
    }
    std::error_code rename(const fs::path& from, const fs::path& to) override
    {
        return from.filename() == renameFails ? std::make_error_code(std::errc::permission_denied)
                                              : FolderOps::rename(from, to);
    }
};

class CompressionFailure : public Compression {
protected:
    FailingOps ops;
    Converter failing{host, ops};

    void SetUp() override
    {
        Compression::SetUp();
        failing.budget().chooseFrameRate(2);
        failing.budget().chooseSlot1(0);
        failing.budget().chooseSlot2(0);
        failing.setFrameFolder(frames);
        failing.chooseStrength(2);
        writeRuns(30);
    }

    // One box that names the file; every frame as found is in the folder or the backup.
    void expectFailedSafely(const std::string& file, const fs::path& framesAt)
    {
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].title, "Laufzeitfehler");
        EXPECT_NE(host.messages[0].text.find(file), std::string::npos) << host.messages[0].text;
        EXPECT_NE(host.messages[0].text.find(framesAt.string()), std::string::npos) << host.messages[0].text;
        EXPECT_EQ(host.name, "Film");
        auto kept = snapshot(framesAt);
        std::erase_if(kept, [](const auto& f) { return f.first.find('_') != std::string::npos; });
        EXPECT_EQ(kept, originalsAsFound());
        EXPECT_FALSE(fs::exists(frames / "FILM0.VID"));
    }

    void run()
    {
        host.name = "Film";
        host.clearRecords();
        failing.start();
    }
};

TEST_F(CompressionFailure, TransitNameTakenByAFolderOrALinkIsLeftAsFound)
{
    const fs::path taken = frames / "B001_.bmp";
    const fs::path elsewhere = folder.path() / "elsewhere.bmp";
    test::WriteFile(elsewhere, {'u', 's', 'e', 'r'});
    struct Case {
        std::function<void()> take;
        std::string reason;
    };
    for (const Case& c : {Case{[&] { fs::create_directory(taken); }, "An dieser Stelle steht ein Ordner"},
                          Case{[&] { fs::create_symlink(elsewhere, taken); }, "existiert schon"},
                          Case{[&] { fs::create_symlink(folder.path() / "none", taken); }, "existiert schon"}}) {
        c.take();
        run();
        expectFailedSafely("B001_.bmp", frames);
        EXPECT_NE(host.messages[0].text.find(c.reason), std::string::npos) << host.messages[0].text;
        EXPECT_TRUE(fs::exists(fs::symlink_status(taken)));
        EXPECT_EQ(test::ReadFile(elsewhere), (Bytes{'u', 's', 'e', 'r'}));
        EXPECT_FALSE(fs::exists(folder.path() / "none")); // nothing written through the link
        EXPECT_FALSE(fs::exists(folder.path() / "Film_org"));
        fs::remove_all(taken);
    }
}

TEST_F(CompressionFailure, AFailedCopyLeavesTheFolderAsFoundAndNoBackup)
{
    struct Case {
        int copy; // 30 backup copies come first, then one transit copy per kept frame
        std::errc error;
        std::string file, reason;
    };
    for (const Case& c :
         {Case{5, std::errc::no_space_on_device, "B005.bmp", "Der Datenträger ist voll"},
          Case{31, std::errc::read_only_file_system, "B001_.bmp", "Das Dateisystem ist schreibgeschützt"},
          Case{33, std::errc::file_too_large, "B003_.bmp", "Die Datei ist zu groß"}}) {
        SCOPED_TRACE(c.copy);
        ops.copies = 0;
        ops.copyFailsAt = c.copy;
        ops.copyError = c.error;
        run();
        expectFailedSafely(c.file, frames);
        EXPECT_NE(host.messages[0].text.find("Grund: " + c.reason), std::string::npos) << host.messages[0].text;
        EXPECT_EQ(snapshot(), originalsAsFound());
        EXPECT_FALSE(fs::exists(folder.path() / "Film_org"));
    }
}

TEST_F(CompressionFailure, AFrameThatCannotBeDeleted)
{
    ops.removeFails = "B005.bmp";
    run();
    expectFailedSafely("B005.bmp", folder.path() / "Film_org");
    EXPECT_NE(host.messages[0].text.find("Grund: Keine Berechtigung"), std::string::npos);
}

TEST_F(CompressionFailure, AFrameThatCannotBeRenamed)
{
    ops.renameFails = "B003_.bmp";
    run();
    expectFailedSafely("B003_.bmp", folder.path() / "Film_org");
    EXPECT_EQ(test::ReadFile(frames / "B001.bmp"), original[0]); // renamed before the failure
}

TEST_F(CompressionFailure, ALeftoverTransitFileWithoutABackupStopsTheRun)
{
    test::WriteFile(frames / "B002_.bmp", test::NumberedFrame(500));
    const auto before = snapshot();
    start(); // the box's default: restore, which needs a backup
    EXPECT_EQ(titles(), (std::vector<std::string>{"Unterbrochener Lauf", "Laufzeitfehler"}));
    EXPECT_EQ(snapshot(), before);

    fs::remove(frames / "B002_.bmp");
    start();
    expectFolderFrames({1, 12, 23, 30});
}

// Stands for a kill: the run stops for good after the given step.
struct Killed {};

class KillingOps : public FolderOps {
public:
    enum class Step { Record, Copy, Remove, Rename };
    Step at = Step::Record;
    int count = 0;
    bool midCopy = false; // the copy is cut off, its file left empty

    std::error_code copy(const fs::path& from, const fs::path& to) override
    {
        if (midCopy && at == Step::Copy && seen + 1 == count) {
            test::WriteFile(to, {});
            throw Killed{};
        }
        return after(Step::Copy, FolderOps::copy(from, to));
    }
    std::error_code remove(const fs::path& file) override { return after(Step::Remove, FolderOps::remove(file)); }
    std::error_code rename(const fs::path& from, const fs::path& to) override
    {
        return after(Step::Rename, FolderOps::rename(from, to));
    }
    std::optional<IoError> writeFile(const fs::path& file, std::span<const std::uint8_t> bytes) override
    {
        auto error = FolderOps::writeFile(file, bytes);
        after(Step::Record, {});
        return error;
    }

private:
    std::error_code after(Step step, std::error_code result)
    {
        if (step == at && ++seen == count) {
            throw Killed{};
        }
        return result;
    }
    int seen = 0;
};

TEST_F(Compression, KilledAtAnyStepTheFolderIsRestoredOrTheRunFinished)
{
    using Step = KillingOps::Step;
    struct Case {
        Step at;
        int count;
        bool midCopy;
        bool recordLost; // as an older Velvix leaves the folder
        std::string shown;
        std::string backupAfterRestore;
    };
    // 30 frames, 4 kept: 30 backup copies, then 4 transit copies; a record before each step and the video.
    const Case cases[] = {
        {Step::Record, 1, false, false, "beim Sichern", ""},
        {Step::Copy, 10, true, false, "beim Sichern", "Film_org_unvollständig"},
        {Step::Copy, 30, false, false, "beim Sichern", "Film_org"},
        {Step::Copy, 32, true, false, "beim Kopieren", "Film_org"},
        {Step::Remove, 5, false, false, "beim Löschen", "Film_org"},
        {Step::Remove, 30, false, false, "beim Löschen", "Film_org"},
        {Step::Rename, 2, false, false, "beim Umbenennen", "Film_org"},
        {Step::Record, 5, false, false, "Video FILM ist nicht fertig", "Film_org"},
        {Step::Copy, 10, true, true, "unvollständige Sicherung", "Film_org_unvollständig"},
        {Step::Rename, 2, false, true, "2 Zwischendateien", "Film_org"},
    };
    const std::map<CheckBox, bool> allTicked{
        {CheckBox::CheckVKomp, true}, {CheckBox::CheckvPlay, true}, {CheckBox::CheckStartBas, true}};
    host.ticked = allTicked;
    writeRuns(30);
    start();
    const auto whole = snapshot();
    const fs::path wholeRun = frames;

    int trial = 0;
    for (const Case& c : cases) {
        for (const char* choice : {messages::kLater, messages::kRestore, messages::kFinish}) {
            if (c.recordLost && choice == messages::kFinish) {
                continue;
            }
            SCOPED_TRACE(testing::Message() << c.shown << " " << c.count << ", " << choice);
            useSubfolder("Film" + std::to_string(++trial));
            test::WriteFrames(frames, original);
            KillingOps ops;
            ops.at = c.at;
            ops.count = c.count;
            ops.midCopy = c.midCopy;
            Converter killed{host, ops};
            killed.budget().chooseFrameRate(2);
            killed.budget().chooseSlot1(0);
            killed.setFrameFolder(frames);
            host.name = "Film";
            host.ticked = allTicked;
            EXPECT_THROW(killed.start(), Killed);
            if (c.recordLost) {
                fs::remove(frames / kRunRecordName);
            }

            // Started again with other choices in the window: the record's are taken.
            host.clearRecords();
            host.ticked.clear();
            converter.budget().chooseFrameRate(0);
            const auto left = snapshot();
            const fs::path backup = frames.string() + "_org";
            host.choice = choice == messages::kLater ? 2 - c.recordLost : choice == messages::kRestore ? 0 : 1;
            start();
            ASSERT_FALSE(host.messages.empty());
            EXPECT_EQ(host.messages[0].title, "Unterbrochener Lauf");
            EXPECT_NE(host.messages[0].text.find(c.shown), std::string::npos) << host.messages[0].text;
            EXPECT_EQ(host.messages[0].choices.size(), c.recordLost ? 2u : 3u);
            converter.budget().chooseFrameRate(2);

            if (choice == messages::kLater) {
                EXPECT_EQ(host.messages.size(), 1u);
                EXPECT_EQ(snapshot(), left);
                continue;
            }
            if (choice == messages::kRestore) {
                EXPECT_EQ(titles(), (std::vector<std::string>{"Unterbrochener Lauf", "Wiederhergestellt"}));
                EXPECT_EQ(snapshot(), originalsAsFound());
                if (!c.backupAfterRestore.empty()) {
                    const std::string named = frames.string() + c.backupAfterRestore.substr(4);
                    EXPECT_NE(host.messages[1].text.find(named), std::string::npos) << host.messages[1].text;
                    EXPECT_TRUE(fs::is_directory(fs::path(std::u8string(named.begin(), named.end()))));
                }
            } else {
                EXPECT_EQ(titles().back(), "Fertig");
                EXPECT_EQ(snapshot(), whole);
                EXPECT_EQ(snapshot(backup), originalsAsFound());
            }
            host.clearRecords();
            EXPECT_FALSE(converter.settleInterruptedRun());
            EXPECT_TRUE(host.messages.empty());
        }
    }
}

TEST(RunRecord, ReadsBackWhatItWroteAndRefusesWhatLeadsElsewhere)
{
    RunRecord record;
    record.step = RewriteStep::Rename;
    record.backupName = "Mein Film: 2_org";
    record.foundNames = {"b001.BMP", "B002.bmp", "B003.bmp"};
    record.keptNumbers = {1, 3};
    record.settings = {"KÄTZ 1", {}, {46, 23}, 2, 1, 6, 23, 18, true, false};
    EXPECT_EQ(ParseRunRecord(FormatRunRecord(record)), record);
    RunRecord compact = record; // a compact run is finished compactly; a plain record has no such line
    compact.settings.compact = true;
    EXPECT_EQ(ParseRunRecord(FormatRunRecord(compact)), compact);
    EXPECT_EQ(FormatRunRecord(record).find("Kompakt"), std::string::npos);

    for (const auto& [field, value] :
         std::vector<std::pair<std::string, std::string>>{{"Sicherung", "../elsewhere"},
                                                          {"Sicherung", ""},
                                                          {"Bilder", "B001.bmp ../B002.bmp B003.bmp"},
                                                          {"Bilder", "B001.bmp B003.bmp B002.bmp"},
                                                          {"Behalten", "3 1"},
                                                          {"Behalten", "1 4"},
                                                          {"Zeiten", "46"},
                                                          {"Zeiten", "46 256"},
                                                          {"Name", "A/B"},
                                                          {"Loader", "0\nKompakt: 2"},
                                                          {"Schritt", "Fertig"}}) {
        std::string text = FormatRunRecord(record);
        const std::size_t at = text.find("\n" + field + ": ") + field.size() + 3;
        text.replace(at, text.find('\n', at) - at, value);
        EXPECT_EQ(ParseRunRecord(text), std::nullopt) << field << ": " << value;
    }
    EXPECT_EQ(ParseRunRecord(FormatRunRecord(record).substr(0, 200)), std::nullopt);
}

} // namespace
} // namespace velvix
