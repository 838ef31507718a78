// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "drive.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <vector>

namespace velvix::ui::test {

// A message box as the user saw it.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;

    bool operator==(const SeenBox&) const = default;
};

void PrintTo(const SeenBox& box, std::ostream* os);

// Watches for modal message boxes while a handler runs, notes each one and
// presses `answer`, else the box's default button, else OK.
class BoxAnswerer {
public:
    BoxAnswerer();

    QMessageBox::StandardButton answer = QMessageBox::Ok;
    std::vector<SeenBox> seen;
    std::vector<QStringList> buttonTexts; // of each box seen

private:
    void answerOpenBox();

    QTimer timer_;
};

// A main window as it opens, shown and active. Every box it raises is
// answered and noted; afterwards no window may be left open.
class WindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <typename Widget> Widget* control(const char* name) const
    {
        auto* widget = drive->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Chooses an entry with the mouse from the opened list, as a user does.
    void choose(const char* list, const QString& entry);
    // Opens a folder of PfadOrdner with a double click.
    void doubleClickFolder(QTreeWidgetItem* item);
    void showFolder(const std::filesystem::path& folder);
    std::filesystem::path frameFolder() const { return drive->converter().frameFolder(); }

    BoxAnswerer boxes;
    QPointer<Drive> drive;
};

QString ToQString(const std::filesystem::path& path);

// Closes the window the way its close box does and lets it go.
void CloseAndDelete(QWidget* window);

} // namespace velvix::ui::test
