#include "frame_folder.h"

#include "file_io.h"
#include "frame_discovery.h"
#include "system_reason.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <sys/stat.h>

namespace velvix::frames {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path) { return "„" + Utf8FromPath(path) + "“"; }

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
std::string FrameName(int number)
{
    std::string name = FrameFileName(number);
    name.replace(name.size() - 3, 3, "BMP");
    return name;
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

// The folders a write creates on the way to its output, removed again when it
// fails; only empty ones go, so nothing of anyone else's is lost.
class CreatedFolders {
public:
    std::optional<Failure> create(const fs::path& folder)
    {
        std::error_code ec;
        for (fs::path missing = folder; !missing.empty() && !fs::exists(missing, ec); missing = missing.parent_path()) {
            created_.push_back(missing);
            if (missing == missing.parent_path()) {
                break;
            }
        }
        fs::create_directories(folder, ec);
        if (ec) {
            removeAgain();
            return Failure{"Der Ordner " + Quoted(folder) + " lässt sich nicht anlegen: " + SystemReason(ec) + "."};
        }
        return std::nullopt;
    }
    void removeAgain()
    {
        for (const fs::path& folder : created_) {
            std::error_code ignored;
            fs::remove(folder, ignored);
        }
        created_.clear();
    }

private:
    std::vector<fs::path> created_; // deepest first
};

// A new folder beside `folder`, hidden, with a name no one else uses. Made
// with mkdir rather than mkdtemp, so it gets the rights of any new folder: the
// folder of new frames may become the output folder itself.
std::optional<fs::path> FolderBeside(const fs::path& folder, const char* purpose, int& error)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "." + Utf8FromPath(folder.filename()) + "." + purpose + "-";
        for (int i = 0; i < 6; ++i) {
            name += kLetters[random() % (sizeof kLetters - 1)];
        }
        const fs::path candidate = folder.parent_path() / PathFromUtf8(name);
        if (mkdir(candidate.c_str(), 0777) == 0) {
            return candidate;
        }
        error = errno;
        if (error != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

struct Move {
    fs::path from, to;
};

// Renames each file; when one fails, those already moved go back.
std::optional<std::error_code> MoveAll(const std::vector<Move>& moves)
{
    for (std::size_t i = 0; i < moves.size(); ++i) {
        std::error_code ec;
        fs::rename(moves[i].from, moves[i].to, ec);
        if (ec) {
            for (std::size_t j = i; j-- > 0;) {
                std::error_code ignored;
                fs::rename(moves[j].to, moves[j].from, ignored);
            }
            return ec;
        }
    }
    return std::nullopt;
}

std::vector<Move> Reversed(std::vector<Move> moves)
{
    for (Move& move : moves) {
        std::swap(move.from, move.to);
    }
    return moves;
}

// Puts the complete new frames in `fresh` in place of the old ones in `folder`:
// the old ones wait in a folder of their own until all new ones have arrived.
std::optional<Failure> SwapIn(const fs::path& fresh, const fs::path& folder, int count)
{
    std::vector<Move> arrivals;
    for (int i = 1; i <= count; ++i) {
        arrivals.push_back({fresh / FrameName(i), folder / FrameName(i)});
    }
    const std::vector<fs::path> old = FramesIn(folder);
    if (old.empty()) {
        if (auto ec = MoveAll(arrivals)) {
            return Failure{"Die neuen Bilder lassen sich nicht nach " + Quoted(folder) +
                           " verschieben: " + SystemReason(*ec) + ". Es wurde kein Bild geschrieben."};
        }
        return std::nullopt;
    }
    int error = 0;
    const auto aside = FolderBeside(folder, "alt", error);
    if (!aside) {
        return Failure{"Neben " + Quoted(folder) + " lässt sich kein Ordner für die alten Bilder anlegen: " +
                       SystemReasonFromErrno(error) + ". Die alten Bilder sind unverändert."};
    }
    std::vector<Move> departures;
    for (const fs::path& file : old) {
        departures.push_back({file, *aside / file.filename()});
    }
    std::optional<std::error_code> ec = MoveAll(departures);
    if (!ec) {
        ec = MoveAll(arrivals);
        if (ec && MoveAll(Reversed(departures))) {
            return Failure{"Die neuen Bilder lassen sich nicht nach " + Quoted(folder) +
                           " verschieben: " + SystemReason(*ec) + ". Die alten Bilder liegen jetzt in " +
                           Quoted(*aside) + "; bitte von dort zurückholen."};
        }
    }
    std::error_code ignored;
    if (ec) {
        fs::remove(*aside, ignored);
        return Failure{"Die alten Bilder in " + Quoted(folder) + " lassen sich nicht ersetzen: " + SystemReason(*ec) +
                       ". Die alten Bilder sind unverändert."};
    }
    fs::remove_all(*aside, ignored);
    return std::nullopt;
}

} // namespace

std::optional<Failure> CheckOutputFolder(const fs::path& folder, bool replace)
{
    std::error_code ec;
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
        return Failure{Quoted(folder) + " ist kein Ordner."};
    }
    const auto old = FramesIn(folder);
    if (!old.empty() && !replace) {
        const std::string lying =
            old.size() == 1 ? "liegt schon ein Bild" : "liegen schon " + std::to_string(old.size()) + " Bilder";
        return Failure{"Im Ordner " + Quoted(folder) + " " + lying + " (" + Utf8FromPath(old.front().filename()) +
                       " …). Alte und neue Bilder würden sich mischen; es wurde nichts geschrieben.\n"
                       "Mit --ersetzen werden die alten Bilder gelöscht und ersetzt."};
    }
    return std::nullopt;
}

