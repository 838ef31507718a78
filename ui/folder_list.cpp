#include "folder_list.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>

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

} // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent)
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
        open = addEntry(open, folder, name.isEmpty() ? QDir::toNativeSeparators(folder) : name, QStyle::SP_DirOpenIcon);
    }
    const QDir dir(path_);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        addEntry(open, dir.filePath(name), name, QStyle::SP_DirClosedIcon);
    }
    expandAll();
    setCurrentItem(open);
    emit pathChanged();
}

QTreeWidgetItem* FolderList::addEntry(QTreeWidgetItem* above, const QString& path, const QString& text,
                                      QStyle::StandardPixmap icon)
{
    auto* item = above ? new QTreeWidgetItem(above) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setIcon(0, style()->standardIcon(icon));
    item->setData(0, kPathRole, path);
    return item;
}

} // namespace velvix::ui
