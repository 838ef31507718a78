// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include "disk_full.h"
#include "ffmpeg_inputs.h"
#include "film_dialog.h"
#include "frame_discovery.h"
#include "frame_files.h"
#include "temp_folder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <functional>
#include <sys/stat.h>

namespace velvix::ui::test {
namespace {

namespace fs = std::filesystem;
using velvix::test::NumberedFrame;
using velvix::test::ReadFile;
using velvix::test::RunFfmpeg;
using velvix::test::TempFolder;
using velvix::test::WriteNumberedFrames;

// A moving test picture of `seconds`, small so that it is made quickly.
fs::path MakeFilm(const fs::path& folder, const std::string& name, int seconds)
{
    const fs::path film = folder / name;
    RunFfmpeg({"-f", "lavfi", "-i", "testsrc2=size=320x180:rate=10:duration=" + std::to_string(seconds), "-pix_fmt",
               "yuv420p"},
              film);
    return film;
}

class FilmImport : public WindowTest {
protected:
    // Film, then the file in the file dialog, as a user chooses it.
    FilmDialog* openDialog(const fs::path& input)
    {
        QTest::mouseClick(control<QPushButton>("Film"), Qt::LeftButton);
        QFileDialog* choose = nullptr;
        [&] {
            ASSERT_TRUE(QTest::qWaitFor([&] {
                return (choose = drive->findChild<QFileDialog*>("FilmWahl")) != nullptr && choose->isVisible();
            }));
        }();
        choose->selectFile(ToQString(input));
        static_cast<QDialog*>(choose)->accept(); // its open button; public in every dialog
        return drive->findChild<FilmDialog*>("FilmUmwandeln");
    }

    template <typename Widget> Widget* in(FilmDialog* dialog, const char* name)
    {
        auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QImage picture(FilmDialog* dialog) { return in<QLabel>(dialog, "Bild")->pixmap().toImage(); }

    // Waits until the dialog has read the film and shows a picture.
    void waitReady(FilmDialog* dialog)
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !in<QLabel>(dialog, "Bild")->pixmap().isNull(); }, 10000));
    }

    TempFolder folder;
};

// Every option that changes the dots changes the picture at once; the
// slider loads another moment of the film.
TEST_F(FilmImport, PictureFollowsEveryOption)
{
    FilmDialog* dialog = openDialog(MakeFilm(folder.path(), "film.mp4", 4));
    waitReady(dialog);

    const std::vector<std::pair<const char*, std::function<void()>>> changes{
        {"Invertieren", [&] { in<QCheckBox>(dialog, "Invertieren")->setChecked(true); }},
        {"Helligkeit", [&] { in<QSpinBox>(dialog, "Helligkeit")->setValue(40); }},
        {"Kontrast", [&] { in<QSpinBox>(dialog, "Kontrast")->setValue(250); }},
        {"Verfahren", [&] { in<QComboBox>(dialog, "Verfahren")->setCurrentIndex(1); }},
        {"Schwelle",
         [&] {
             in<QComboBox>(dialog, "Verfahren")->setCurrentIndex(3);
             in<QSpinBox>(dialog, "Schwelle")->setValue(40);
         }},
        {"Ausschnitt", [&] { in<QComboBox>(dialog, "Ausschnitt")->setCurrentIndex(1); }},
    };
    for (const auto& [name, change] : changes) {
        const QImage before = picture(dialog);
        change();
        EXPECT_NE(picture(dialog), before) << name;
    }
    EXPECT_TRUE(in<QSpinBox>(dialog, "Schwelle")->isEnabled());

    const QImage before = picture(dialog);
    in<QSlider>(dialog, "Stelle")->setValue(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return picture(dialog) != before; }, 10000));
    EXPECT_EQ(in<QLabel>(dialog, "StelleZeit")->text(), "0:00,5");
    CloseAndDelete(dialog);
}

struct CountCase {
    int rateIndex;
    double length; // 0: to the end
    bool firstOnly;
    QString count;
    bool offered; // the first 299 are offered
    bool convertible;
};

