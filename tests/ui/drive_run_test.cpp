// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include "fake_host.h"
#include "frame_discovery.h"
#include "frame_files.h"
#include "output_swap.h"
#include "swap_record.h"
#include "temp_folder.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTest>

namespace velvix::ui::test {
namespace {

using velvix::test::NumberedFrame;
using velvix::test::TempFolder;
using velvix::test::WriteFile;
using velvix::test::WriteNumberedFrames;

using DriveRun = WindowTest;

const SeenBox kEmptyName{"Fehler", "Filename Eingeben !", QMessageBox::Warning, QMessageBox::Ok};

// 30 frames that compression thins to 4, in the folder "Katze".
std::vector<velvix::Bytes> WriteKatze(const std::filesystem::path& folder)
{
    std::filesystem::create_directory(folder);
    std::vector<velvix::Bytes> frames;
    for (int n = 1; n <= 30; ++n) {
        frames.push_back(velvix::test::NearCopy(NumberedFrame(1), n));
    }
    velvix::test::WriteFrames(folder, frames);
    return frames;
}

TEST_F(DriveRun, WholeRunFromTheWindow)
{
    TempFolder folder;
    WriteNumberedFrames(folder.path(), 75);
    showFolder(folder.path());
    auto* files = control<QListWidget>("FileOrdner");
    EXPECT_EQ(files->count(), 75);

    choose("Combo2", "32 KB");
    QTest::mouseClick(control<QCheckBox>("CheckVKomp"), Qt::LeftButton);
    EXPECT_FALSE(control<QCheckBox>("CheckVKomp")->isChecked());
    WriteFile(folder.path() / "B999.BMP", NumberedFrame(999)); // appears only when the list is read again

    boxes.answer = QMessageBox::Cancel; // the notice's answer changes nothing
    auto* name = control<QLineEdit>("VideoName");
    QTest::keyClicks(name, "Film");
    QTest::keyClick(name, Qt::Key_Return);

    EXPECT_EQ(boxes.seen,
              (std::vector<SeenBox>{
                  {"Warnung", "Es werden nur 70 von 75 BMP Files verarbeitet !", QMessageBox::Warning, QMessageBox::Ok},
                  {"Fertig", "Die Videofiles wurde erfolgreich erstellt", QMessageBox::Information,
                   QMessageBox::Ok | QMessageBox::Cancel},
              }));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / "FILM0.VID"));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / "FILM1.VID"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "FILM2.VID"));
    EXPECT_EQ(name->text(), "");
    EXPECT_EQ(control<QLineEdit>("TextVidSekReal")->text(), "12");
    EXPECT_EQ(files->count(), 76);
    EXPECT_EQ(files->item(75)->text(), "B999.BMP");

    // A run that stops at a check leaves the last play time shown.
    boxes.seen.clear();
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(boxes.seen, std::vector<SeenBox>{kEmptyName});
    EXPECT_EQ(control<QLineEdit>("TextVidSekReal")->text(), "12");
    EXPECT_EQ(drive->focusWidget(), name);
}

TEST_F(DriveRun, CompressionPlayerAndLoaderFromTheWindow)
{
    TempFolder root;
    const std::filesystem::path folder = root.path() / "Katze";
    WriteKatze(folder);
    showFolder(folder);

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German));
    QTest::mouseClick(control<QCheckBox>("CheckvPlay"), Qt::LeftButton);
    QTest::mouseClick(control<QCheckBox>("CheckStartBas"), Qt::LeftButton);
    auto* name = control<QLineEdit>("VideoName");
    QTest::keyClicks(name, "K");
    QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString::fromUtf8("ä"), Qt::NoModifier);
    QTest::keyClicks(name, "tzchen.avi");
    QTest::keyClick(name, Qt::Key_Enter);
    QLocale::setDefault(before);

    EXPECT_EQ(boxes.seen,
              (std::vector<SeenBox>{
                  {"Kompression",
                   QString::fromUtf8("26 Identische Bilder gelöscht !\nReduzierter Speicherverbrauch : 17,25KB"),
                   QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel},
                  {"Fertig", "Das Videofile wurde erfolgreich erstellt", QMessageBox::Information,
                   QMessageBox::Ok | QMessageBox::Cancel},
              }));
    for (const char* file : {"KäTZCHE0.VID", "KäTZCHE.BAS", "VPLAYER.BIN", "B004.bmp"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(
            folder / std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(file)))))
            << file;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "B005.bmp"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.path() / "Katze_org"),
                            std::filesystem::directory_iterator()),
              30);                                             // the frames as found
    EXPECT_EQ(control<QListWidget>("FileOrdner")->count(), 4); // the renumbered frames, read again
    EXPECT_EQ(control<QLineEdit>("TextVidSekReal")->text(), "5");
    for (const QStringList& texts : boxes.buttonTexts) {
        EXPECT_EQ(texts, (QStringList{"Abbrechen", "OK"})); // German in any locale
    }
}

