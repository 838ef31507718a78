#pragma once

#include <filesystem>
#include <system_error>

namespace velvix {

// The file operations that rewrite a frame folder. A seam, so tests can make
// any one of them fail.
class FolderOps {
public:
    virtual ~FolderOps() = default;
    virtual std::error_code createFolder(const std::filesystem::path& folder);
    // Replaces an existing file at `to`.
    virtual std::error_code copy(const std::filesystem::path& from, const std::filesystem::path& to);
    virtual std::error_code remove(const std::filesystem::path& file);
    virtual std::error_code rename(const std::filesystem::path& from, const std::filesystem::path& to);
};

FolderOps& DefaultFolderOps();

} // namespace velvix
