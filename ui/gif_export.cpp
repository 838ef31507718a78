#include "gif_export.h"

#include "lcd_view.h"
#include "std_qt.h"
#include "system_reason.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextStream>

#include <filesystem>

namespace velvix::ui {

namespace {

constexpr int kGifZoom = 3; // 480 x 120 pixels: shows the dots, stays small to share

const QString kTemporaryFull = QStringLiteral(
    "Die Bilder lassen sich nicht im temporären Ordner ablegen. Schaffen Sie dort Platz und versuchen Sie es noch "
    "einmal.");

Message Failed(const QString& target, const QString& why)
{
    return {"Als GIF speichern",
            "Das GIF konnte nicht gespeichert werden:\r\n" + ToUtf8(QDir::toNativeSeparators(target)) + "\r\n" +
                ToUtf8(why) + "\r\nEs wurde nichts gespeichert.",
            Message::Icon::Warning, Message::Buttons::Ok};
}

} // namespace

GifExport::GifExport(QObject* parent) : QObject(parent)
{
    connect(&process_, &QProcess::readyReadStandardOutput, this, &GifExport::readProgress);
    connect(&process_, &QProcess::finished, this, &GifExport::processFinished);
    connect(&process_, &QProcess::errorOccurred, this, &GifExport::processFailed);
}

GifExport::~GifExport()
{
    if (running_) {
        running_ = false;
        process_.kill();
        process_.waitForFinished();
        QFile::remove(partial_);
    }
}

bool GifExport::start(const PreviewVideo& video, const QString& target)
{
    target_ = target;
    frameCount_ = static_cast<int>(video.frames.size());
    frames_ = std::make_unique<QTemporaryDir>();
    if (!frames_->isValid()) {
        finish(Failed(target, kTemporaryFull));
        return false;
    }

    // The list gives every picture its time to the microsecond; ffmpeg places
    // each frame at the hundredth of a second nearest its start, so the delays
    // never add up to more or less than the whole video.
    QFile list(frames_->filePath(QStringLiteral("bilder.txt")));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) {
        finish(Failed(target, kTemporaryFull));
        return false;
    }
    QTextStream out(&list);
    out << "ffconcat version 1.0\n";
    const auto hundredths = [&video](std::int64_t ticks) { return (ticks * 200 / video.ticksPerSecond() + 1) / 2; };
    std::int64_t ticks = 0;
    std::int64_t lastStart = 0;
    for (int k = 0; k < frameCount_; ++k) {
        const QString image = QStringLiteral("b%1.png").arg(k, 3, 10, QLatin1Char('0'));
        const ShownFrame& frame = video.frames[static_cast<std::size_t>(k)];
        if (!LcdImage(frame.screen, kGifZoom).save(frames_->filePath(image))) {
            finish(Failed(target, kTemporaryFull));
            return false;
        }
        // Read at 100 frames per second, an image's time base is the GIF's own.
        const double seconds = static_cast<double>(frame.ticks) / video.ticksPerSecond();
        out << "file '" << image << "'\noption framerate 100\nduration " << QString::number(seconds, 'f', 6) << "\n";
        lastStart = ticks;
        ticks += frame.ticks;
    }
    list.close();
    // The last frame has no follower to end it; the GIF gives it its time apart.
    const std::int64_t finalDelay = hundredths(ticks) - hundredths(lastStart);

    // A free name beside the target; ffmpeg makes the file anew, with the
    // rights a new file of the user gets.
    QTemporaryFile partial(QFileInfo(target).absolutePath() + QStringLiteral("/.velvix-XXXXXX.gif"));
    if (!partial.open()) {
        finish(Failed(target, QStringLiteral("In diesem Ordner lässt sich keine Datei anlegen. Wählen Sie einen "
                                             "anderen Ordner.")));
        return false;
    }
    partial_ = partial.fileName();
    partial.close();
    partial.remove();

    running_ = true;
    process_.setWorkingDirectory(frames_->path());
    // Four colours at most: the two of the display, and no dithering that would blur the dots.
    QStringList arguments = QStringLiteral("-hide_banner -nostdin -loglevel error -progress pipe:1 -f concat -safe 0 "
                                           "-i bilder.txt -fps_mode vfr -loop 0 -f gif -y")
                                .split(QLatin1Char(' '));
    arguments << QStringLiteral("-filter_complex")
              << QStringLiteral("split[a][b];[a]palettegen=max_colors=4:reserve_transparent=0[p];"
                                "[b][p]paletteuse=dither=none")
              << QStringLiteral("-final_delay") << QString::number(finalDelay) << partial_;
    process_.start(ffmpeg, arguments);
    return true;
}

void GifExport::cancel()
{
    if (!running_) {
        return;
    }
    running_ = false; // the process's own end is no news now
    process_.kill();
    process_.waitForFinished();
    finish(std::nullopt);
}

void GifExport::readProgress()
{
    while (process_.canReadLine()) {
        const QByteArray line = process_.readLine().trimmed();
        if (line.startsWith("frame=")) {
            emit progress(line.mid(6).toInt(), frameCount_);
        }
    }
}

void GifExport::processFinished(int exitCode, QProcess::ExitStatus status)
{
    if (!running_) {
        return;
    }
    if (status != QProcess::NormalExit || exitCode != 0) {
        const QString said = QString::fromLocal8Bit(process_.readAllStandardError()).trimmed();
        finish(Failed(target_, QStringLiteral("ffmpeg brach ab (Code %1)%2\nVersuchen Sie es noch einmal; bricht es "
                                              "wieder ab, installieren Sie ffmpeg neu.")
                                   .arg(exitCode)
                                   .arg(said.isEmpty() ? QString() : QStringLiteral(":\n") + said.right(400))));
        return;
    }
    std::error_code error;
    std::filesystem::rename(ToPath(partial_), ToPath(target_), error);
    if (error) {
        finish(Failed(target_, QStringLiteral("Grund: ") + ToQString(SystemReason(error)) +
                                   QStringLiteral("\nWählen Sie einen anderen Ordner oder Namen.")));
        return;
    }
    partial_.clear();
    finish(std::nullopt);
}

void GifExport::processFailed(QProcess::ProcessError error)
{
    if (error == QProcess::FailedToStart && running_) {
        finish(Failed(target_, QStringLiteral("ffmpeg ließ sich nicht starten. Installieren Sie ffmpeg "
                                              "(./velvix.sh tut es) und versuchen Sie es noch einmal.")));
    }
}

void GifExport::finish(const std::optional<Message>& failure)
{
    running_ = false;
    if (!partial_.isEmpty()) {
        QFile::remove(partial_);
        partial_.clear();
    }
    frames_.reset();
    emit finished(failure);
}

} // namespace velvix::ui
