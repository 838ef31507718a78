// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include "folder_list.h"
#include "std_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>

namespace velvix::ui::test {
namespace {

using Startup = WindowTest;

enum class Font { None, Bold, Regular, List };

struct Control {
    const char* name;
    const char* text; // the caption, or nullptr for a control without one
    QRect geometry;
    Font font;
};

const Control kControls[] = {
    {"Label1", " Bilderordner wählen :", {16, 24, 145, 17}, Font::Bold},
    {"Laufwerk", nullptr, {16, 48, 193, 21}, Font::List},
    {"PfadOrdner", nullptr, {16, 71, 192, 186}, Font::List},
    {"FileOrdner", nullptr, {16, 256, 192, 162}, Font::List},
    {"Label2", "Video-Bilder pro Sekunde:", {240, 24, 177, 17}, Font::Bold},
    {"Combo1", nullptr, {440, 24, 89, 21}, Font::List},
    {"Text2", "Speicherausbau PC-1600  :", {240, 64, 169, 17}, Font::Bold},
    {"Text4", "Slot S1:", {360, 91, 57, 18}, Font::Bold},
    {"Combo2", nullptr, {440, 88, 89, 21}, Font::List},
    {"Text5", "Slot S2:", {360, 122, 57, 19}, Font::Bold},
    {"Combo3", nullptr, {440, 120, 89, 21}, Font::List},
    {"Text3", "Max.Videolänge ohne Kompression :", {240, 157, 233, 17}, Font::Bold},
    {"TextVideoLng", "3", {480, 155, 49, 24}, Font::Bold},
    {"Text6", "Video Name:", {240, 207, 89, 17}, Font::Bold},
    {"VideoName", "", {368, 207, 161, 24}, Font::Regular},
    {"Label5", "Videokompression:", {240, 245, 121, 17}, Font::Bold},
    {"CheckVKomp", "", {368, 245, 17, 17}, Font::None},
    {"Label6", "Stärke:", {408, 245, 57, 17}, Font::Bold},
    {"ComboVKompST", nullptr, {464, 245, 65, 21}, Font::List},
    {"Label7", "Videolänge auf dem PC-1600 (Sek.) :", {240, 283, 233, 17}, Font::Bold},
    {"TextVidSekReal", "", {480, 283, 49, 24}, Font::Bold},
    {"Label3", "Videoplayer für den PC-1600 erzeugen:", {240, 337, 257, 17}, Font::Bold},
    {"CheckvPlay", "", {512, 337, 17, 17}, Font::None},
    {"Label4", "Basic Startprogramm erzeugen:", {240, 363, 209, 17}, Font::Bold},
    {"CheckStartBas", "", {512, 363, 17, 17}, Font::None},
    {"Eingabe", "Start", {232, 400, 89, 25}, Font::Regular},
    {"Abbruch", "Abbruch", {344, 400, 89, 25}, Font::Regular},
    {"Hilfe", "Hilfe", {456, 400, 81, 25}, Font::Regular},
    {"Film", "Film…", {16, 448, 193, 25}, Font::Regular},
    {"Vorschau", "Vorschau", {232, 448, 89, 25}, Font::Regular},
    {"Uebertragen", "Übertragen", {344, 448, 89, 25}, Font::Regular},
};

QString TextOf(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    return {};
}

TEST_F(Startup, EveryControlHasItsPlaceCaptionAndFont)
{
    EXPECT_EQ(drive->windowTitle(), "Velvix - 1.157");
    EXPECT_EQ(drive->size(), QSize(554, 485));
    EXPECT_EQ(drive->minimumSize(), drive->maximumSize());

    for (const Control& c : kControls) {
        SCOPED_TRACE(c.name);
        auto* widget = control<QWidget>(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), c.geometry);
        if (c.text != nullptr) {
            const QString text = QString::fromUtf8(c.text);
            EXPECT_EQ(TextOf(widget), text);
            // A caption must not be cut off in its box.
            EXPECT_LE(QFontMetrics(widget->font()).horizontalAdvance(text), widget->contentsRect().width());
        }
        if (c.font != Font::None) {
            EXPECT_EQ(widget->font().family(), "Arial");
            EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), c.font == Font::List ? 8.25 : 9.75);
            EXPECT_EQ(widget->font().bold(), c.font == Font::Bold);
            // Arial itself or a face with its metrics, not a fallback that breaks the layout.
            const QString face = QFontInfo(widget->font()).family();
            EXPECT_TRUE(face == "Arial" || face == "Liberation Sans") << face.toStdString();
        }
    }
}

