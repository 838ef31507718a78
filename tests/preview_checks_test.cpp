// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "converter_fixture.h"
#include "pc1600.h"
#include "preview_video.h"
#include "run_record.h"
#include "vid_header.h"
#include "vid_reader.h"
#include "vid_writer.h"

#include <gtest/gtest.h>

#include <functional>

namespace velvix {
namespace {

namespace fs = std::filesystem;

// A 96-frame video FILM in four parts (45, 25, 25 and 1 frames), then one
// thing done to its folder; the preview must refuse with one box that names
// the file, show nothing and write nothing.
struct BadFolder {
    const char* what;
    std::function<void(const fs::path&)> spoil;
    const char* file; // named in the box
    const char* says;
    long stepLimit = kDefaultStepLimit;
};

void PrintTo(const BadFolder& c, std::ostream* os) { *os << c.what; }

Bytes Cut(Bytes bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

const BadFolder kBadFolders[] = {
    {"part 1 missing", [](const fs::path& f) { fs::remove(f / "FILM1.VID"); }, "FILM1.VID",
     "fehlt. Teil 0 des Videos nennt 96 Bilder, die auf 4 Dateien verteilt sind."},
    {"part 0 missing", [](const fs::path& f) { fs::remove(f / "FILM0.VID"); }, "FILM0.VID",
     "fehlt: dieses Video liegt nicht (mehr) im Ordner."},
    {"part 2 is part 1",
     [](const fs::path& f) { fs::copy_file(f / "FILM1.VID", f / "FILM2.VID", fs::copy_options::overwrite_existing); },
     "FILM2.VID", "gehört nicht zu diesem Video: sie ist Teil 1 eines Videos, nicht Teil 2."},
    {"part 3 of a longer video",
     [](const fs::path& f) {
         const std::vector<Bytes> records(120, Bytes(kFrameRecordBytes, 0x17));
         test::WriteFile(f / "FILM3.VID", BuildVidPart({3, 96, 120}, records, {120, 20, 6}));
     },
     "FILM3.VID", "gehört nicht zu diesem Video: sie hält 25 Bilder, Teil 3 eines Videos mit 96 Bildern hält 1."},
    {"part 2 cut short",
     [](const fs::path& f) { test::WriteFile(f / "FILM2.VID", Cut(test::ReadFile(f / "FILM2.VID"), 9000)); },
     "FILM2.VID", "ist unvollständig: sie hat 9000 Bytes, ein Teil dieses Videos 15643."},
    {"part 3 with a byte more",
     [](const fs::path& f) {
         Bytes part = test::ReadFile(f / "FILM3.VID");
         part.push_back(0);
         test::WriteFile(f / "FILM3.VID", part);
     },
     "FILM3.VID", "ist zu lang: sie hat 644 Bytes, ein Teil dieses Videos nur 643."},
    {"part 0 a text", [](const fs::path& f) { test::WriteFile(f / "FILM0.VID", Bytes(200, 'a')); }, "FILM0.VID",
     "ist kein Teil eines Videos von Velvix: ihr Dateikopf ist nicht der einer Binärdatei des PC-1600."},
    {"part 0 a few bytes",
     [](const fs::path& f) {
         test::WriteFile(f / "FILM0.VID", Bytes{0xFF, 0x10});
     },
     "FILM0.VID", "sie hat nur 2 Bytes, weniger als der Dateikopf einer VID-Datei."},
    {"part 0 a folder",
     [](const fs::path& f) {
         fs::remove(f / "FILM0.VID");
         fs::create_directory(f / "FILM0.VID");
     },
     "FILM0.VID", "sie ist keine gewöhnliche Datei."},
    {"part 0 counts wrong",
     [](const fs::path& f) {
         Bytes part = test::ReadFile(f / "FILM0.VID");
         part[part.size() - 3] = 30;
         test::WriteFile(f / "FILM0.VID", part);
     },
     "FILM0.VID", "sie nennt 30 Bilder, hält aber 45."},
    {"a run with compression stopped", [](const fs::path& f) { test::WriteFile(f / kRunRecordName, Bytes{'x'}); },
     "Lauf mit Kompression unterbrochen", "Öffnen Sie den Ordner im Hauptfenster"},
    {"a player that never returns", [](const fs::path&) {}, "\"FILM\"", "kehrte nach 1000 Befehlen nicht zurück.",
     1000},
};

class PreviewRefuses : public ::testing::TestWithParam<BadFolder>, public test::ConverterFixture {};

INSTANTIATE_TEST_SUITE_P(BadFolders, PreviewRefuses, ::testing::ValuesIn(kBadFolders));

TEST_P(PreviewRefuses, WithOneBoxNamingTheFileAndWritesNothing)
{
    const BadFolder c = GetParam();
    test::WriteNumberedFrames(frames, 96);
    chooseMemory(3, 1);
    start();
    ASSERT_EQ(titles(), std::vector<std::string>{"Fertig"});
    c.spoil(frames);
    const auto before = snapshot();

    const PreviewResult result = LoadPreview(frames, "FILM", c.stepLimit);
    EXPECT_FALSE(result.video);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->title, "Vorschau");
    EXPECT_EQ(result.failure->icon, Message::Icon::Warning);
    EXPECT_NE(result.failure->text.find(c.file), std::string::npos) << result.failure->text;
    EXPECT_NE(result.failure->text.find(c.says), std::string::npos) << result.failure->text;
    EXPECT_NE(result.failure->text.find("Start neu"), std::string::npos) << "says what to do";
    EXPECT_EQ(snapshot(), before);
}

TEST(Videos, AreFoundByTheirPartZero)
{
    test::TempFolder folder;
    for (const char* file : {"ZUG0.VID", "ZUG1.VID", "AUTO0.VID", "ALT1.VID", "0.VID", "BILD0.vid", "B001.BMP"}) {
        test::WriteFile(folder.path() / file, {});
    }
    EXPECT_EQ(FindVideos(folder.path()), (std::vector<std::string>{"AUTO", "ZUG"}));
    EXPECT_TRUE(FindVideos(folder.path() / "fehlt").empty());
}

TEST(Pc1600, StopsCodeThatNeverReturnsAfterTheStepLimit)
{
    // JR -2 in common memory: a loop without end.
    const VidHeader header = MakeVidHeader({.dataLength = 2, .loadAddress = 0xC000});
    Bytes file(header.begin(), header.end());
    file.insert(file.end(), {0x18, 0xFE});
    Pc1600 pc;
    ASSERT_TRUE(pc.bload(file));
    const Playback shown = pc.call(0xC000, std::nullopt, 10'000);
    EXPECT_FALSE(shown.returned);
    EXPECT_EQ(shown.fault, "kehrte nach 10000 Befehlen nicht zurück");

    EXPECT_FALSE(pc.bload(Cut(file, 17))) << "less data than the header names";
    EXPECT_FALSE(pc.bload(Cut(file, 15))) << "no whole header";
}

} // namespace
} // namespace velvix
