// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include "frame_files.h"
#include "port_box.h"
#include "pty_pair.h"
#include "temp_folder.h"
#include "transfer_window.h"
#include "video_folder.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace velvix::ui::test {
namespace {

using velvix::test::PtyPair;

// A video of two parts with player and loader in the frame folder, and a
// cable to the PC-1600 that the test plays.
class Transfer : public WindowTest {
protected:
    void SetUp() override
    {
        // Tests run side by side in their own processes: each remembers its choices in its own folder.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ToQString(settingsFolder.path()));
        WindowTest::SetUp();
        velvix::test::WriteVideoFiles(folder.path(), files);
        showFolder(folder.path());
    }

    void TearDown() override
    {
        WindowTest::TearDown();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }

    TransferWindow* openWindow()
    {
        QTest::mouseClick(control<QPushButton>("Uebertragen"), Qt::LeftButton);
        return drive->findChild<TransferWindow*>();
    }

    QString typedLines() const { return control<QPlainTextEdit>("Eingabezeilen")->toPlainText(); }
    QString state(int row) const { return control<QTreeWidget>("Dateien")->topLevelItem(row)->text(3); }

    void typePort(const QString& port)
    {
        QLineEdit* edit = control<PortBox>("Schnittstelle")->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, port);
    }

    // Presses Senden and reads on the far side until the row shows the file arrived.
    void sendAndWait(int row)
    {
        QTest::mouseClick(control<QPushButton>("Senden"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                pty.readArrived(arrived);
                return state(row) == "gesendet";
            },
            10000))
            << state(row).toStdString();
    }

    velvix::test::TempFolder settingsFolder;
    velvix::test::TempFolder folder;
    const std::vector<velvix::test::VideoFolderFile> files = velvix::test::MakeVideoFiles("FILM", 50, true, true);
    PtyPair pty;
    Bytes arrived;
};

TEST_F(Transfer, ShowsTheLineForEachFileThenSendsIt)
{
    TransferWindow* window = openWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* list = control<QTreeWidget>("Dateien");
    ASSERT_EQ(list->topLevelItemCount(), 4);
    const QStringList names{"FILM0.VID", "FILM1.VID", "VPLAYER.BIN", "FILM.BAS"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(list->topLevelItem(row)->text(0), names[row]);
    }
    EXPECT_EQ(list->topLevelItem(0)->text(1), "28.145 Bytes");
    EXPECT_EQ(list->topLevelItem(0)->text(2), "30 s"); // 281,45 s at 9600 baud, rounded up
    EXPECT_EQ(state(3), "nicht nötig (nur RAM-Disk)");
    EXPECT_EQ(typedLines(), "INIT \"COM1:\",4096\nSETCOM \"COM1:\",9600,8,N,1,X,N\nBLOAD \"COM1:\"");

    typePort(QString::fromStdString(pty.portPath()));
    sendAndWait(0);
    EXPECT_EQ(typedLines(), "BLOAD \"COM1:\"");
    EXPECT_TRUE(control<QPushButton>("Senden")->hasFocus()) << "Enter sends the next file";
    EXPECT_EQ(state(1), "als Nächstes");
    sendAndWait(1);
    sendAndWait(2);

    EXPECT_EQ(typedLines(), "CALL &EEB1");
    EXPECT_EQ(control<QPushButton>("Senden")->text(), "Von vorn");
    EXPECT_FALSE(control<QPushButton>("Ueberspringen")->isEnabled());
    const Bytes expected = velvix::test::Concatenated({files[0], files[1], files[2]});
    EXPECT_EQ(velvix::test::FirstDifference(arrived, expected), "");
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_EQ(QSettings().value("Uebertragen/Port").toString(), QString::fromStdString(pty.portPath()));
    for (const auto& file : files) {
        EXPECT_EQ(velvix::test::ReadFile(folder.path() / file.name), file.bytes) << "files are only read";
    }
}

TEST_F(Transfer, RemembersRateWayAndPort)
{
    ASSERT_NE(openWindow(), nullptr);
    typePort(QStringLiteral("/dev/ttyUSB7"));
    choose("Baud", QStringLiteral("19200"));
    QTest::mouseClick(control<QRadioButton>("WegRamDisk"), Qt::LeftButton);
    CloseAndDelete(drive->findChild<TransferWindow*>());

    ASSERT_NE(openWindow(), nullptr);
    EXPECT_EQ(control<PortBox>("Schnittstelle")->port(), "/dev/ttyUSB7");
    EXPECT_EQ(control<QComboBox>("Baud")->currentText(), "19200");
    EXPECT_TRUE(control<QRadioButton>("WegRamDisk")->isChecked());
    EXPECT_EQ(typedLines(),
              "INIT \"COM1:\",4096\nSETCOM \"COM1:\",19200,8,N,1,X,N\nCOPY \"COM1:\" TO \"S2:FILM0.VID\"");
    EXPECT_EQ(state(3), "") << "the loader goes to the RAM disk too";

    // Skipping the files the PC-1600 has leads to what to type there at the end.
    for (int file = 0; file < 4; ++file) {
        QTest::mouseClick(control<QPushButton>("Ueberspringen"), Qt::LeftButton);
    }
    EXPECT_EQ(typedLines(), "LOAD \"S2:FILM.BAS\"\nRUN\nBLOAD \"S2:VPLAYER.BIN\"");
}

