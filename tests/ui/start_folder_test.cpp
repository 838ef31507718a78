// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "start_folder.h"

#include "frame_files.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <ostream>

namespace velvix::ui::test {
namespace {

using velvix::test::TempFolder;
using velvix::test::WriteFile;

enum class Opens { OwnFolder, Remembered, Home };

struct Case {
    const char* name;    // of the case, as gtest shows it
    const char* program; // absolute, or relative to the test's folder
    const char* remembered;
    Opens opens;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// The test's folder holds "frames" (a frame folder), "build/app" (a build),
// "prefix/bin" with "prefix/share/applications/velvix.desktop" (installed by
// cmake --install) and "other/bin" (a bin folder without the menu entry).
const Case kCases[] = {
    {"Package", "/usr/bin", "frames", Opens::Remembered},
    {"CmakeInstall", "/usr/local/bin", "frames", Opens::Remembered},
    {"LinkBin", "/bin", "frames", Opens::Remembered},
    {"OtherPrefix", "prefix/bin", "frames", Opens::Remembered},
    {"RememberedGone", "/usr/bin", "gone", Opens::Home},
    {"NothingRemembered", "/usr/bin", "", Opens::Home},
    {"RememberedIsAFile", "/usr/bin", "frames/B001.BMP", Opens::Home},
    {"BuildFolder", "build/app", "frames", Opens::OwnFolder},
    {"BinWithoutMenuEntry", "other/bin", "frames", Opens::OwnFolder},
};

class StartFolderTest : public testing::TestWithParam<Case> {
protected:
    StartFolderTest()
    {
        for (const char* folder : {"frames", "build/app", "prefix/bin", "prefix/share/applications", "other/bin"}) {
            std::filesystem::create_directories(root.path() / folder);
        }
        WriteFile(root.path() / "frames" / "B001.BMP", velvix::test::BlankFrame());
        WriteFile(root.path() / "prefix/share/applications/velvix.desktop", {});
    }

    std::filesystem::path absolute(const char* path) const
    {
        return *path == '/' || *path == '\0' ? std::filesystem::path(path) : root.path() / path;
    }

    TempFolder root;
};

TEST_P(StartFolderTest, OpensWhereTheUserKeepsFrames)
{
    const Case& c = GetParam();
    const std::filesystem::path program = absolute(c.program);
    const std::filesystem::path remembered = absolute(c.remembered);
    const std::filesystem::path home = root.path() / "home";
    const std::filesystem::path expected = c.opens == Opens::OwnFolder    ? program
                                           : c.opens == Opens::Remembered ? remembered
                                                                          : home;

    EXPECT_EQ(StartFolder(program, remembered, home), expected);
    EXPECT_EQ(IsSystemFolder(program), c.opens != Opens::OwnFolder);
}

INSTANTIATE_TEST_SUITE_P(Programs, StartFolderTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
} // namespace velvix::ui::test
