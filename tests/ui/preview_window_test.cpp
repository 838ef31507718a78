// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include "frame_discovery.h"
#include "frame_files.h"
#include "later_window.h"
#include "lcd_view.h"
#include "preview_window.h"
#include "temp_folder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace velvix::ui::test {
namespace {

namespace fs = std::filesystem;
using velvix::test::TempFolder;

class PreviewFromTheWindow : public WindowTest {
protected:
    // 30 frames written as ZUG at 6 frames per second: 5 seconds, one part.
    void writeVideo(const fs::path& folder)
    {
        velvix::test::WriteNumberedFrames(folder, 30);
        showFolder(folder);
        choose("Combo2", "32 KB");
        QTest::mouseClick(control<QCheckBox>("CheckVKomp"), Qt::LeftButton);
        auto* name = control<QLineEdit>("VideoName");
        QTest::keyClicks(name, "Zug");
        QTest::keyClick(name, Qt::Key_Return);
        ASSERT_EQ(boxes.seen.size(), 1u);
        ASSERT_EQ(boxes.seen.back().title, "Fertig");
        boxes.seen.clear();
    }

    PreviewWindow* openPreview(bool byEnter = false)
    {
        auto* button = control<QPushButton>("Vorschau");
        if (byEnter) { // Enter on the focused button presses it, as on Abbruch and Hilfe
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Return);
        } else {
            QTest::mouseClick(button, Qt::LeftButton);
        }
        auto* preview = drive->findChild<PreviewWindow*>();
        if (preview != nullptr) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(preview));
        }
        return preview;
    }

    template <typename Widget> Widget* in(PreviewWindow* preview, const char* name)
    {
        auto* widget = preview->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    QString counter(PreviewWindow* preview) { return in<QLabel>(preview, "BildZaehler")->text(); }
    QString time(PreviewWindow* preview) { return in<QLabel>(preview, "Zeit")->text(); }
};

