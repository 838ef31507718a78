// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include "folder_list.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QPushButton>
#include <QApplication>
#include <QTest>

namespace velvix::ui::test {

void PrintTo(const SeenBox& box, std::ostream* os)
{
    *os << "{" << box.title.toStdString() << " | " << box.text.toStdString() << " | icon " << box.icon << " | buttons "
        << box.buttons.toInt() << "}";
}

BoxAnswerer::BoxAnswerer()
{
    QObject::connect(&timer_, &QTimer::timeout, [this] { answerOpenBox(); });
    timer_.start(10);
}

void BoxAnswerer::answerOpenBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
    QStringList texts;
    for (QAbstractButton* button : box->buttons()) {
        texts.append(button->text());
    }
    texts.sort();
    buttonTexts.push_back(texts);
    QAbstractButton* button = box->button(answer);
    if (button == nullptr) {
        button = box->defaultButton(); // a box with choices of its own
    }
    (button != nullptr ? button : box->button(QMessageBox::Ok))->click();
}

QString ToQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

void CloseAndDelete(QWidget* window)
{
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WindowTest::SetUp()
{
    drive = new Drive;
    drive->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(drive));
}

void WindowTest::TearDown()
{
    if (drive) {
        CloseAndDelete(drive);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QWidgetList left = QApplication::topLevelWidgets();
    for (QWidget* window : left) {
        ADD_FAILURE() << "window left open: " << window->windowTitle().toStdString();
    }
    qDeleteAll(left);
}

void WindowTest::choose(const char* list, const QString& entry)
{
    auto* box = control<QComboBox>(list);
    const int index = box->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    box->showPopup();
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    // Walk to the entry in the open list and take it with Enter. (A mouse
    // click right after opening is dropped on purpose by the list.)
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_FALSE(view->isVisible());
}

void WindowTest::doubleClickFolder(QTreeWidgetItem* item)
{
    ASSERT_NE(item, nullptr);
    auto* list = control<FolderList>("PfadOrdner");
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void WindowTest::showFolder(const std::filesystem::path& folder)
{
    control<FolderList>("PfadOrdner")->setPath(ToQString(folder));
}

} // namespace velvix::ui::test
