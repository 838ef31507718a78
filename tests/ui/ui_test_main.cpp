// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // CTest sets the platform too; this default also covers listing the
    // tests at build time, where no display may exist.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Remembered choices go to a test folder, never into the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    // Each test process starts with none, whatever tests run beside it.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("Velvix"));
    QCoreApplication::setApplicationName(QStringLiteral("Velvix"));
    return RUN_ALL_TESTS();
}
