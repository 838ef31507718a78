// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"
#include "frame_discovery.h"

#include <gtest/gtest.h>

#include <set>

namespace velvix {
namespace {

namespace fs = std::filesystem;

// Frames in "<temp>/Film", a file of the user's in "<temp>/elsewhere". After
// every run: no crash, a box, nothing written beside the frame folder but
// its backup, and every frame file as found still present byte for byte.
class HostileFolders : public ::testing::Test, public test::ConverterFixture {
protected:
    fs::path elsewhere;
    std::map<std::string, Bytes> found; // frame files as found, by name
    std::set<std::string> extraFiles;   // the user's own files beside the frame folder

    void SetUp() override
    {
        useSubfolder("Film");
        elsewhere = folder.path() / "elsewhere";
        fs::create_directory(elsewhere);
        test::WriteFile(elsewhere / "keep.bmp", test::NumberedFrame(1000));
        host.ticked[CheckBox::CheckVKomp] = true;
    }

    void writeFrames(int count, const std::string& pattern = "B%03d.bmp")
    {
        for (int n = 1; n <= count; ++n) {
            char name[32];
            std::snprintf(name, sizeof name, pattern.c_str(), n);
            // Pairs of near copies, so compression has work to do.
            const Bytes frame = test::NearCopy(test::NumberedFrame((n + 1) / 2), n);
            test::WriteFile(frames / name, frame);
            found[name] = frame;
        }
    }

    void expectSafe()
    {
        EXPECT_FALSE(host.messages.empty());
        EXPECT_EQ(snapshot(elsewhere), (std::map<std::string, Bytes>{{"keep.bmp", test::NumberedFrame(1000)}}));

        std::vector<std::map<std::string, Bytes>> places{snapshot()};
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(frames.filename().string() + "_org") && entry.is_directory()) {
                places.push_back(snapshot(entry.path()));
            } else {
                EXPECT_TRUE(name == "elsewhere" || entry.path() == frames || extraFiles.count(name))
                    << "written beside the folder: " << name;
            }
        }
        for (const auto& [name, bytes] : found) {
            const bool kept = std::any_of(places.begin(), places.end(), [&](const auto& files) {
                const auto it = files.find(name);
                return it != files.end() && it->second == bytes;
            });
            EXPECT_TRUE(kept) << name << " is lost or changed";
        }
    }

    std::string onlyBoxText() const { return host.messages.size() == 1 ? host.messages[0].text : "(not one box)"; }
};

TEST_F(HostileFolders, AFrameThatIsAFolder)
{
    fs::create_directory(frames / "B001.bmp");
    start();
    EXPECT_NE(onlyBoxText().find("B001.bmp"), std::string::npos);
    expectSafe();

    fs::remove(frames / "B001.bmp");
    writeFrames(4);
    fs::remove(frames / "B003.bmp");
    found.erase("B003.bmp");
    fs::create_directory(frames / "B003.bmp"); // ends the film after frame 2
    start();
    EXPECT_EQ(titles(), std::vector<std::string>{"Fertig"});
    EXPECT_EQ(converter.settings().frameCount, 2);
    expectSafe();
}

TEST_F(HostileFolders, SymbolicLinksToAFrameElsewhereAndDangling)
{
    writeFrames(4);
    fs::remove(frames / "B002.bmp");
    fs::create_symlink(elsewhere / "keep.bmp", frames / "B002.bmp");
    found["B002.bmp"] = test::NumberedFrame(1000);
    fs::create_symlink(elsewhere / "keep.bmp", frames / "FILM0.VID");
    start();
    EXPECT_EQ(titles().back(), "Fertig");
    EXPECT_FALSE(fs::is_symlink(frames / "FILM0.VID"));
    expectSafe(); // the links' target is untouched: the video replaces its link

    fs::remove_all(frames);
    fs::create_directory(frames);
    found.clear();
    fs::create_symlink(elsewhere / "gone.bmp", frames / "B001.bmp");
    start();
    EXPECT_NE(onlyBoxText().find("B001.bmp"), std::string::npos);
    expectSafe();
}

