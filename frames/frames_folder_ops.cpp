#include "frames_folder_ops.h"

namespace velvix::frames {

namespace fs = std::filesystem;

std::error_code FramesFolderOps::list(const fs::path& folder, std::vector<fs::path>& entries)
{
    entries.clear();
    std::error_code ec;
    if (!fs::exists(folder, ec)) {
        return ec;
    }
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        entries.push_back(it->path());
    }
    return ec;
}

std::optional<IoError> FramesFolderOps::writeFile(const fs::path& file, std::span<const std::uint8_t> bytes)
{
    return WriteWholeFile(file, bytes);
}

FramesFolderOps& DefaultFramesFolderOps()
{
    static FramesFolderOps ops;
    return ops;
}

} // namespace velvix::frames
