#include "serial_sender.h"

#include "std_qt.h"
#include "transfer_messages.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace velvix::ui {

namespace {

// Qt reports a port locked by another program and a missing device node both as missing
// permission; the device node itself tells which it is.
transfer::messages::PortProblem ProblemOf(QSerialPort::SerialPortError error, const QString& port)
{
    using transfer::messages::PortProblem;
#ifdef Q_OS_UNIX
    const QString node = port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
    if (!QFileInfo::exists(node)) {
        return PortProblem::Missing;
    }
    if (error == QSerialPort::PermissionError && ::access(QFile::encodeName(node).constData(), R_OK | W_OK) == 0) {
        return PortProblem::InUse;
    }
#endif
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

} // namespace

SerialSender::SerialSender(Timing timing, QObject* parent) : QObject(parent), timing_(timing)
{
    pollTimer_.setInterval(timing_.poll);
    connect(&pollTimer_, &QTimer::timeout, this, &SerialSender::poll);
    connect(&port_, &QSerialPort::bytesWritten, this, &SerialSender::onBytesWritten);
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
            ProblemOf(port_.error(), port.trimmed()), ToUtf8(port.trimmed()), ToUtf8(port_.errorString()));
        port_.close();
        return problem;
    }
    bytes_ = std::move(bytes);
    sent_ = 0;
    held_ = false;
    heldLongAsked_ = 0;
    port_.clear();
    sinceProgress_.start();
    pollTimer_.start();
    emit progressed(0, bytes_.size());
    port_.write(bytes_);
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

void SerialSender::onBytesWritten() { poll(); }

void SerialSender::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || stopping_ || !port_.isOpen()) {
        return;
    }
    // German first; the system's own words after it help whoever searches for them. Which error
    // a pulled adapter gives depends on the driver, so they all read alike.
    const QString reason = QStringLiteral("Die Verbindung zur Schnittstelle ist abgerissen (Kabel oder USB-Adapter "
                                          "abgezogen?) – ") +
                           port_.errorString();
    const qint64 sent = sent_;
    stopping_ = true;
    port_.clear(QSerialPort::Output);
    stop();
    emit failed(reason, sent);
}

void SerialSender::poll()
{
    if (!port_.isOpen()) {
        return;
    }
    // The port reports a write only when it can write again, which a held line may never allow;
    // what it still holds is known at once.
    const qint64 accepted = bytes_.size() - port_.bytesToWrite();
    const qint64 sent = accepted - queuedInDriver(accepted);
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
qint64 SerialSender::queuedInDriver(qint64 accepted) const
{
#ifdef Q_OS_UNIX
    int queued = 0;
    if (::ioctl(static_cast<int>(port_.handle()), TIOCOUTQ, &queued) == 0 && queued > 0) {
        return std::min<qint64>(queued, accepted);
    }
#endif
    return 0;
}

void SerialSender::stop()
{
    stopping_ = true;
    pollTimer_.stop();
    port_.close();
    bytes_.clear();
    stopping_ = false;
}

} // namespace velvix::ui
