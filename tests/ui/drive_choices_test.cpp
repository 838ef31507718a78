// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "window_test.h"

#include <QLineEdit>

namespace velvix::ui::test {
namespace {

using Choices = WindowTest;

const SeenBox kSlotWarning{"Warnung",
                           "Nur bei einer 32KB Erweiterung in Slot1,\nwird eine 32KB Erweiterung in Slot2 unterstützt.",
                           QMessageBox::Warning, QMessageBox::Ok};

struct SlotCase {
    const char* story;
    std::vector<std::pair<const char*, const char*>> choices; // list, entry
    int warnings;
    const char* slot2Shown;
    int capacity;
    const char* longest; // TextVideoLng at 6 frames per second
};

void PrintTo(const SlotCase& c, std::ostream* os) { *os << c.story; }

class SlotRules : public WindowTest, public testing::WithParamInterface<SlotCase> {};

TEST_P(SlotRules, FollowEachChoice)
{
    const SlotCase& c = GetParam();
    for (const auto& [list, entry] : c.choices) {
        choose(list, QString::fromUtf8(entry));
    }
    EXPECT_EQ(boxes.seen, std::vector<SeenBox>(static_cast<std::size_t>(c.warnings), kSlotWarning));
    EXPECT_EQ(control<QComboBox>("Combo3")->currentText(), c.slot2Shown);
    EXPECT_EQ(drive->converter().budget().frameCapacity(), c.capacity);
    EXPECT_EQ(control<QLineEdit>("TextVideoLng")->text(), c.longest);
}

INSTANTIATE_TEST_SUITE_P(
    Drive, SlotRules,
    testing::Values(
        SlotCase{"S2 without S1", {{"Combo3", "32 KB"}}, 1, "0 KB", 18, "3"},
        SlotCase{"S2 behind 16 KB", {{"Combo2", "16 KB"}, {"Combo3", "32 KB"}}, 1, "0 KB", 45, "8"},
        SlotCase{"S2 refused twice", {{"Combo3", "32 KB"}, {"Combo3", "32 KB"}}, 2, "0 KB", 18, "3"},
        SlotCase{"both 32 KB", {{"Combo2", "32 KB"}, {"Combo3", "32 KB"}}, 0, "32 KB", 120, "20"},
        SlotCase{
            "S2 chosen again", {{"Combo2", "32 KB"}, {"Combo3", "32 KB"}, {"Combo3", "32 KB"}}, 0, "32 KB", 120, "20"},
        SlotCase{
            "S1 lowered behind S2", {{"Combo2", "32 KB"}, {"Combo3", "32 KB"}, {"Combo2", "8 KB"}}, 1, "0 KB", 31, "5"},
        SlotCase{"S1 kept at 32 KB",
                 {{"Combo2", "32 KB"}, {"Combo3", "32 KB"}, {"Combo2", "32 KB"}},
                 0,
                 "32 KB",
                 120,
                 "20"}),
    [](const testing::TestParamInfo<SlotCase>& info) {
        std::string name = info.param.story;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(Choices, LongestVideoFollowsRateAndMemory)
{
    struct Memory {
        const char *slot1, *slot2;
    };
    const Memory memories[] = {
        {"0 KB", "0 KB"}, {"8 KB", "0 KB"}, {"16 KB", "0 KB"}, {"32 KB", "0 KB"}, {"32 KB", "32 KB"},
    };
    const char* rates[] = {"4 Bilder/Sek", "5 Bilder/Sek", "6 Bilder/Sek", "8 Bilder/Sek"};
    const char* longest[5][4] = {{"4", "4", "3", "2"},
                                 {"8", "6", "5", "4"},
                                 {"11", "9", "8", "6"},
                                 {"18", "14", "12", "9"},
                                 {"30", "24", "20", "15"}};
    for (int m = 0; m < 5; ++m) {
        choose("Combo3", "0 KB");
        choose("Combo2", memories[m].slot1);
        choose("Combo3", memories[m].slot2);
        for (int r = 0; r < 4; ++r) {
            choose("Combo1", rates[r]);
            EXPECT_EQ(control<QLineEdit>("TextVideoLng")->text(), longest[m][r])
                << memories[m].slot1 << " + " << memories[m].slot2 << ", " << rates[r];
        }
    }
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(Choices, ChoosingTheShownEntryAgainRunsItsHandling)
{
    auto* longest = control<QLineEdit>("TextVideoLng");
    longest->clear();
    choose("Combo1", "6 Bilder/Sek");
    EXPECT_EQ(longest->text(), "3");
}

TEST_F(Choices, StrengthSetsTheThreshold)
{
    const std::pair<const char*, int> strengths[] = {{"5%", 608}, {"6%", 601}, {"7%", 595}, {"8%", 588}, {"9%", 582}};
    for (const auto& [entry, threshold] : strengths) {
        choose("ComboVKompST", entry);
        EXPECT_EQ(drive->converter().similarityThreshold(), threshold) << entry;
    }
}

} // namespace
} // namespace velvix::ui::test
