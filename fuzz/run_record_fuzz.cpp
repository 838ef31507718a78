// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Any bytes as the record a run leaves in its frame folder: a record that
// reads at all names nothing but frames and a folder beside the frame folder,
// and reads back the same once written again.
#include "file_io.h"
#include "run_record.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto record = velvix::ParseRunRecord(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!record) {
        return 0;
    }
    if (velvix::ParseRunRecord(velvix::FormatRunRecord(*record)) != record) {
        std::abort();
    }
    const std::filesystem::path folder = "/films/Katze";
    auto staysIn = [](const std::filesystem::path& parent, const std::string& name) {
        const std::filesystem::path path = (parent / velvix::PathFromUtf8(name)).lexically_normal();
        return path.parent_path() == parent && path.filename() == velvix::PathFromUtf8(name);
    };
    if (!staysIn(folder.parent_path(), record->backupName)) {
        std::abort();
    }
    for (const std::string& name : record->foundNames) {
        if (!staysIn(folder, name)) {
            std::abort();
        }
    }
    return 0;
}