TEST_F(Transfer, EveryFailureGivesItsBoxAndTheFileCanGoAgain)
{
    ASSERT_NE(openWindow(), nullptr);
    auto* senden = control<QPushButton>("Senden");

    typePort(QStringLiteral("/dev/velvix-gibt-es-nicht"));
    QTest::mouseClick(senden, Qt::LeftButton);
    ASSERT_EQ(boxes.seen.size(), 1U);
    EXPECT_TRUE(boxes.seen.back().text.contains("Es gibt sie nicht")) << boxes.seen.back().text.toStdString();

    // The far side reads nothing, so the line fills and the file is still going when Abbrechen is pressed.
    typePort(QString::fromStdString(pty.portPath()));
    QTest::mouseClick(senden, Qt::LeftButton);
    EXPECT_EQ(state(0), "wird gesendet");
    EXPECT_FALSE(senden->isEnabled());
    QTest::mouseClick(control<QPushButton>("Abbrechen"), Qt::LeftButton);
    ASSERT_EQ(boxes.seen.size(), 2U);
    EXPECT_TRUE(boxes.seen.back().text.contains("BREAK")) << boxes.seen.back().text.toStdString();
    EXPECT_EQ(state(0), "abgebrochen");
    EXPECT_TRUE(senden->isEnabled());
    EXPECT_TRUE(typedLines().endsWith("BLOAD \"COM1:\""));

    QTest::mouseClick(senden, Qt::LeftButton);
    pty.pullCable();
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.seen.size() == 3; }, 10000));
    EXPECT_TRUE(boxes.seen.back().text.startsWith("Beim Senden von FILM0.VID ist die Verbindung abgebrochen, nach "))
        << boxes.seen.back().text.toStdString();
    EXPECT_TRUE(boxes.seen.back().text.contains("von 28.145 Bytes"));

    const Bytes shorter = velvix::test::MakeVideoFiles("FILM", 10, false, false)[0].bytes; // made anew meanwhile
    velvix::test::WriteFile(folder.path() / "FILM0.VID", shorter);
    QTest::mouseClick(senden, Qt::LeftButton);
    ASSERT_EQ(boxes.seen.size(), 4U);
    EXPECT_TRUE(boxes.seen.back().text.contains("FILM0.VID hat sich geändert")) << boxes.seen.back().text.toStdString();
    EXPECT_EQ(control<QTreeWidget>("Dateien")->topLevelItem(0)->text(1), "6.270 Bytes") << "the list is read anew";
}

TEST_F(Transfer, AskedAfterALongHoldTheUserMayCancel)
{
    TransferWindow* window = TransferWindow::Open(drive, ToQString(folder.path()), QStringLiteral("FILM"),
                                                  {.poll = std::chrono::milliseconds(10),
                                                   .holdAfter = std::chrono::milliseconds(100),
                                                   .longHold = std::chrono::milliseconds(400)});
    ASSERT_NE(window, nullptr);
    typePort(QString::fromStdString(pty.portPath()));
    boxes.answer = QMessageBox::Cancel;
    QTest::mouseClick(control<QPushButton>("Senden"), Qt::LeftButton);
    pty.sendFromFar(velvix::test::kXoff);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            pty.readArrived(arrived);
            return boxes.seen.size() == 2;
        },
        10000));
    EXPECT_TRUE(boxes.seen[0].text.contains("hält die Übertragung von FILM0.VID seit"))
        << boxes.seen[0].text.toStdString();
    EXPECT_EQ(boxes.buttonTexts[0], (QStringList{"Abbrechen", "Weiter warten"}));
    EXPECT_TRUE(boxes.seen[1].text.contains("BREAK"));
    EXPECT_EQ(state(0), "abgebrochen");
    EXPECT_LT(arrived.size(), files[0].bytes.size());
}

TEST_F(Transfer, AFolderWithoutVideoSaysSo)
{
    std::filesystem::remove(folder.path() / "FILM0.VID");
    EXPECT_EQ(openWindow(), nullptr);
    ASSERT_EQ(boxes.seen.size(), 1U);
    EXPECT_TRUE(boxes.seen[0].text.startsWith("Im Ordner liegt kein Video")) << boxes.seen[0].text.toStdString();
}

} // namespace
} // namespace velvix::ui::test
