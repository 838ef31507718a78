// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "drive.h"

#include "folder_list.h"
#include "later_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>

// The Film button: a film (or a folder of images) to frames, which the
// window then shows as its frame folder.
namespace velvix::ui {

void Drive::Film_Click()
{
    auto* choose = new QFileDialog(this, QStringLiteral("Film wählen"), PfadOrdner->path());
    choose->setObjectName(QStringLiteral("FilmWahl"));
    choose->setAttribute(Qt::WA_DeleteOnClose);
    choose->setFileMode(QFileDialog::ExistingFile);
    choose->setNameFilters(
        {QStringLiteral("Filme (*.mp4 *.m4v *.mkv *.webm *.avi *.mov *.mpg *.mpeg *.wmv *.flv *.ogv *.3gp *.ts)"),
         QStringLiteral("Bilder, der ganze Ordner (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.webp)"),
         QStringLiteral("Alle Dateien (*)")});
    connect(choose, &QFileDialog::fileSelected, this, &Drive::openFilm);
    choose->open();
}

void Drive::openFilm(const QString& file)
{
    OpenFilmLater(this, file, Combo1->currentIndex(), converter_.budget().frameCapacity(),
                  [this](const QString& folder, int rateIndex, const QString& filmName) {
                      takeFilmFrames(folder, rateIndex, filmName);
                  });
}

void Drive::takeFilmFrames(const QString& folder, int rateIndex, const QString& filmName)
{
    openFolder(folder);
    Combo1->setCurrentIndex(rateIndex);
    Combo1_Click();
    VideoName->setText(filmName);
}

} // namespace velvix::ui
