#include "frame_folder.h"

#include "file_io.h"
#include "frame_discovery.h"

#include <algorithm>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

bool IsFrameName(const std::string& name)
{
    if (name.size() != 8 || (name[0] != 'B' && name[0] != 'b')) {
        return false;
    }
    if (!std::all_of(name.begin() + 1, name.begin() + 4, [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    std::string ending = name.substr(4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return ending == ".bmp";
}

// "B001.BMP": the numbering Velvix looks for, in the capitals its guide uses.
fs::path FramePath(const fs::path& folder, int number)
{
    std::string name = FrameFileName(number);
    name.replace(name.size() - 3, 3, "BMP");
    return folder / name;
}

void RemoveAll(const std::vector<fs::path>& files)
{
    for (const fs::path& file : files) {
        std::error_code ignored;
        fs::remove(file, ignored);
    }
}

// Files named like frames ("B" + three digits + ".bmp", any case) in the folder.
std::vector<fs::path> FramesIn(const fs::path& folder)
{
    std::vector<fs::path> frames;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (IsFrameName(Utf8FromPath(it->path().filename()))) {
            frames.push_back(it->path());
        }
    }
    std::sort(frames.begin(), frames.end());
    return frames;
}

} // namespace

std::optional<Failure> CheckOutputFolder(const fs::path& folder, bool replace)
{
    std::error_code ec;
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
        return Failure{"„" + Utf8FromPath(folder) + "“ ist kein Ordner."};
    }
    const auto old = FramesIn(folder);
    if (!old.empty() && !replace) {
        return Failure{"Im Ordner „" + Utf8FromPath(folder) + "“ liegen schon " + std::to_string(old.size()) +
                       " Bilder (" + Utf8FromPath(old.front().filename()) +
                       " …). Alte und neue Bilder würden sich mischen; es wurde nichts geschrieben.\n"
                       "Mit --ersetzen werden die alten Bilder gelöscht und ersetzt."};
    }
    return std::nullopt;
}

std::optional<Failure> WriteFrames(const fs::path& folder, const std::vector<FramePixels>& frames)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        return Failure{"Der Ordner „" + Utf8FromPath(folder) + "“ lässt sich nicht anlegen: " + ec.message()};
    }
    for (const fs::path& old : FramesIn(folder)) {
        if (!fs::remove(old, ec) && ec) {
            return Failure{"„" + Utf8FromPath(old) + "“ lässt sich nicht löschen: " + ec.message()};
        }
    }
    std::vector<fs::path> written;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const fs::path path = FramePath(folder, static_cast<int>(i + 1));
        if (auto error = WriteWholeFile(path, MakeFrameFile(frames[i]))) {
            RemoveAll(written);
            return Failure{"„" + Utf8FromPath(error->path) + "“ lässt sich nicht schreiben: " + error->reason +
                           "\nEs wurde kein Bild geschrieben."};
        }
        written.push_back(path);
    }
    return std::nullopt;
}

} // namespace velvix::frames