TEST_F(Startup, TwoLinesSeparateTheGroups)
{
    QList<QRect> lines;
    for (QFrame* line : drive->findChildren<QFrame*>(QStringLiteral("Line1"))) {
        lines.append(line->geometry());
    }
    std::sort(lines.begin(), lines.end(), [](const QRect& a, const QRect& b) { return a.y() < b.y(); });
    EXPECT_EQ(lines, (QList<QRect>{{240, 192, 289, 1}, {240, 319, 289, 1}}));
}

TEST_F(Startup, ListsHoldTheirEntriesAndShowTheStartChoice)
{
    struct List {
        const char* name;
        QStringList entries;
        const char* chosen;
    };
    const List lists[] = {
        {"ComboVKompST", {"5%", "6%", "7%", "8%", "9%"}, "7%"},
        {"Combo1", {"4 Bilder/Sek", "5 Bilder/Sek", "6 Bilder/Sek", "8 Bilder/Sek"}, "6 Bilder/Sek"},
        {"Combo2", {"0 KB", "8 KB", "16 KB", "32 KB"}, "0 KB"},
        {"Combo3", {"0 KB", "32 KB"}, "0 KB"},
    };
    for (const List& list : lists) {
        SCOPED_TRACE(list.name);
        auto* box = control<QComboBox>(list.name);
        QStringList entries;
        for (int i = 0; i < box->count(); ++i) {
            entries.append(box->itemText(i));
        }
        EXPECT_EQ(entries, list.entries);
        EXPECT_EQ(box->currentText(), list.chosen);

        // Every entry fits the box beside the arrow.
        QStyleOptionComboBox option;
        option.initFrom(box);
        const int room =
            box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width();
        for (const QString& entry : entries) {
            EXPECT_LE(box->fontMetrics().horizontalAdvance(entry), room) << entry.toStdString();
        }
        // Opened, the list shows them in the box's font too.
        box->showPopup();
        EXPECT_EQ(box->view()->font(), box->font());
        box->hidePopup();
    }
}

TEST_F(Startup, SettingsAreTheDefaultsAndStartHasTheFocus)
{
    EXPECT_EQ(frameFolder(), ToPath(QCoreApplication::applicationDirPath()));
    EXPECT_EQ(control<FolderList>("PfadOrdner")->path(), QCoreApplication::applicationDirPath());
    EXPECT_TRUE(control<QCheckBox>("CheckVKomp")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CheckvPlay")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CheckStartBas")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CheckKompakt")->isChecked());

    const Converter& converter = drive->converter();
    EXPECT_EQ(converter.similarityThreshold(), 595);
    EXPECT_EQ(converter.budget().framesPerSecond(), 6);
    EXPECT_EQ(converter.budget().baseFrameTime(), 23);
    EXPECT_EQ(converter.budget().frameCapacity(), 18);

    EXPECT_TRUE(control<QPushButton>("Eingabe")->isDefault());
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("Eingabe"));
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Startup, PlayTimeIsShownInRed)
{
    EXPECT_EQ(control<QLineEdit>("TextVidSekReal")->palette().color(QPalette::Text), QColor(255, 0, 0));
}

} // namespace
} // namespace velvix::ui::test
