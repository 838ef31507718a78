// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "converter.h"
#include "fake_host.h"
#include "frame_files.h"
#include "temp_folder.h"

#include <algorithm>
#include <map>
#include <string>

namespace velvix::test {

// A converter as the window leaves it after start-up, pointed at a fresh
// frame folder, with every box clear.
struct ConverterFixture {
    FakeHost host;
    Converter converter{host};
    TempFolder folder;
    std::filesystem::path frames = folder.path(); // where the converter looks for frames

    // Frames in a subfolder, so the backup folder beside it stays inside the temporary folder.
    void useSubfolder(const std::string& name)
    {
        frames = folder.path() / name;
        std::filesystem::create_directory(frames);
        converter.setFrameFolder(frames);
    }

    ConverterFixture()
    {
        converter.budget().chooseFrameRate(2);
        converter.budget().chooseSlot1(0);
        converter.budget().chooseSlot2(0);
        converter.setFrameFolder(folder.path());
    }

    // One press of Start with this name typed.
    void start(const std::string& name = "Film")
    {
        host.name = name;
        host.clearRecords();
        converter.start();
    }

    void chooseMemory(int slot1, int slot2)
    {
        converter.budget().chooseSlot1(slot1);
        converter.budget().chooseSlot2(slot2);
    }

    // Every file in a folder (the frame folder unless told) by name, with its bytes.
    std::map<std::string, Bytes> snapshot(const std::filesystem::path& at = {}) const
    {
        std::map<std::string, Bytes> files;
        for (const auto& entry : std::filesystem::directory_iterator(at.empty() ? frames : at)) {
            files[entry.path().filename().string()] =
                entry.is_regular_file() ? ReadFile(entry.path()) : Bytes{'d', 'i', 'r'};
        }
        return files;
    }

    Bytes output(const std::string& name) const { return ReadFile(frames / name); }

    std::vector<std::string> titles() const
    {
        std::vector<std::string> result;
        for (const auto& m : host.messages) {
            result.push_back(m.title);
        }
        return result;
    }
};

} // namespace velvix::test