// A film of 60 s: at 6 frames/s 360 frames, past the 299 Velvix takes.
TEST_F(FilmImport, CountsFramesAndOffersTheFirst299)
{
    FilmDialog* dialog = openDialog(MakeFilm(folder.path(), "lang.mp4", 60));
    ASSERT_TRUE(QTest::qWaitFor([&] { return in<QLabel>(dialog, "Anzahl")->text().startsWith("Das ergibt"); }, 10000));

    const std::vector<CountCase> cases{
        {2, 0, false, "Das ergibt 360 Bilder; Velvix nimmt höchstens 299. Bitte die Dauer kürzen oder:", true, false},
        {2, 0, true, "Das ergibt 360 Bilder; Velvix nimmt höchstens 299. Bitte die Dauer kürzen oder:", true, true},
        {2, 30, false, "Das ergibt 180 Bilder.", false, true},
        {0, 0, false, "Das ergibt 240 Bilder.", false, true},
        {3, 37.4, false, "Das ergibt 299 Bilder.", false, true},
    };
    for (const CountCase& c : cases) {
        in<QComboBox>(dialog, "Bildrate")->setCurrentIndex(c.rateIndex);
        in<QDoubleSpinBox>(dialog, "Dauer")->setValue(c.length);
        in<QCheckBox>(dialog, "Erste299")->setChecked(c.firstOnly);
        EXPECT_EQ(in<QLabel>(dialog, "Anzahl")->text(), c.count) << c.rateIndex << " " << c.length;
        EXPECT_EQ(in<QCheckBox>(dialog, "Erste299")->isVisible(), c.offered) << c.rateIndex << " " << c.length;
        EXPECT_EQ(in<QPushButton>(dialog, "Umwandeln")->isEnabled(), c.convertible) << c.rateIndex << " " << c.length;
    }
    in<QComboBox>(dialog, "Bildrate")->setCurrentIndex(2);
    in<QDoubleSpinBox>(dialog, "Dauer")->setValue(0);
    EXPECT_EQ(in<QCheckBox>(dialog, "Erste299")->text(),
              "nur die ersten 299 Bilder nehmen (bis 0:49,8)");
    EXPECT_EQ(in<QLabel>(dialog, "Speicher")->text(),
              "Speicher: 299 Bilder brauchen 183 KB auf dem PC-1600; die Module im Hauptfenster fassen 18 Bilder "
              "(11 KB). Die Videokompression spart ähnliche Bilder ein; was dann noch nicht passt, lässt Start am "
              "Ende weg.");
    CloseAndDelete(dialog);
}

// The whole way a user goes: Film, a file, Umwandeln, and Start writes the video.
TEST_F(FilmImport, FromFilmToVideoInTheMainWindow)
{
    const fs::path film = MakeFilm(folder.path(), "Mein Urlaub.mp4", 4);
    FilmDialog* dialog = openDialog(film);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(in<QComboBox>(dialog, "Bildrate")->currentIndex(), 2) << "the window's rate";
    EXPECT_EQ(in<QLineEdit>(dialog, "Ziel")->text(), ToQString(folder.path() / "Mein Urlaub"));
    in<QComboBox>(dialog, "Bildrate")->setCurrentIndex(0);
    auto* convert = in<QPushButton>(dialog, "Umwandeln");
    ASSERT_TRUE(QTest::qWaitFor([&] { return convert->isEnabled(); }, 10000));
    EXPECT_EQ(in<QLabel>(dialog, "Anzahl")->text(), "Das ergibt 16 Bilder.");
    QTest::mouseClick(convert, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drive->findChild<FilmDialog*>("FilmUmwandeln") == nullptr; }, 20000));

    EXPECT_EQ(frameFolder(), folder.path() / "Mein Urlaub");
    EXPECT_EQ(control<QListWidget>("FileOrdner")->count(), 16);
    EXPECT_EQ(control<QComboBox>("Combo1")->currentText(), "4 Bilder/Sek");
    EXPECT_EQ(drive->converter().budget().framesPerSecond(), 4);
    EXPECT_EQ(control<QLineEdit>("VideoName")->text(), "MEINURL");
    EXPECT_TRUE(boxes.seen.empty());

    QTest::mouseClick(control<QPushButton>("Eingabe"), Qt::LeftButton);
    ASSERT_FALSE(boxes.seen.empty());
    EXPECT_EQ(boxes.seen.back().title, "Fertig") << testing::PrintToString(boxes.seen);
    EXPECT_TRUE(fs::is_regular_file(folder.path() / "Mein Urlaub" / "MEINURL0.VID"));
}

