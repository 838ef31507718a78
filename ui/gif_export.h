#pragma once

#include "message.h"
#include "preview_video.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace velvix::ui {

// Writes the preview as an animated GIF at the video's own timing. ffmpeg
// runs as a child process on frame images in a temporary folder and writes a
// temporary file beside the target, which is renamed into place only when
// complete: the target is written whole or not at all.
class GifExport : public QObject {
    Q_OBJECT

public:
    explicit GifExport(QObject* parent = nullptr);
    ~GifExport() override;

    // Starts the work; `progress` and then `finished` follow. False, with
    // `finished` already sent, when the work could not be started.
    bool start(const PreviewVideo& video, const QString& target);
    // Stops the work; nothing is written and `finished` reports no failure.
    void cancel();

    QString ffmpeg = QStringLiteral("ffmpeg"); // tests may name another program

signals:
    void progress(int framesDone, int frameCount);
    void finished(const std::optional<velvix::Message>& failure);

private:
    void readProgress();
    void processFinished(int exitCode, QProcess::ExitStatus status);
    void processFailed(QProcess::ProcessError error);
    void finish(const std::optional<Message>& failure);

    QProcess process_;
    std::unique_ptr<QTemporaryDir> frames_;
    QString target_;
    QString partial_; // ffmpeg's output until it is complete
    int frameCount_ = 0;
    bool running_ = false;
};

} // namespace velvix::ui
