// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "pty_pair.h"
#include "serial_sender.h"
#include "video_folder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace velvix {
namespace {

// The sender works through an event loop, which needs an application object.
void NeedApplication()
{
    static int argc = 1;
    static char name[] = "transfer_benchmark";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

// A video of four parts as Velvix writes it at 120 frames, with its player: about 75 KB.
const std::vector<test::VideoFolderFile>& FourPartVideo()
{
    static const auto files = test::MakeVideoFiles("FILM", 120, true, false);
    return files;
}

// Every file through the sender and the pseudo terminal, read at once on the far side. A pseudo
// terminal has no line speed, so what this measures is the sender's own time; the argument 1 sends
// the files as one, which leaves out opening and closing the port for each.
void BM_SendFourPartVideo(benchmark::State& state)
{
    const std::vector<test::VideoFolderFile> files =
        state.range(0) == 1 ? std::vector<test::VideoFolderFile>{{"ALL", test::Concatenated(FourPartVideo())}}
                            : FourPartVideo();
    NeedApplication();
    test::PtyPair pty;
    serial::SerialSender sender;
    Bytes arrived;
    QSocketNotifier farSide(pty.farSide(), QSocketNotifier::Read);
    QObject::connect(&farSide, &QSocketNotifier::activated, [&] { pty.readArrived(arrived); });
    std::size_t total = 0;
    for (auto _ : state) {
        arrived.clear();
        for (const auto& file : files) {
            QEventLoop loop;
            QObject::connect(&sender, &serial::SerialSender::finished, &loop, &QEventLoop::quit);
            QObject::connect(&sender, &serial::SerialSender::failed, &loop, [&] {
                state.SkipWithError("sending failed");
                loop.quit();
            });
            const QByteArray bytes(reinterpret_cast<const char*>(file.bytes.data()),
                                   static_cast<qsizetype>(file.bytes.size()));
            if (sender.start(QString::fromStdString(pty.portPath()), 38400, bytes)) {
                state.SkipWithError("the port did not open");
                return;
            }
            loop.exec();
        }
        total = test::Concatenated(FourPartVideo()).size();
        while (arrived.size() < total) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (arrived != test::Concatenated(FourPartVideo())) {
            state.SkipWithError("the bytes that arrived differ");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * total));
}
BENCHMARK(BM_SendFourPartVideo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The floor: the same bytes written straight into the pseudo terminal and read on the far side.
void BM_PtyFloor(benchmark::State& state)
{
    test::PtyPair pty;
    const Bytes all = test::Concatenated(FourPartVideo());
    const int port = ::open(pty.portPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    Bytes arrived;
    for (auto _ : state) {
        arrived.clear();
        std::size_t written = 0;
        while (arrived.size() < all.size()) {
            if (written < all.size()) {
                const ssize_t n = ::write(port, all.data() + written, all.size() - written);
                written += n > 0 ? static_cast<std::size_t>(n) : 0;
            }
            pollfd far{pty.farSide(), POLLIN, 0};
            ::poll(&far, 1, 10);
            pty.readArrived(arrived);
        }
    }
    ::close(port);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * all.size()));
}
BENCHMARK(BM_PtyFloor)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace velvix

BENCHMARK_MAIN();
