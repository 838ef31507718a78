// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "help_window.h"

#include "guide_text.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace velvix::ui {

Form1* Form1::Show()
{
    static QPointer<Form1> window; // cleared when the user closes the window
    if (!window) {
        window = new Form1;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

Form1::Form1()
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Hilfe"));
    resize(480, 600);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(9.75);
    Text1->setFont(arial);
    Text1->setReadOnly(true);
    QString guide = GuideText();
    Text1->setPlainText(guide.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    // The licence below the guide, which stays as it has always been.
    auto* licence =
        new QLabel(QStringLiteral("Velvix ist freie Software unter der GNU GPL, Version 3 oder später."), this);
    licence->setObjectName(QStringLiteral("Lizenz"));
    licence->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(licence);
}

} // namespace velvix::ui
