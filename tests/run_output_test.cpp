// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

namespace fs = std::filesystem;

class Run : public ::testing::Test, public test::ConverterFixture {};

const Message kSingular{"Fertig", "Das Videofile wurde erfolgreich erstellt", Message::Icon::Information,
                        Message::Buttons::OkCancel};
const Message kPlural{"Fertig", "Die Videofiles wurde erfolgreich erstellt", Message::Icon::Information,
                      Message::Buttons::OkCancel};

TEST_F(Run, OneFrameGivesOnePartTheNoticeAndClearsTheName)
{
    Bytes frame = test::BlankFrame();
    test::SetPixel(frame, 0, 0);
    test::WriteFile(folder.path() / "B001.BMP", frame);
    start();

    EXPECT_EQ(host.messages, std::vector<Message>{kSingular});
    EXPECT_EQ(host.name, "");
    EXPECT_EQ(host.textVidSekReal, (std::vector<std::string>{"0", "0"})); // early display, then final
    const Bytes file = output("FILM0.VID");
    ASSERT_EQ(file.size(), 645u);
    EXPECT_EQ(test::Hex(Bytes(file.begin(), file.begin() + 18)),
              "FF 10 00 00 10 75 02 00 3C EC 00 FF FF 00 00 0F 00 01");
    EXPECT_EQ(test::Hex(Bytes(file.end() - 4, file.end())), "17 01 00 06");
}

TEST_F(Run, MoreFramesThanFitAreCutWithAWarning)
{
    test::WriteNumberedFrames(folder.path(), 19);
    start();
    EXPECT_EQ(host.messages, (std::vector<Message>{{"Warnung", "Es werden nur 18 von 19 BMP Files verarbeitet !",
                                                    Message::Icon::Warning, Message::Buttons::Ok},
                                                   kSingular}));
    EXPECT_EQ(host.textVidSekReal, std::vector<std::string>{"3"}); // no early display: the frames do not fit
    const Bytes file = output("FILM0.VID");
    EXPECT_EQ(file.size(), 16u + 625 * 18 + 4);
    EXPECT_EQ(test::Hex(Bytes(file.end() - 3, file.end())), "12 03 06");
}

TEST_F(Run, TwoToFourPartsGiveThePluralNotice)
{
    test::WriteNumberedFrames(folder.path(), 100);
    chooseMemory(3, 1);
    converter.budget().chooseFrameRate(0);
    start();
    EXPECT_EQ(host.messages, std::vector<Message>{kPlural});
    EXPECT_EQ(converter.lastPart(), 3);
    EXPECT_EQ(host.textVidSekReal, (std::vector<std::string>{"25", "25"}));
    const Bytes part0 = output("FILM0.VID");
    EXPECT_EQ(test::Hex(Bytes(part0.end() - 3, part0.end())), "64 19 04");
    // Display times follow the chosen rate.
    EXPECT_EQ(part0[16 + 625], 33);
}

TEST_F(Run, FramesEqualToTheCapacityAreNotCut)
{
    test::WriteNumberedFrames(folder.path(), 18);
    converter.budget().chooseFrameRate(0);
    start();
    EXPECT_EQ(host.messages, std::vector<Message>{kSingular});
    EXPECT_EQ(host.textVidSekReal, std::vector<std::string>{"4"}); // 4.5 to the even neighbour
}

TEST_F(Run, EveryPressWorksAlike)
{
    test::WriteNumberedFrames(folder.path(), 2);
    for (int press = 1; press <= 30; ++press) {
        start("run" + std::to_string(press));
        ASSERT_EQ(host.messages, std::vector<Message>{kSingular}) << "press " << press;
    }
    EXPECT_TRUE(fs::exists(folder.path() / "RUN300.VID"));
}

TEST_F(Run, NamesBecomeFileNamesCharacterForCharacter)
{
    test::WriteNumberedFrames(folder.path(), 1);
    start("Überlänge");
    EXPECT_TRUE(fs::exists(folder.path() / fs::path(u8"ÜBERLäN0.VID")));

    start(".x"); // nothing left of the name but the part digit
    EXPECT_EQ(host.messages, std::vector<Message>{kSingular});
    EXPECT_TRUE(fs::exists(folder.path() / "0.VID"));

    start("ab cd");
    EXPECT_TRUE(fs::exists(folder.path() / "AB CD0.VID"));
}

TEST_F(Run, ARejectedFrameEndsTheRunWithoutTouchingAnyFile)
{
    test::WriteNumberedFrames(folder.path(), 60);
    chooseMemory(3, 0);
    start();
    const auto before = snapshot();

    Bytes bad = test::NumberedFrame(50);
    bad[22] = 0xE0; // top-down
    test::WriteFile(folder.path() / "B050.bmp", bad);
    const auto withBadFrame = snapshot();
    start();
    EXPECT_EQ(host.messages, (std::vector<Message>{{"Laufzeitfehler", "Falsches BMP Format!", Message::Icon::Warning,
                                                    Message::Buttons::Ok}}));
    EXPECT_EQ(host.name, "Film");
    EXPECT_EQ(snapshot(), withBadFrame);
    EXPECT_EQ(output("FILM1.VID"), before.at("FILM1.VID"));
}

TEST_F(Run, AnOutputFileThatCannotBeWrittenEndsTheRunWithItsName)
{
    test::WriteNumberedFrames(folder.path(), 3);
    fs::create_directory(folder.path() / "FILM0.VID");
    start();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Laufzeitfehler");
    EXPECT_EQ(host.messages[0].icon, Message::Icon::Warning);
    EXPECT_NE(host.messages[0].text.find("FILM0.VID"), std::string::npos);
    EXPECT_NE(host.messages[0].text.find("Grund: An dieser Stelle steht ein Ordner"), std::string::npos)
        << host.messages[0].text;
    EXPECT_EQ(host.name, "Film");
    EXPECT_EQ(snapshot().size(), 4u); // three frames and the folder, no temporary file
}

} // namespace
} // namespace velvix
