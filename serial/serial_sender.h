// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "message.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>
#include <optional>

namespace velvix::serial {

// Sends one file to the PC-1600 over a serial port at 8N1 with XON/XOFF, which the port's driver
// obeys. It works on its thread's event loop through notifications: nothing here blocks. (POSIX: it
// writes to the port's descriptor.) "Sent" counts the bytes that have left the computer, not those
// still queued in the system's driver; where the driver cannot say how many it holds (a
// pseudo-terminal), the count is only what the system took.
class SerialSender : public QObject {
    Q_OBJECT

public:
    struct Timing {
        std::chrono::milliseconds poll{100};       // how often the driver's queue is looked at
        std::chrono::milliseconds holdAfter{1000}; // no byte left for this long: the PC-1600 holds the line
        std::chrono::milliseconds longHold{30000}; // then the user is asked, again after each such span
    };

    explicit SerialSender(QObject* parent = nullptr) : SerialSender(Timing{}, parent) {}
    SerialSender(Timing timing, QObject* parent);

    // Opens the port and sends the bytes; the problem in German when the port cannot be opened.
    std::optional<Message> start(const QString& port, int baud, QByteArray bytes);
    // Drops whatever has not gone yet and closes the port at once.
    void cancel();
    bool isSending() const { return port_.isOpen(); }
    // False while the port cannot tell what left it: "sent" is then what the system took.
    bool countsExactly() const { return countsExactly_; }

signals:
    void progressed(qint64 sent, qint64 total);
    void heldChanged(bool held); // the PC-1600 asked for a pause (XOFF) or went on (XON)
    void heldLong(int seconds);
    void finished();
    // The line broke; `detail` is the system's own words, `sent` the bytes that went before.
    void failed(const QString& detail, qint64 sent);

private:
    void writeMore();
    void onError(QSerialPort::SerialPortError error);
    void fail(const QString& systemText);
    void poll();
    qint64 queuedInDriver() const;
    void stop();

    Timing timing_;
    QSerialPort port_;
    QTimer pollTimer_;
    QSocketNotifier* writable_ = nullptr; // while bytes are left to write
    QByteArray bytes_;
    qint64 accepted_ = 0; // taken by the driver
    qint64 sent_ = 0;
    QElapsedTimer sinceProgress_;
    bool countsExactly_ = true;
    bool held_ = false;
    bool stopping_ = false;
    int heldLongAsked_ = 0;
};

} // namespace velvix::serial
