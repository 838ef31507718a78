// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "image_folder.h"

#include "file_io.h"
#include "system_reason.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits starting at `i`, leading zeros dropped; `i` moves past them.
std::string_view Number(const std::string& text, std::size_t& i)
{
    while (i + 1 < text.size() && text[i] == '0' && IsDigit(text[i + 1])) {
        ++i;
    }
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return std::string_view(text).substr(start, i - start);
}

} // namespace

std::string_view ImageDecoder(const fs::path& file)
{
    struct Kind {
        std::string_view ending;
        std::string_view decoder;
    };
    static constexpr std::array<Kind, 12> kKinds{{{".bmp", "bmp"},
                                                  {".png", "png"},
                                                  {".jpg", "mjpeg"},
                                                  {".jpeg", "mjpeg"},
                                                  {".gif", "gif"},
                                                  {".tif", "tiff"},
                                                  {".tiff", "tiff"},
                                                  {".webp", "webp"},
                                                  {".pgm", "pgm"},
                                                  {".ppm", "ppm"},
                                                  {".pbm", "pbm"},
                                                  {".tga", "targa"}}};
    std::string ending = Utf8FromPath(file.extension());
    std::transform(ending.begin(), ending.end(), ending.begin(), Lower);
    const auto kind = std::find_if(kKinds.begin(), kKinds.end(), [&](const Kind& k) { return k.ending == ending; });
    return kind == kKinds.end() ? std::string_view() : kind->decoder;
}

bool IsImage(const fs::path& file) { return !ImageDecoder(file).empty(); }

fs::path ChosenInput(const fs::path& file) { return IsImage(file) ? file.parent_path() : file; }

bool ComesBefore(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view x = Number(a, i);
            const std::string_view y = Number(b, j);
            if (x.size() != y.size()) {
                return x.size() < y.size();
            }
            if (x != y) {
                return x < y;
            }
        } else {
            if (Lower(a[i]) != Lower(b[j])) {
                return Lower(a[i]) < Lower(b[j]);
            }
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j) {
        return a.size() - i < b.size() - j;
    }
    return a < b; // alike but for case or leading zeros: any fixed order will do
}

ImageList ListImages(const fs::path& folder)
{
    ImageList list;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file(ec) && IsImage(it->path())) {
            list.images.push_back(it->path());
        }
    }
    if (ec) {
        list.failure =
            ErrorMessage("Der Ordner „" + Utf8FromPath(folder) + "“ lässt sich nicht lesen: " + SystemReason(ec) + ".");
        return list;
    }
    std::sort(list.images.begin(), list.images.end(), [](const fs::path& a, const fs::path& b) {
        return ComesBefore(Utf8FromPath(a.filename()), Utf8FromPath(b.filename()));
    });
    return list;
}

} // namespace velvix::frames