TEST_F(DriveRun, AFolderARunLeftUnfinishedIsRestoredByTheBoxsDefault)
{
    TempFolder root;
    const std::filesystem::path folder = root.path() / "Katze";
    const std::vector<velvix::Bytes> frames = WriteKatze(folder);

    // Killed at its second rename.
    struct KilledAtRename : FolderOps {
        int renames = 0;
        std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to) override
        {
            if (++renames == 2) {
                throw std::runtime_error("killed");
            }
            return FolderOps::rename(from, to);
        }
    } ops;
    velvix::test::FakeHost host;
    host.name = "Katze";
    host.ticked[CheckBox::CheckVKomp] = true;
    Converter killed{host, ops};
    killed.setFrameFolder(folder);
    EXPECT_THROW(killed.start(), std::runtime_error);

    showFolder(folder);
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.seen[0].title, "Unterbrochener Lauf");
    EXPECT_TRUE(boxes.seen[0].text.contains(QString::fromUtf8("beim Umbenennen"))) << boxes.seen[0].text.toStdString();
    EXPECT_EQ(boxes.buttonTexts[0], (QStringList{"Fortsetzen", "Nicht jetzt", "Wiederherstellen"}));
    EXPECT_EQ(boxes.seen[1].title, "Wiederhergestellt");
    EXPECT_EQ(control<QListWidget>("FileOrdner")->count(), 30);
    for (int n = 1; n <= 30; ++n) {
        EXPECT_EQ(velvix::test::ReadFile(folder / velvix::FrameFileName(n)), frames[static_cast<std::size_t>(n - 1)]);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 30);
}

// New frames from a film, killed while they took the old ones' place: the film window's library,
// loaded for this alone, offers the old frames back, and its default puts them there.
TEST_F(DriveRun, AFolderAFilmSwapLeftHalfDoneGetsItsOldFramesBack)
{
    TempFolder root;
    const std::filesystem::path folder = root.path() / "Katze";
    const std::vector<velvix::Bytes> frames = WriteKatze(folder);

    // Killed at its second rename, once the record lies in the folder.
    struct KilledAtRename : frames::FramesFolderOps {
        int renames = 0;
        std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to) override
        {
            if (++renames == 2) {
                throw std::runtime_error("killed");
            }
            return FramesFolderOps::rename(from, to);
        }
    } ops;
    frames::OutputWriter writer(folder, {}, ops);
    ASSERT_FALSE(writer.start());
    ASSERT_FALSE(writer.add(FramePixels{}));
    ASSERT_FALSE(writer.add(FramePixels{}));
    EXPECT_THROW(writer.finish({}), std::runtime_error);
    ASSERT_TRUE(std::filesystem::exists(folder / frames::kSwapRecordName));

    showFolder(folder);
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_EQ(boxes.seen[0].title, "Unterbrochener Lauf");
    EXPECT_EQ(boxes.seen[1].title, "Wiederhergestellt");
    EXPECT_EQ(control<QListWidget>("FileOrdner")->count(), 30);
    for (int n = 1; n <= 30; ++n) {
        EXPECT_EQ(velvix::test::ReadFile(folder / velvix::FrameFileName(n)), frames[static_cast<std::size_t>(n - 1)]);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / frames::kSwapRecordName));
}

class EnterKey : public WindowTest, public testing::WithParamInterface<const char*> {};

TEST_P(EnterKey, StartsARunFromAnyControlButAnotherButton)
{
    auto* widget = control<QWidget>(GetParam());
    widget->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), widget);
    QTest::keyClick(widget, Qt::Key_Return);
    EXPECT_EQ(boxes.seen, std::vector<SeenBox>{kEmptyName});
}

INSTANTIATE_TEST_SUITE_P(Drive, EnterKey,
                         testing::Values("Eingabe", "VideoName", "Laufwerk", "PfadOrdner", "FileOrdner", "Combo1",
                                         "Combo2", "Combo3", "ComboVKompST", "CheckVKomp", "CheckvPlay",
                                         "CheckStartBas"));

TEST_F(DriveRun, EnterOnAnotherButtonPressesThatButton)
{
    auto* help = control<QPushButton>("Hilfe");
    help->setFocus();
    QTest::keyClick(help, Qt::Key_Return);
    QWidget* guide = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == "Hilfe") {
            guide = window;
        }
    }
    ASSERT_NE(guide, nullptr);
    CloseAndDelete(guide);

    auto* cancel = control<QPushButton>("Abbruch");
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(drive.isNull());
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(DriveRun, EscapeLeavesTheWindowOpen)
{
    QTest::keyClick(control<QWidget>("VideoName"), Qt::Key_Escape);
    EXPECT_TRUE(drive->isVisible());
}

TEST_F(DriveRun, EachCheckBoxIsReadAsItsOwnSetting)
{
    const std::pair<const char*, CheckBox> boxesByName[] = {
        {"CheckVKomp", CheckBox::CheckVKomp},
        {"CheckvPlay", CheckBox::CheckvPlay},
        {"CheckStartBas", CheckBox::CheckStartBas},
        {"CheckKompakt", CheckBox::CheckKompakt},
    };
    for (const auto& clicked : boxesByName) {
        auto* check = control<QCheckBox>(clicked.first);
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(check, Qt::LeftButton);
            for (const auto& [otherName, other] : boxesByName) {
                EXPECT_EQ(drive->isTicked(other), control<QCheckBox>(otherName)->isChecked())
                    << clicked.first << " clicked";
            }
        }
    }
}

TEST_F(DriveRun, DecimalsUseTheUsersSeparatorWithoutGrouping)
{
    struct Case {
        QLocale::Language language;
        double value;
        const char* shown;
    };
    const Case cases[] = {{QLocale::German, 1.5, "1,5"},
                          {QLocale::German, 2.0, "2"},
                          {QLocale::German, 1234.25, "1234,25"},
                          {QLocale::English, 0.1, "0.1"},
                          {QLocale::English, 12.375, "12.375"}};
    const QLocale before;
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(c.language));
        EXPECT_EQ(drive->formatDecimal(c.value), c.shown);
    }
    QLocale::setDefault(before);
}

} // namespace
} // namespace velvix::ui::test