TEST_F(PreviewFromTheWindow, PlaysPausesStepsAndSlidesThroughTheLastRunsVideo)
{
    TempFolder folder;
    writeVideo(folder.path());
    // A faulty video that sorts first; the run's video shows all the same.
    velvix::test::WriteFile(folder.path() / "ALT0.VID", velvix::Bytes(100, 'x'));

    PreviewWindow* preview = openPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_EQ(preview->windowTitle(), "Vorschau - ZUG");
    auto* videos = in<QComboBox>(preview, "VideoWahl");
    EXPECT_EQ(videos->count(), 2);
    EXPECT_EQ(videos->currentText(), "ZUG");
    EXPECT_EQ(counter(preview), "Bild 1 von 30");
    EXPECT_EQ(time(preview), "0:00 von 0:05");
    // The window's library keeps its own copy of the display's class: found by name, not by type.
    auto* display = in<QWidget>(preview, "Anzeige");
    ASSERT_STREQ(display->metaObject()->className(), "velvix::ui::LcdView");
    EXPECT_EQ(static_cast<LcdView*>(display)->zoom(), 4);
    EXPECT_EQ(QApplication::focusWidget(), display);

    // Stepping with the arrow keys and the buttons, never past either end.
    QTest::keyClick(preview, Qt::Key_Left);
    EXPECT_EQ(counter(preview), "Bild 1 von 30");
    QTest::keyClick(preview, Qt::Key_Right);
    QTest::keyClick(preview, Qt::Key_Right);
    EXPECT_EQ(counter(preview), "Bild 3 von 30");
    QTest::mouseClick(in<QPushButton>(preview, "Zurueck"), Qt::LeftButton);
    EXPECT_EQ(counter(preview), "Bild 2 von 30");
    auto* slider = in<QSlider>(preview, "Bildregler");
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(slider->maximum(), 29);
    slider->setValue(17);
    EXPECT_EQ(counter(preview), "Bild 18 von 30");
    EXPECT_EQ(time(preview), "0:02 von 0:05");
    slider->setValue(29);
    QTest::mouseClick(in<QPushButton>(preview, "Vor"), Qt::LeftButton);
    EXPECT_EQ(counter(preview), "Bild 30 von 30");

    // Space plays from the start after the end; a key on the display stops, as on the PC-1600.
    auto* play = in<QPushButton>(preview, "Abspielen");
    QTest::keyClick(preview, Qt::Key_Space);
    EXPECT_TRUE(preview->isPlaying());
    EXPECT_EQ(play->text(), "Pause");
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview->frame() >= 2; }));
    QTest::keyClick(display, Qt::Key_A);
    EXPECT_FALSE(preview->isPlaying());
    EXPECT_EQ(play->text(), "Abspielen");
    EXPECT_EQ(slider->value(), preview->frame());

    // Played to its end it stops on the last frame; with repeat on it goes round.
    slider->setValue(27);
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !preview->isPlaying(); }));
    EXPECT_EQ(counter(preview), "Bild 30 von 30");
    EXPECT_EQ(time(preview), "0:05 von 0:05");
    QTest::mouseClick(in<QCheckBox>(preview, "Wiederholen"), Qt::LeftButton);
    slider->setValue(28);
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview->frame() < 28; }));
    EXPECT_TRUE(preview->isPlaying());

    QTest::mouseClick(in<QPushButton>(preview, "Stopp"), Qt::LeftButton);
    EXPECT_FALSE(preview->isPlaying());
    EXPECT_EQ(counter(preview), "Bild 1 von 30");

    // The faulty other video: its box, and the one shown stays.
    videos->setCurrentText("ALT");
    emit videos->activated(videos->currentIndex());
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_TRUE(boxes.seen[0].text.contains("ALT0.VID")) << boxes.seen[0].text.toStdString();
    EXPECT_EQ(videos->currentText(), "ZUG");
    EXPECT_EQ(counter(preview), "Bild 1 von 30");

    // Start writes ZUG anew from fewer frames: the open preview shows the new video, not the old.
    for (int number = 25; number <= 30; ++number) {
        fs::remove(folder.path() / FrameFileName(number));
    }
    auto* name = control<QLineEdit>("VideoName");
    QTest::keyClicks(name, "Zug");
    QTest::keyClick(name, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter(preview) == "Bild 1 von 24"; }, 5000))
        << counter(preview).toStdString();
    EXPECT_EQ(videos->currentText(), "ZUG");

    QTest::mouseClick(in<QPushButton>(preview, "Schliessen"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(drive->findChild<PreviewWindow*>(), nullptr);
}

struct Refusal {
    const char* what;
    const char* file; // written into the folder, or nullptr
    const char* says;
    bool byEnter;
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.what; }

class PreviewRefusal : public PreviewFromTheWindow, public ::testing::WithParamInterface<Refusal> {};

INSTANTIATE_TEST_SUITE_P(
    Folders, PreviewRefusal,
    ::testing::Values(Refusal{"no video", nullptr, "liegt kein Video (keine Datei NAME0.VID).", true},
                      Refusal{"only video faulty", "FILM0.VID", "ist kein Teil eines Videos von Velvix", false}));

TEST_P(PreviewRefusal, ShowsItsBoxAndNoWindow)
{
    const Refusal r = GetParam();
    TempFolder folder;
    if (r.file != nullptr) {
        velvix::test::WriteFile(folder.path() / r.file, velvix::Bytes(100, 'x'));
    }
    showFolder(folder.path());
    EXPECT_EQ(openPreview(r.byEnter), nullptr);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, "Vorschau");
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(boxes.seen[0].text.contains(QString::fromUtf8(r.says))) << boxes.seen[0].text.toStdString();
    EXPECT_TRUE(
        boxes.seen[0].text.contains(r.file != nullptr ? QString::fromLatin1(r.file) : ToQString(folder.path())));
}

// The window's library gone from the installation: a box says so.
TEST_F(PreviewFromTheWindow, MissingLibraryIsNamedInABox)
{
    TempFolder gone;
    EXPECT_EQ(LibraryEntry(ToQString(gone.path() / "velvix_preview"), "velvix_open_preview", drive,
                           "Die Vorschau kann nicht öffnen"),
              nullptr);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, "Fehler");
    EXPECT_TRUE(boxes.seen[0].text.contains(ToQString(gone.path() / "velvix_preview")))
        << boxes.seen[0].text.toStdString();
    EXPECT_TRUE(boxes.seen[0].text.startsWith("Die Vorschau kann nicht öffnen, ein Teil von Velvix fehlt"))
        << boxes.seen[0].text.toStdString();
    EXPECT_TRUE(boxes.seen[0].text.endsWith("Bitte Velvix neu installieren."));
}

} // namespace
} // namespace velvix::ui::test
