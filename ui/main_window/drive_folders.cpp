// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "drive.h"

#include "folder_list.h"
#include "later_window.h"
#include "message_box.h"
#include "start_folder.h"
#include "std_qt.h"
#include "system_reason.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QStorageInfo>

#include <filesystem>
#include <system_error>

// Drive, folder and file lists: how the window finds its frame folder.
namespace velvix::ui {

namespace {

// Empty when the folder can be listed; otherwise the system's reason.
std::error_code FolderReadError(const QString& path)
{
    std::error_code error;
    std::filesystem::directory_iterator probe(ToPath(path), error);
    return error;
}

Message Unreadable(const char* what, const QString& path, const std::error_code& error)
{
    return {"Fehler",
            std::string(what) + " kann nicht gelesen werden:\r\n" + ToUtf8(QDir::toNativeSeparators(path)) +
                "\r\nGrund: " + SystemReason(error),
            Message::Icon::Warning, Message::Buttons::Ok};
}

} // namespace

void Drive::openFolder(const QString& path)
{
    if (const std::error_code error = FolderReadError(path)) {
        ShowMessageBox(this, Unreadable("Der Ordner", path, error));
        return;
    }
    PfadOrdner->setPath(path);
}

void Drive::Laufwerk_Change()
{
    const QString root = Laufwerk->currentData().toString();
    if (const std::error_code error = FolderReadError(root)) {
        ShowMessageBox(this, Unreadable("Das Laufwerk", root, error));
        showDrives(); // back to the drive of the folder still shown
        return;
    }
    PfadOrdner->setPath(root);
}

void Drive::PfadOrdner_Change()
{
    converter_.setFrameFolder(ToPath(PfadOrdner->path()));
    listBitmaps();
    showDrives();
    if (SettleSwapLater(this, converter_.frameFolder(), *this) || SettleRunLater(this, converter_)) {
        listBitmaps(); // restored or finished: other bitmaps
    }
}

// The clicked entry means nothing; the list is read again from the frame folder.
void Drive::FileOrdner_Click() { listBitmaps(); }

void Drive::listBitmaps()
{
    FileOrdner->clear();
    // The suffix compared by hand: a name filter would bring in the regular expression engine at start.
    for (const QString& name : QDir(PfadOrdner->path()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (name.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive)) {
            FileOrdner->addItem(name);
        }
    }
    // Opened with frames in it, or written by a run: the installed program starts here next time.
    if (FileOrdner->count() > 0) {
        RememberFrameFolder(PfadOrdner->path());
    }
}

// Drives are the file-system roots and mount points (drive letters on
// Windows), read anew each time so that a volume mounted meanwhile appears;
// the one holding the open folder is shown.
void Drive::showDrives()
{
    QString current = QStorageInfo(PfadOrdner->path()).rootPath();
    if (current.isEmpty()) {
        current = QDir::rootPath(); // a root that is no mount point, as inside a chroot
    }
    QStringList roots{current};
    for (const QFileInfo& drive : QDir::drives()) {
        roots.append(drive.absoluteFilePath());
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        roots.append(volume.rootPath());
    }
    roots.removeAll(QString());
    roots.removeDuplicates();
    roots.sort();

    Laufwerk->clear();
    for (const QString& root : roots) {
        Laufwerk->addItem(QDir::toNativeSeparators(root), root);
    }
    Laufwerk->setCurrentIndex(roots.indexOf(current));
}

} // namespace velvix::ui