std::optional<Failure> WriteFrames(const fs::path& output, const std::vector<FramePixels>& frames)
{
    std::error_code ec;
    // Resolved, so the temporary folder lies beside the real folder, on its file system.
    fs::path folder = fs::weakly_canonical(fs::absolute(output, ec), ec);
    if (!folder.has_filename()) { // "bilder/"
        folder = folder.parent_path();
    }
    const bool existed = fs::exists(folder, ec);
    CreatedFolders created;
    if (auto failure = created.create(folder.parent_path())) {
        return failure;
    }
    int error = 0;
    const auto fresh = FolderBeside(folder, "neu", error);
    if (!fresh) {
        created.removeAgain();
        return Failure{"Neben " + Quoted(output) + " lässt sich kein Ordner für die neuen Bilder anlegen: " +
                       SystemReasonFromErrno(error) + ". Es wurde kein Bild geschrieben."};
    }
    std::optional<Failure> failure;
    for (std::size_t i = 0; i < frames.size() && !failure; ++i) {
        const std::string name = FrameName(static_cast<int>(i + 1));
        if (auto writeError = WriteWholeFile(*fresh / name, MakeFrameFile(frames[i]))) {
            failure =
                Failure{Quoted(output / name) + " lässt sich nicht schreiben: " + writeError->reason +
                        ".\nEs wurde kein Bild geschrieben" + (existed ? "; die alten Bilder sind unverändert." : ".")};
        }
    }
    if (!failure && !existed) {
        fs::rename(*fresh, folder, ec);
        if (ec) {
            failure = Failure{"Der Ordner " + Quoted(output) + " lässt sich nicht anlegen: " + SystemReason(ec) +
                              ". Es wurde kein Bild geschrieben."};
        }
    } else if (!failure) {
        failure = SwapIn(*fresh, folder, static_cast<int>(frames.size()));
    }
    std::error_code ignored;
    if (fs::exists(*fresh, ignored)) {
        fs::remove_all(*fresh, ignored); // only our own copies, never an old frame
    }
    if (failure) {
        created.removeAgain();
    }
    return failure;
}

} // namespace velvix::frames
