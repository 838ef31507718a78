#include "ffmpeg_run.h"

#include "file_io.h"
#include "system_reason.h"

#include <cerrno>

namespace velvix::frames {

namespace fs = std::filesystem;

std::string InputName(const fs::path& file)
{
    std::error_code ignored;
    return "file:" + Utf8FromPath(fs::absolute(file, ignored));
}

Failure NotStarted(const std::string& program, int error)
{
    if (error == ENOENT) {
        return {"Das Programm „" + program +
                "“ wurde nicht gefunden. Es gehört zu ffmpeg; bitte ffmpeg installieren (Debian: apt-get install "
                "ffmpeg)."};
    }
    return {"Das Programm „" + program + "“ lässt sich nicht starten: " + SystemReasonFromErrno(error) + "."};
}

Failure Unreadable(const fs::path& file, const ChildProcess& decoder)
{
    const std::string said = decoder.messages();
    return {"ffmpeg kann „" + Utf8FromPath(file) + "“ nicht lesen." + (said.empty() ? "" : "\nffmpeg meldet: " + said)};
}

std::vector<std::string> PictureOutput()
{
    return {"-map", "0:v:0", "-f", "image2pipe", "-c:v", "pgm", "-pix_fmt", "gray", "pipe:1"};
}

} // namespace velvix::frames
