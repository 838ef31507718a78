// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "host.h"

#include <charconv>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace velvix {

inline void PrintTo(const Message& m, std::ostream* os)
{
    *os << "{" << m.title << " | " << m.text << " | " << (m.icon == Message::Icon::Warning ? "warning" : "information")
        << " | " << (m.buttons == Message::Buttons::Ok ? "OK" : "OK, Cancel") << "}";
}

} // namespace velvix

namespace velvix::test {

// Stands in for the window: answers the name and the boxes, records
// everything the conversion shows.
class FakeHost : public Host {
public:
    std::string name;
    std::map<CheckBox, bool> ticked;
    char decimalSeparator = '.';
    std::function<void(const Message&)> onMessage; // runs while a box is open, as a user could act then
    int choice = 0;                                 // the answer to every box with choices

    std::vector<Message> messages;
    std::vector<std::string> textVideoLng;
    std::vector<std::string> textVidSekReal;
    std::vector<std::string> compactFit;
    std::vector<int> slot2Choices;
    std::vector<std::string> namesSet;
    int focusRequests = 0;

    std::string videoName() const override { return name; }
    bool isTicked(CheckBox box) const override
    {
        const auto it = ticked.find(box);
        return it != ticked.end() && it->second;
    }
    void setVideoName(const std::string& text) override
    {
        name = text;
        namesSet.push_back(text);
    }
    void focusVideoName() override { ++focusRequests; }
    void setTextVideoLng(const std::string& text) override { textVideoLng.push_back(text); }
    void setTextVidSekReal(const std::string& text) override { textVidSekReal.push_back(text); }
    void showCompactFit(const std::string& text) override { compactFit.push_back(text); }
    void showSlot2Choice(int index) override { slot2Choices.push_back(index); }
    void showMessage(const Message& message) override
    {
        messages.push_back(message);
        if (onMessage) {
            onMessage(message);
        }
    }
    int choose(const Message& message) override
    {
        showMessage(message);
        return choice;
    }
    std::string formatDecimal(double value) const override
    {
        char text[64];
        const auto end = std::to_chars(text, text + sizeof text, value).ptr;
        std::string result(text, end);
        for (char& c : result) {
            if (c == '.') {
                c = decimalSeparator;
            }
        }
        return result;
    }

    void clearRecords()
    {
        messages.clear();
        textVideoLng.clear();
        textVidSekReal.clear();
        compactFit.clear();
        slot2Choices.clear();
        namesSet.clear();
        focusRequests = 0;
    }
};

} // namespace velvix::test
