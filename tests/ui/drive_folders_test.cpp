// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include "folder_list.h"
#include "frame_files.h"
#include "std_qt.h"
#include "temp_folder.h"

#include <QDir>
#include <QListWidget>
#include <QSettings>
#include <QTest>

namespace velvix::ui::test {
namespace {

using velvix::test::BlankFrame;
using velvix::test::TempFolder;
using velvix::test::WriteFile;

class Folders : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        std::filesystem::create_directory(root.path() / "beta");
        std::filesystem::create_directory(root.path() / "Alpha");
        for (const char* name : {"b001.bmp", "x.BMP", "note.txt", "B002.Bmp", "bmp"}) {
            WriteFile(root.path() / "Alpha" / name, BlankFrame());
        }
        std::filesystem::create_directory(root.path() / "Alpha" / "folder.bmp");
        showFolder(root.path());
    }

    QTreeWidgetItem* entry(const QString& text) const
    {
        const QList<QTreeWidgetItem*> found =
            control<FolderList>("PfadOrdner")->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.size() == 1 ? found.first() : nullptr;
    }

    QStringList bitmapsListed() const
    {
        QStringList names;
        auto* files = control<QListWidget>("FileOrdner");
        for (int i = 0; i < files->count(); ++i) {
            names.append(files->item(i)->text());
        }
        return names;
    }

    TempFolder root;
};

TEST_F(Folders, ListShowsThePathDownToTheFolderThenItsSubfolders)
{
    auto* list = control<FolderList>("PfadOrdner");
    QStringList shown;
    for (QTreeWidgetItem* item = list->topLevelItem(0); item != nullptr; item = list->itemBelow(item)) {
        shown.append(item->text(0));
    }
    QStringList expected{"/"};
    expected += ToQString(root.path()).split('/', Qt::SkipEmptyParts);
    expected += {"Alpha", "beta"};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(list->currentItem()->text(0), ToQString(root.path().filename()));
    EXPECT_EQ(frameFolder(), root.path());
}

TEST_F(Folders, DoubleClickOpensASubfolderAndTheFolderAbove)
{
    doubleClickFolder(entry("Alpha"));
    EXPECT_EQ(frameFolder(), root.path() / "Alpha");
    EXPECT_EQ(control<FolderList>("PfadOrdner")->currentItem()->text(0), "Alpha");
    // Any letter case of ".bmp", files only.
    EXPECT_EQ(bitmapsListed(), (QStringList{"b001.bmp", "B002.Bmp", "x.BMP"}));
    const QString alpha = ToQString(root.path() / "Alpha");
    EXPECT_EQ(QSettings().value("Ordner/Zuletzt").toString(), alpha) << "a folder with frames is remembered";

    doubleClickFolder(entry(ToQString(root.path().filename())));
    EXPECT_EQ(frameFolder(), root.path());
    EXPECT_TRUE(bitmapsListed().isEmpty());
    EXPECT_EQ(QSettings().value("Ordner/Zuletzt").toString(), alpha) << "one without frames is not";
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Folders, AFolderThatCannotBeReadIsRefusedAndTheFrameFolderStays)
{
    std::filesystem::remove(root.path() / "beta");
    doubleClickFolder(entry("beta"));

    ASSERT_EQ(boxes.seen.size(), 1u);
    const SeenBox& box = boxes.seen.front();
    EXPECT_EQ(box.title, "Fehler");
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.buttons, QMessageBox::Ok);
    EXPECT_TRUE(
        box.text.startsWith("Der Ordner kann nicht gelesen werden:\n" + ToQString(root.path() / "beta") + "\nGrund: "))
        << box.text.toStdString();
    EXPECT_EQ(frameFolder(), root.path());
    EXPECT_EQ(control<FolderList>("PfadOrdner")->path(), ToQString(root.path()));
}

TEST_F(Folders, ClickingAFileReadsTheFolderAgain)
{
    doubleClickFolder(entry("Alpha"));
    WriteFile(root.path() / "Alpha" / "B003.BMP", BlankFrame());
    auto* files = control<QListWidget>("FileOrdner");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
    EXPECT_EQ(bitmapsListed(), (QStringList{"b001.bmp", "B002.Bmp", "B003.BMP", "x.BMP"}));
    EXPECT_EQ(frameFolder(), root.path() / "Alpha");
}

TEST_F(Folders, ChoosingADriveOpensItsTopFolder)
{
    auto* drives = control<QComboBox>("Laufwerk");
    EXPECT_TRUE(ToQString(root.path()).startsWith(drives->currentData().toString())) << "drive of the folder shown";

    choose("Laufwerk", "/");
    EXPECT_EQ(frameFolder(), std::filesystem::path("/"));
    EXPECT_EQ(control<FolderList>("PfadOrdner")->path(), "/");
    EXPECT_EQ(drives->currentText(), "/");
    EXPECT_TRUE(boxes.seen.empty());
}

} // namespace
} // namespace velvix::ui::test
