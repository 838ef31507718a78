// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// A whole run over a folder whose frame files come from the input: a handful
// of frames of any length and content, with every option on or off. The run
// must end with a box, never crash, and never write outside its folder and
// the backup beside it.
#include "converter.h"
#include "fake_host.h"
#include "fuzz_input.h"
#include "temp_folder.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::size_t CountEntries(const fs::path& folder)
{
    std::size_t count = 0;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        ++count;
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static velvix::test::TempFolder root;
    const fs::path frames = root.path() / "frames";
    const fs::path outside = root.path() / "outside";
    fs::remove_all(frames);
    fs::remove_all(root.path() / "frames_org");
    fs::remove_all(outside);
    fs::create_directory(frames);
    fs::create_directory(outside);

    velvix::fuzz::FuzzInput in{data, size};
    const std::uint8_t options = in.byte();
    velvix::test::FakeHost host;
    host.ticked[velvix::CheckBox::CheckVKomp] = options & 1;
    host.ticked[velvix::CheckBox::CheckvPlay] = options & 2;
    host.ticked[velvix::CheckBox::CheckStartBas] = options & 4;
    host.name = in.take(in.byte() % 12);

    velvix::Converter converter(host);
    converter.chooseStrength(in.byte() % 5);
    converter.budget().chooseFrameRate(in.byte() % 4);
    converter.budget().chooseSlot1(in.byte() % 4);
    converter.budget().chooseSlot2(in.byte() % 2);
    converter.setFrameFolder(frames);

    // Frames: a length byte pair, then that many bytes; a well-formed header
    // is far more likely from a seed than from chance, so seeds carry them.
    const int frameCount = 1 + in.byte() % 8;
    for (int n = 1; n <= frameCount && in.size > 0; ++n) {
        const std::size_t length = (in.byte() << 8 | in.byte()) % 1400;
        const std::string bytes = in.take(length);
        char name[16];
        std::snprintf(name, sizeof name, (n % 2) ? "B%03d.bmp" : "b%03d.BMP", n);
        std::ofstream(frames / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    converter.start();

    if (host.messages.empty() || CountEntries(outside) != 0) {
        std::abort();
    }
    for (const auto& entry : fs::directory_iterator(root.path())) {
        const std::string name = entry.path().filename().string();
        if (name != "frames" && name != "frames_org" && name != "outside") {
            std::abort(); // something was written beside the frame folder
        }
    }
    return 0;
}
