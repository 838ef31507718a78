// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "serial_sender.h"

#include "system_reason.h"
#include "transfer_messages.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <string_view>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace velvix::serial {

namespace {

// Qt reports a port locked by another program and a missing device node both as missing
// permission; the device node itself tells which it is.
transfer::messages::PortProblem ProblemOf(QSerialPort::SerialPortError error, const QString& port)
{
    using transfer::messages::PortProblem;
    const QString node = port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
    if (!QFileInfo::exists(node)) {
        return PortProblem::Missing;
    }
    if (error == QSerialPort::PermissionError && ::access(QFile::encodeName(node).constData(), R_OK | W_OK) == 0) {
        return PortProblem::InUse;
    }
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortProblem::Missing;
    case QSerialPort::OpenError:
        return PortProblem::InUse;
    case QSerialPort::PermissionError:
        return PortProblem::NoPermission;
    default:
        return PortProblem::Other;
    }
}

// A pseudo-terminal hands every byte on at once and keeps no queue the system can count, however long
// the far end holds the line; a serial driver counts what still waits in it.
bool DriverCountsQueue(int descriptor)
{
    const char* name = ::ttyname(descriptor);
    return name == nullptr || std::string_view(name).rfind("/dev/pts/", 0) != 0;
}

} // namespace

SerialSender::SerialSender(Timing timing, QObject* parent) : QObject(parent), timing_(timing)
{
    pollTimer_.setInterval(timing_.poll);
    connect(&pollTimer_, &QTimer::timeout, this, &SerialSender::poll);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialSender::onError);
    // The PC-1600 sends nothing but its XON and XOFF, which the driver takes; anything else is dropped
    // so that a full receive buffer never makes the driver pause the PC-1600 in turn.
    connect(&port_, &QSerialPort::readyRead, this, [this] { port_.readAll(); });
}

std::optional<Message> SerialSender::start(const QString& port, int baud, QByteArray bytes)
{
    if (port.trimmed().isEmpty()) {
        return transfer::messages::NoPortChosen();
    }
    port_.setPortName(port.trimmed());
    const bool opened = port_.open(QIODevice::ReadWrite);
    const bool set = opened && port_.setBaudRate(baud) && port_.setDataBits(QSerialPort::Data8) &&
                     port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
                     port_.setFlowControl(QSerialPort::SoftwareControl);
    if (!set) {
        const Message problem = transfer::messages::PortUnavailable(
            ProblemOf(port_.error(), port.trimmed()), port.trimmed().toStdString(), port_.errorString().toStdString());
        port_.close();
        return problem;
    }
    bytes_ = std::move(bytes);
    accepted_ = 0;
    sent_ = 0;
    countsExactly_ = DriverCountsQueue(static_cast<int>(port_.handle()));
    held_ = false;
    heldLongAsked_ = 0;
    port_.clear();
    writable_ = new QSocketNotifier(port_.handle(), QSocketNotifier::Write, this);
    connect(writable_, &QSocketNotifier::activated, this, &SerialSender::writeMore);
    sinceProgress_.start();
    pollTimer_.start();
    emit progressed(0, bytes_.size());
    return std::nullopt;
}

void SerialSender::cancel()
{
    if (!port_.isOpen()) {
        return;
    }
    stopping_ = true;                 // a port that fails while being emptied has nothing more to report
    port_.clear(QSerialPort::Output); // what is still queued never reaches the line
    stop();
}

// The port's own write path takes a refused write for a broken line; a driver that holds the line
// for XOFF may refuse writes for a while, so the bytes go to the port's descriptor here.
void SerialSender::writeMore()
{
    constexpr qint64 kChunk = 4096;
    const qint64 count = std::min(kChunk, bytes_.size() - accepted_);
    const ssize_t written =
        ::write(static_cast<int>(port_.handle()), bytes_.constData() + accepted_, static_cast<std::size_t>(count));
    if (written > 0) {
        accepted_ += written;
    } else if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        fail(QString::fromStdString(SystemReasonFromErrno(errno)));
        return;
    } else {
        writable_->setEnabled(false); // held: the next poll tries again
    }
    if (accepted_ == bytes_.size()) {
        writable_->setEnabled(false);
    }
    poll();
}

void SerialSender::onError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
        fail(port_.errorString());
    }
}

void SerialSender::fail(const QString& systemText)
{
    if (stopping_ || !port_.isOpen()) {
        return;
    }
    const qint64 sent = sent_;
    stopping_ = true;
    port_.clear(QSerialPort::Output);
    stop();
    emit failed(systemText, sent);
}

void SerialSender::poll()
{
    if (!port_.isOpen()) {
        return;
    }
    if (accepted_ < bytes_.size() && !writable_->isEnabled()) {
        writable_->setEnabled(true);
    }
    const qint64 sent = accepted_ - queuedInDriver();
    if (sent != sent_) {
        sent_ = sent;
        sinceProgress_.start();
        heldLongAsked_ = 0;
        if (held_) {
            held_ = false;
            emit heldChanged(false);
        }
        emit progressed(sent_, bytes_.size());
    }
    if (sent_ == bytes_.size()) {
        stop();
        emit finished();
        return;
    }
    const auto still = std::chrono::milliseconds(sinceProgress_.elapsed());
    if (!held_ && still >= timing_.holdAfter) {
        held_ = true;
        emit heldChanged(true);
    }
    if (still >= timing_.longHold * (heldLongAsked_ + 1)) {
        ++heldLongAsked_;
        emit heldLong(static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(still).count()));
    }
}

// Bytes the driver holds that have not gone out yet; serial drivers keep a few kilobytes.
qint64 SerialSender::queuedInDriver() const
{
    int queued = 0;
    if (::ioctl(static_cast<int>(port_.handle()), TIOCOUTQ, &queued) == 0 && queued > 0) {
        return std::min<qint64>(queued, accepted_);
    }
    return 0;
}

void SerialSender::stop()
{
    stopping_ = true;
    pollTimer_.stop();
    if (writable_ != nullptr) {
        writable_->setEnabled(false);
        writable_->deleteLater(); // stop() may run inside its own notification
        writable_ = nullptr;
    }
    port_.close();
    bytes_.clear();
    stopping_ = false;
}

} // namespace velvix::serial