// One image chosen stands for its folder: every image becomes a frame, in the order of the names.
TEST_F(FilmImport, FromAFolderOfImages)
{
    const fs::path images = folder.path() / "bilder";
    fs::create_directory(images);
    for (int n = 1; n <= 3; ++n) {
        RunFfmpeg({"-f", "lavfi", "-i", velvix::test::WhiteWithBox(312, 64, 20 * n, 8, 40, 40), "-frames:v", "1"},
                  images / ("bild" + std::to_string(n) + ".png"));
    }
    FilmDialog* dialog = openDialog(images / "bild2.png");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(in<QLabel>(dialog, "Eingabe")->text(), "Bilder aus: " + ToQString(images));
    waitReady(dialog);
    EXPECT_EQ(in<QLabel>(dialog, "Anzahl")->text(), "Das ergibt 3 Bilder.");
    EXPECT_EQ(in<QSlider>(dialog, "Stelle")->maximum(), 2);
    EXPECT_FALSE(in<QDoubleSpinBox>(dialog, "Start")->isEnabled()) << "a folder has no time";

    const QString beside = in<QLineEdit>(dialog, "Ziel")->text();
    EXPECT_EQ(beside, ToQString(folder.path() / "bilder PC-1600"));
    in<QLineEdit>(dialog, "Ziel")->setText(ToQString(images / "neu"));
    EXPECT_TRUE(in<QLabel>(dialog, "ZielHinweis")->text().contains("Eingabeordner"));
    in<QLineEdit>(dialog, "Ziel")->setText(beside);
    QTest::mouseClick(in<QPushButton>(dialog, "Umwandeln"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drive->findChild<FilmDialog*>("FilmUmwandeln") == nullptr; }, 20000));
    EXPECT_EQ(frameFolder(), folder.path() / "bilder PC-1600");
    EXPECT_EQ(control<QListWidget>("FileOrdner")->count(), 3);
    EXPECT_EQ(control<QLineEdit>("VideoName")->text(), "BILDER");
}

TEST_F(FilmImport, CancelLeavesNothing)
{
    FilmDialog* dialog = openDialog(MakeFilm(folder.path(), "film.mp4", 30));
    auto* convert = in<QPushButton>(dialog, "Umwandeln");
    ASSERT_TRUE(QTest::qWaitFor([&] { return convert->isEnabled(); }, 10000));
    QTest::mouseClick(convert, Qt::LeftButton);
    EXPECT_FALSE(convert->isEnabled());
    QTest::mouseClick(in<QPushButton>(dialog, "Abbrechen"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return in<QProgressBar>(dialog, "Fortschritt")->format() ==
                   QString("Abgebrochen; es wurde nichts geschrieben.");
        },
        10000));
    EXPECT_TRUE(dialog->isVisible()) << "Abbrechen stops the work; a second one closes";
    EXPECT_FALSE(fs::exists(folder.path() / "film"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
    EXPECT_TRUE(boxes.seen.empty());
    QTest::mouseClick(in<QPushButton>(dialog, "Abbrechen"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drive->findChild<FilmDialog*>("FilmUmwandeln") == nullptr; }));
}

