// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

namespace velvix {
namespace {

namespace fs = std::filesystem;
using test::ConverterFixture;

const Message kFolderMissing{"Laufzeitfehler", "Keine BMP Files gefunden!", Message::Icon::Warning,
                             Message::Buttons::Ok};
const Message kNaming{"Laufzeitfehler",
                      "Keine BMP Files gefunden oder falscher Name.\r\nRichtige Namensbezeichnung (B001,B002...) !",
                      Message::Icon::Warning, Message::Buttons::Ok};
const Message kSize{"Laufzeitfehler", "Falsches BMP Format, Bilder zu groß !", Message::Icon::Warning,
                    Message::Buttons::Ok};
const Message kTooMany{"Laufzeitfehler", "Zu viele Bilder im Ordner !\r\nEs können nur max. 299 verarbeitet werden.",
                       Message::Icon::Warning, Message::Buttons::Ok};

class Refusal : public ::testing::Test, public ConverterFixture {
protected:
    // The run shows exactly this box, changes nothing on disk and keeps the name.
    void expectRefused(const Message& box, const std::string& name = "Film")
    {
        const auto before = snapshot();
        start(name);
        EXPECT_EQ(host.messages, std::vector<Message>{box});
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(host.name, name);
        EXPECT_TRUE(host.namesSet.empty());
    }
};

TEST_F(Refusal, EmptyNameFocusesTheNameField)
{
    test::WriteNumberedFrames(folder.path(), 2);
    expectRefused({"Fehler", "Filename Eingeben !", Message::Icon::Warning, Message::Buttons::Ok}, "");
    EXPECT_EQ(host.focusRequests, 1);
}

TEST_F(Refusal, NameThatCouldLeaveTheFolderIsRefusedBeforeAnythingIsRead)
{
    for (const char* name : {"/x", "a/../x", "a\\b", "Film:2", "a|b", "x\ty", "\"q\"", "<>", "Wh?", "St*r"}) {
        SCOPED_TRACE(name);
        converter.setFrameFolder(folder.path() / "not-there"); // would give another box if it were looked at
        expectRefused({"Fehler", "Filename enthält ungültige Zeichen !", Message::Icon::Warning, Message::Buttons::Ok},
                      name);
        EXPECT_EQ(host.focusRequests, 1);
    }
}

TEST_F(Refusal, MissingFolder)
{
    converter.setFrameFolder(folder.path() / "gone");
    expectRefused(kFolderMissing);
}

TEST_F(Refusal, NoFirstFrame)
{
    test::WriteFile(folder.path() / "B002.bmp", test::NumberedFrame(2));
    test::WriteFile(folder.path() / "Bild001.bmp", test::NumberedFrame(1));
    expectRefused(kNaming);
}

TEST_F(Refusal, FirstFrameOfTheWrongLengthOrEmpty)
{
    for (std::size_t size : {702u, 705u, 1u, 0u}) {
        SCOPED_TRACE(size);
        Bytes frame = test::NumberedFrame(1);
        frame.resize(size);
        test::WriteFile(folder.path() / "B001.bmp", frame);
        expectRefused(kSize);
    }
}

TEST_F(Refusal, FirstFrameThatIsNoFileNamesItAndWhy)
{
    const fs::path first = folder.path() / "B001.bmp";
    struct Case {
        std::function<void()> make;
        std::string reason;
    };
    for (const Case& c : {Case{[&] { fs::create_directory(first); }, "An dieser Stelle steht ein Ordner"},
                          Case{[&] { ASSERT_EQ(mkfifo(first.c_str(), 0600), 0); }, "Das ist keine gewöhnliche Datei"},
                          Case{[&] { fs::create_symlink(folder.path() / "gone", first); },
                               "Die Datei oder der Ordner existiert nicht"}}) {
        SCOPED_TRACE(c.reason);
        fs::remove(first);
        c.make();
        const auto before = snapshot();
        start();
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].title, "Laufzeitfehler");
        EXPECT_NE(host.messages[0].text.find("B001.bmp\r\nGrund: " + c.reason), std::string::npos)
            << host.messages[0].text;
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(Refusal, ThreeHundredFramesAndTheSizeCheckComesFirst)
{
    test::WriteNumberedFrames(folder.path(), 300);
    expectRefused(kTooMany);

    test::WriteFile(folder.path() / "B001.bmp", Bytes(702, 'B'));
    expectRefused(kSize);
}

TEST_F(Refusal, FramesDifferingOnlyInLetterCaseAreNotGuessedBetween)
{
    test::WriteNumberedFrames(folder.path(), 3);
    test::WriteFile(folder.path() / "b002.BMP", test::NumberedFrame(9));
    const auto before = snapshot();
    start();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Laufzeitfehler");
    EXPECT_NE(host.messages[0].text.find("b002.BMP"), std::string::npos);
    EXPECT_NE(host.messages[0].text.find("B002.bmp"), std::string::npos);
    EXPECT_EQ(snapshot(), before);
}

class Discovery : public ::testing::Test, public ConverterFixture {};

TEST_F(Discovery, StopsAtTheFirstGapOrEmptyFile)
{
    test::WriteNumberedFrames(folder.path(), 12);
    fs::remove(folder.path() / "B011.bmp");
    start();
    EXPECT_EQ(converter.settings().frameCount, 10);
    EXPECT_EQ(converter.settings().sourceSeconds, 2); // 10 / 6 = 1.67

    test::WriteFile(folder.path() / "B005.bmp", {});
    start();
    EXPECT_EQ(converter.settings().frameCount, 4);
    EXPECT_EQ(converter.settings().frameTimes, std::vector<std::uint8_t>(4, 23));
    EXPECT_EQ(titles(), std::vector<std::string>{"Fertig"});
}

TEST_F(Discovery, AnyLetterCaseIsFound)
{
    test::WriteFile(folder.path() / "b001.bmp", test::NumberedFrame(1));
    test::WriteFile(folder.path() / "B002.BMP", test::NumberedFrame(2));
    test::WriteFile(folder.path() / "b003.Bmp", test::NumberedFrame(3));
    start();
    EXPECT_EQ(converter.settings().frameCount, 3);
    EXPECT_EQ(titles(), std::vector<std::string>{"Fertig"});
}

TEST_F(Discovery, TwoHundredNinetyNineFramesAreAccepted)
{
    test::WriteNumberedFrames(folder.path(), 299);
    chooseMemory(3, 1);
    start();
    EXPECT_EQ(titles(), (std::vector<std::string>{"Warnung", "Fertig"}));
    EXPECT_EQ(host.messages[0].text, "Es werden nur 120 von 299 BMP Files verarbeitet !");
    EXPECT_EQ(converter.settings().sourceSeconds, 50); // 49.83
}

TEST_F(Discovery, SourceSecondsRoundHalfToEven)
{
    struct Case {
        int frames, rate, seconds;
    };
    for (Case c : {Case{45, 2, 8}, Case{44, 3, 6}, Case{42, 0, 10}, Case{1, 2, 0}, Case{18, 0, 4}}) {
        SCOPED_TRACE(c.frames);
        fs::remove_all(folder.path());
        fs::create_directory(folder.path());
        test::WriteNumberedFrames(folder.path(), c.frames);
        converter.budget().chooseFrameRate(c.rate);
        chooseMemory(2, 0);
        start();
        EXPECT_EQ(converter.settings().sourceSeconds, c.seconds);
    }
}

TEST_F(Discovery, ARunNeverReusesFramesOfAnEarlierFolder)
{
    test::WriteNumberedFrames(folder.path(), 5);
    start();
    test::TempFolder other;
    converter.setFrameFolder(other.path());
    start();
    EXPECT_EQ(host.messages, std::vector<Message>{kNaming});
    EXPECT_EQ(converter.settings().frameCount, 0);
}

} // namespace
} // namespace velvix