TEST_F(HostileFolders, AFrameThatVanishesBeforeItIsWritten)
{
    writeFrames(30);
    host.onMessage = [&](const Message& m) {
        if (m.title == "Kompression") {
            fs::remove(frames / "B002.bmp");
        }
    };
    start();
    ASSERT_EQ(titles(), (std::vector<std::string>{"Kompression", "Laufzeitfehler"}));
    EXPECT_NE(host.messages[1].text.find("B002.bmp"), std::string::npos);
    EXPECT_FALSE(fs::exists(frames / "FILM0.VID"));
    expectSafe(); // the backup has it
}

TEST_F(HostileFolders, MixedCaseNamesAndCaseTwins)
{
    writeFrames(6, "b%03d.BMP");
    start();
    EXPECT_EQ(titles().back(), "Fertig");
    EXPECT_EQ(snapshot().count("B003.bmp"), 1u);
    EXPECT_EQ(snapshot().count("b003.BMP"), 0u);
    expectSafe();

    test::WriteFile(frames / "b002.bmp", test::NumberedFrame(7));
    found["b002.bmp"] = test::NumberedFrame(7);
    start();
    EXPECT_NE(onlyBoxText().find("b002.bmp"), std::string::npos);
    expectSafe();
}

TEST_F(HostileFolders, BlanksAndUmlautsInTheFolderPath)
{
    extraFiles.insert("Film"); // the fixture's frame folder, left empty
    useSubfolder(reinterpret_cast<const char*>(u8"Mein Fïlm ä"));
    writeFrames(8);
    start("Übung");
    EXPECT_EQ(titles().back(), "Fertig");
    EXPECT_TRUE(fs::exists(frames / fs::path(u8"ÜBUNG0.VID")));
    EXPECT_TRUE(fs::is_directory(folder.path() / fs::path(u8"Mein Fïlm ä_org")));
    expectSafe();
}

TEST_F(HostileFolders, BackupNameTakenByAFile)
{
    test::WriteFile(folder.path() / "Film_org", {'u', 's', 'e', 'r'});
    writeFrames(6);
    start();
    EXPECT_EQ(titles().back(), "Fertig");
    EXPECT_EQ(test::ReadFile(folder.path() / "Film_org"), (Bytes{'u', 's', 'e', 'r'}));
    EXPECT_EQ(snapshot(folder.path() / "Film_org2").size(), 6u);
    extraFiles.insert("Film_org");
    expectSafe();
}

TEST_F(HostileFolders, OutputNameTakenByAFolderAfterCompression)
{
    writeFrames(10);
    fs::create_directory(frames / "FILM0.VID");
    start();
    ASSERT_EQ(titles(), (std::vector<std::string>{"Kompression", "Laufzeitfehler"}));
    EXPECT_NE(host.messages[1].text.find("FILM0.VID"), std::string::npos);
    expectSafe();
}

TEST_F(HostileFolders, TwoHundredNinetyNineFramesTheLastBad)
{
    host.ticked[CheckBox::CheckVKomp] = false;
    chooseMemory(3, 1);
    writeFrames(299);
    Bytes bad = found["B299.bmp"];
    bad[28] = 8;
    test::WriteFile(frames / "B299.bmp", bad);
    found["B299.bmp"] = bad;
    start(); // only the first 120 frames are written
    EXPECT_EQ(titles(), (std::vector<std::string>{"Warnung", "Fertig"}));
    expectSafe();

    host.ticked[CheckBox::CheckVKomp] = true; // compression reads all 299; the bad one is kept as the last
    start();
    EXPECT_EQ(titles(), (std::vector<std::string>{"Kompression", "Warnung", "Fertig"}));
    expectSafe();
}

} // namespace
} // namespace velvix