// Old frames in the target go only when the user agrees, and stay when the work fails.
TEST_F(FilmImport, ReplacesOldFramesOnlyWhenAgreedAndDone)
{
    const fs::path film = MakeFilm(folder.path(), "film.mp4", 2);
    const fs::path target = folder.path() / "film";
    fs::create_directory(target);
    WriteNumberedFrames(target, 3);
    const auto oldFramesThere = [&] {
        for (int n = 1; n <= 3; ++n) {
            EXPECT_EQ(ReadFile(target / velvix::FrameFileName(n)), NumberedFrame(n)) << n;
        }
    };
    FilmDialog* dialog = openDialog(film);
    auto* convert = in<QPushButton>(dialog, "Umwandeln");
    ASSERT_TRUE(QTest::qWaitFor([&] { return convert->isEnabled(); }, 10000));
    EXPECT_EQ(in<QLabel>(dialog, "ZielHinweis")->text(),
              "Dort liegen schon Bilder. Sie werden nach Rückfrage ersetzt; die alten bleiben, bis die neuen "
              "vollständig sind.");

    boxes.answer = QMessageBox::Cancel;
    QTest::mouseClick(convert, Qt::LeftButton);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, "Bilder ersetzen?");
    EXPECT_EQ(boxes.buttonTexts[0], (QStringList{"Abbrechen", "Ersetzen"}));
    EXPECT_TRUE(convert->isEnabled()) << "nothing started";
    oldFramesThere();

    // The film vanishes after it was read: the work fails, the old frames stay.
    fs::rename(film, folder.path() / "weg.mp4");
    boxes.answer = QMessageBox::Yes;
    QTest::mouseClick(convert, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 3u; }, 10000));
    EXPECT_EQ(boxes.seen[2].title, "Fehler");
    EXPECT_TRUE(boxes.seen[2].text.contains("gibt es nicht")) << boxes.seen[2].text.toStdString();
    oldFramesThere();

    fs::rename(folder.path() / "weg.mp4", film);
    {
        velvix::test::DiskFull full; // no room for the new frames
        QTest::mouseClick(convert, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 5u; }, 10000));
    }
    EXPECT_EQ(boxes.seen[4].title, "Fehler");
    EXPECT_TRUE(boxes.seen[4].text.contains("die alten Bilder sind unverändert")) << boxes.seen[4].text.toStdString();
    oldFramesThere();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2) << "no half folder";

    QTest::mouseClick(convert, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drive->findChild<FilmDialog*>("FilmUmwandeln") == nullptr; }, 20000));
    EXPECT_EQ(boxes.seen.size(), 6u) << "one more question, no failure";
    EXPECT_EQ(control<QListWidget>("FileOrdner")->count(), 12);
    EXPECT_NE(ReadFile(target / "B001.BMP"), NumberedFrame(1));
}

struct BadInput {
    const char* what;
    std::function<fs::path(const fs::path&)> make;
    const char* said; // a piece of the one box
};

void PrintTo(const BadInput& input, std::ostream* os) { *os << input.what; }

class FilmImportFails : public FilmImport, public testing::WithParamInterface<BadInput> {};

// Each input that cannot become frames gives one German box and closes the dialog; nothing is written.
TEST_P(FilmImportFails, OneBoxAndNothingWritten)
{
    const fs::path input = GetParam().make(folder.path());
    openDialog(input);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drive->findChild<FilmDialog*>("FilmUmwandeln") == nullptr; }, 10000));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, "Fehler");
    EXPECT_TRUE(boxes.seen[0].text.contains(QString::fromUtf8(GetParam().said))) << boxes.seen[0].text.toStdString();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1) << "only the input";
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, FilmImportFails,
    testing::Values(BadInput{"Unreadable",
                             [](const fs::path& folder) {
                                 velvix::test::WriteFile(folder / "kaputt.mp4", velvix::Bytes(4000, 0x42));
                                 return folder / "kaputt.mp4";
                             },
                             "kaputt.mp4“ lässt sich nicht als Film lesen"},
                    BadInput{"SoundOnly",
                             [](const fs::path& folder) {
                                 RunFfmpeg({"-f", "lavfi", "-i", "sine=duration=1"}, folder / "ton.wav");
                                 return folder / "ton.wav";
                             },
                             "steckt kein Bild"},
                    BadInput{"Pipe",
                             [](const fs::path& folder) {
                                 mkfifo((folder / "rohr.mp4").c_str(), 0600);
                                 return folder / "rohr.mp4";
                             },
                             "keine gewöhnliche Datei"}),
    [](const testing::TestParamInfo<BadInput>& info) { return info.param.what; });

TEST_F(FilmImport, FfmpegMissing)
{
    const fs::path film = MakeFilm(folder.path(), "film.mp4", 1);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(ToQString(folder.path())));
    openDialog(film);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drive->findChild<FilmDialog*>("FilmUmwandeln") == nullptr; }, 10000));
    qputenv("PATH", path);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_TRUE(boxes.seen[0].text.contains("bitte ffmpeg installieren")) << boxes.seen[0].text.toStdString();
}

} // namespace
} // namespace velvix::ui::test
