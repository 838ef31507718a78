// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPolygon>

namespace velvix::ui {

namespace {

constexpr int kPathRole = Qt::UserRole;

// The folder and every folder above it, the root first.
QStringList FoldersDownTo(const QString& path)
{
    QStringList chain;
    for (QString folder = path;;) {
        chain.prepend(folder);
        const QString above = QFileInfo(folder).path();
        if (above == folder) {
            return chain;
        }
        folder = above;
    }
}

// A folder drawn rather than loaded: the style's own folder images go through every image plugin
// on the system, which costs the program's start more than the whole list.
QIcon FolderIcon(bool open)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x8a, 0x6d, 0x1a));
    painter.setBrush(QColor(0xe6, 0xbf, 0x52));
    painter.drawPolygon(
        QPolygon({QPoint(1, 3), QPoint(6, 3), QPoint(7, 4), QPoint(14, 4), QPoint(14, 13), QPoint(1, 13)}));
    if (open) {
        // The front flap tilted forward.
        painter.setBrush(QColor(0xf6, 0xdc, 0x8a));
        painter.drawPolygon(QPolygon({QPoint(4, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    }
    return QIcon(pixmap);
}

} // namespace

FolderList::FolderList(QWidget* parent)
    : QTreeWidget(parent), openFolder_(FolderIcon(true)), closedFolder_(FolderIcon(false))
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(10);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { emit openRequested(item->data(0, kPathRole).toString()); });
}

void FolderList::setPath(const QString& path)
{
    path_ = QDir::cleanPath(path);
    clear();

    QTreeWidgetItem* open = nullptr;
    for (const QString& folder : FoldersDownTo(path_)) {
        const QString name = QFileInfo(folder).fileName();
        open = addEntry(open, folder, name.isEmpty() ? QDir::toNativeSeparators(folder) : name, openFolder_);
    }
    const QDir dir(path_);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        addEntry(open, dir.filePath(name), name, closedFolder_);
    }
    expandAll();
    setCurrentItem(open);
    emit pathChanged();
}

QTreeWidgetItem* FolderList::addEntry(QTreeWidgetItem* above, const QString& path, const QString& text,
                                      const QIcon& icon)
{
    auto* item = above ? new QTreeWidgetItem(above) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setIcon(0, icon);
    item->setData(0, kPathRole, path);
    return item;
}

} // namespace velvix::ui
