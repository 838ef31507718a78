// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <QIcon>
#include <QString>
#include <QTreeWidget>

namespace velvix::ui {

// The classic folder list: the path from the root down to the open folder,
// each step indented one further, then the subfolders of the open folder.
// A double click on any entry asks to open that folder.
class FolderList : public QTreeWidget {
    Q_OBJECT

public:
    explicit FolderList(QWidget* parent = nullptr);

    // Shows the absolute `path`; the caller has made sure it can be read.
    void setPath(const QString& path);
    const QString& path() const { return path_; }

signals:
    void openRequested(const QString& path);
    void pathChanged();

protected:
    // Every entry is always open, so there are no branch marks to click.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    QTreeWidgetItem* addEntry(QTreeWidgetItem* above, const QString& path, const QString& text, const QIcon& icon);

    QString path_;
    const QIcon openFolder_;
    const QIcon closedFolder_;
};

} // namespace velvix::ui
