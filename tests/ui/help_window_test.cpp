// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include "help_window.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace velvix::ui::test {
namespace {

using Help = WindowTest;

QList<Form1*> OpenGuides()
{
    QList<Form1*> guides;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* guide = qobject_cast<Form1*>(window); guide != nullptr && guide->isVisible()) {
            guides.append(guide);
        }
    }
    return guides;
}

TEST_F(Help, OneModelessGuideThatOutlivesTheMainWindow)
{
    auto* help = control<QPushButton>("Hilfe");
    QTest::mouseClick(help, Qt::LeftButton);
    QTest::mouseClick(help, Qt::LeftButton);
    ASSERT_EQ(OpenGuides().size(), 1);
    Form1* guide = OpenGuides().front();
    EXPECT_EQ(guide->windowTitle(), "Hilfe");
    EXPECT_EQ(guide->windowModality(), Qt::NonModal);

    // The main window goes on working beside the guide.
    drive->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(drive));
    auto* name = control<QWidget>("VideoName");
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(OpenGuides(), QList<Form1*>{guide});

    CloseAndDelete(guide);
    EXPECT_TRUE(OpenGuides().isEmpty());
    QTest::mouseClick(help, Qt::LeftButton);
    ASSERT_EQ(OpenGuides().size(), 1);

    QTest::mouseClick(control<QPushButton>("Abbruch"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(drive.isNull());
    ASSERT_EQ(OpenGuides().size(), 1);
    CloseAndDelete(OpenGuides().front());
}

TEST_F(Help, GuideTextIsTheStoredGuideLineForLine)
{
    QTest::mouseClick(control<QPushButton>("Hilfe"), Qt::LeftButton);
    ASSERT_EQ(OpenGuides().size(), 1);
    auto* text = OpenGuides().front()->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->font().family(), "Arial");
    auto* licence = OpenGuides().front()->findChild<QLabel*>(QStringLiteral("Lizenz"));
    ASSERT_NE(licence, nullptr);
    EXPECT_TRUE(licence->text().contains("GNU GPL, Version 3 oder später"));

    const QByteArray stored = text->toPlainText().replace('\n', QStringLiteral("\r\n")).toUtf8();
    EXPECT_EQ(stored.count("\r\n"), 113);
    EXPECT_TRUE(stored.startsWith("Leitfaden um Videos für den PC-1600 zu erstellen.\r\n\r\n\r\nBenötigt:\r\n"));
    EXPECT_TRUE(stored.endsWith("\r\n\r\n\r\nViel Spaß mit Euren Videos,\r\nVelvix - 1.157\r\n"));
    // Every byte of the guide, blanks at line ends included.
    EXPECT_EQ(stored.size(), 3746);
    EXPECT_EQ(QCryptographicHash::hash(stored, QCryptographicHash::Sha256).toHex(),
              "e6bfe1adb04fe5eb8d63406eeaca00c32c141e9949fdf74b016151071daa8bf6");
    CloseAndDelete(OpenGuides().front());
}

} // namespace
} // namespace velvix::ui::test
