// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "drive.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Where QSettings keeps the user's remembered choices.
    QCoreApplication::setOrganizationName(QStringLiteral("Velvix"));
    QCoreApplication::setApplicationName(QStringLiteral("Velvix"));
    // Qt's own texts (the name field's context menu, for one) in German like the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(&qtTexts);
    }
    auto* window = new velvix::ui::Drive; // deletes itself when closed
    window->show();
    return app.exec();
}
