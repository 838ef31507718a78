// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "frame_files.h"
#include "pty_pair.h"
#include "serial_sender.h"
#include "temp_folder.h"
#include "transfer_messages.h"
#include "video_folder.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace velvix::serial::test {
namespace {

using velvix::test::PtyPair;

QByteArray ToQBytes(const Bytes& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

// Longer than the pseudo terminal holds, so the sender is still at work when the test acts.
Bytes LargeFile() { return velvix::test::Concatenated(velvix::test::MakeVideoFiles("GROSS", 120, true, true)); }

// The far end as the PC-1600: it reads what arrives, and can hold the line.
class Sender : public testing::Test {
protected:
    // Short spans so holding is seen quickly.
    SerialSender sender{{.poll = std::chrono::milliseconds(10),
                         .holdAfter = std::chrono::milliseconds(150),
                         .longHold = std::chrono::milliseconds(600)},
                        nullptr};
    PtyPair pty;
    Bytes arrived;

    QString port() const { return QString::fromStdString(pty.portPath()); }

    // Reads while it waits, as the PC-1600 takes bytes while the line runs.
    bool arrivedAll(std::size_t size)
    {
        pty.readArrived(arrived);
        return arrived.size() >= size;
    }

    void startSending(const Bytes& bytes)
    {
        const std::optional<Message> problem = sender.start(port(), 9600, ToQBytes(bytes));
        ASSERT_FALSE(problem) << problem->text;
    }
};

TEST_F(Sender, EveryFileArrivesByteForByteInOrder)
{
    const auto files = velvix::test::MakeVideoFiles("FILM", 120, true, true);
    QSignalSpy finished(&sender, &SerialSender::finished);
    QSignalSpy progressed(&sender, &SerialSender::progressed);
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const int before = finished.count();
        startSending(file.bytes);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                pty.readArrived(arrived);
                return finished.count() == before + 1;
            },
            10000));
        EXPECT_FALSE(sender.isSending());
        EXPECT_EQ(progressed.last(), (QList<QVariant>{qint64(file.bytes.size()), qint64(file.bytes.size())}));
    }
    const Bytes expected = velvix::test::Concatenated(files);
    ASSERT_TRUE(QTest::qWaitFor([&] { return arrivedAll(expected.size()); }, 5000));
    EXPECT_EQ(velvix::test::FirstDifference(arrived, expected), "");
}

TEST_F(Sender, XoffHoldsTheLineUntilXon)
{
    const Bytes file = LargeFile();
    QSignalSpy held(&sender, &SerialSender::heldChanged);
    QSignalSpy heldLong(&sender, &SerialSender::heldLong);
    QSignalSpy finished(&sender, &SerialSender::finished);
    startSending(file);
    pty.sendFromFar(velvix::test::kXoff);

    // The far side keeps reading, as the PC-1600's port does: only the XOFF holds the sender.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            pty.readArrived(arrived);
            return held.count() == 1;
        },
        5000));
    EXPECT_EQ(held.last().at(0).toBool(), true);
    pty.readArrived(arrived); // what was on the line before the XOFF
    const std::size_t beforeXoff = arrived.size();
    ASSERT_LT(beforeXoff, file.size());
    // Nothing more arrives while the PC-1600 holds, however long; past the long span the user is asked.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            pty.readArrived(arrived);
            return heldLong.count() == 1;
        },
        5000));
    EXPECT_EQ(arrived.size(), beforeXoff);
    EXPECT_TRUE(sender.isSending());

    pty.sendFromFar(velvix::test::kXon);
    ASSERT_TRUE(QTest::qWaitFor([&] { return arrivedAll(file.size()); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 5000));
    EXPECT_EQ(held.last().at(0).toBool(), false);
    EXPECT_EQ(velvix::test::FirstDifference(arrived, file), "");
}

TEST_F(Sender, CancelStopsInTheMiddleOfAFile)
{
    const Bytes file = LargeFile();
    QSignalSpy progressed(&sender, &SerialSender::progressed);
    QSignalSpy finished(&sender, &SerialSender::finished);
    startSending(file);
    // The far end reads a little, then stops, so the line fills and the sender waits with the rest.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            pty.readArrived(arrived);
            return !arrived.empty();
        },
        5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressed.count() > 1; }, 5000));
    sender.cancel();
    EXPECT_FALSE(sender.isSending());

    pty.readArrived(arrived); // a pseudo terminal drops what was not read yet, as a port drops what is not sent
    const std::size_t atCancel = arrived.size();
    EXPECT_LT(atCancel, file.size());
    QTest::qWait(300); // a sender still at work would go on filling the line meanwhile
    pty.readArrived(arrived);
    EXPECT_EQ(arrived.size(), atCancel);
    EXPECT_EQ(finished.count(), 0);

    // The port is closed again: the next file goes whole.
    arrived.clear();
    const Bytes next = velvix::test::MakeVideoFiles("FILM", 1, false, false).front().bytes;
    startSending(next);
    ASSERT_TRUE(QTest::qWaitFor([&] { return arrivedAll(next.size()) && finished.count() == 1; }, 5000));
    EXPECT_EQ(velvix::test::FirstDifference(arrived, next), "");
}

TEST_F(Sender, PulledCableFailsWithTheBytesThatWentAndTheBoxSaysSoInGerman)
{
    const Bytes file = LargeFile();
    QSignalSpy failed(&sender, &SerialSender::failed);
    QSignalSpy progressed(&sender, &SerialSender::progressed);
    startSending(file);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progressed.count() > 1; }, 5000));
    pty.pullCable();

    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.count() == 1; }, 5000));
    const qint64 sent = failed.first().at(1).toLongLong();
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, qint64(file.size()));
    EXPECT_FALSE(sender.isSending());

    // A pseudo-terminal cannot tell what the far end took, so the box says "etwa"; the system's
    // own words come last, marked as such, after what to do.
    EXPECT_FALSE(sender.countsExactly());
    const std::string text =
        transfer::messages::SendFailed("FILM0.VID", static_cast<std::uintmax_t>(sent), file.size(),
                                       sender.countsExactly(), failed.first().at(0).toString().toStdString())
            .text;
    EXPECT_NE(text.find(", nach etwa "), std::string::npos) << text;
    const std::size_t advice = text.find("drücken Sie auf dem PC-1600 BREAK");
    const std::size_t detail = text.find("\r\nMeldung des Systems: ");
    EXPECT_NE(advice, std::string::npos) << text;
    EXPECT_NE(detail, std::string::npos) << text;
    EXPECT_GT(detail, advice) << text;
}

TEST_F(Sender, APortInUseGivesItsBox)
{
    startSending(LargeFile());
    SerialSender other;
    const std::optional<Message> problem = other.start(port(), 9600, QByteArray(10, 'x'));
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->text.find("Ein anderes Programm benutzt sie schon"), std::string::npos) << problem->text;
    EXPECT_TRUE(sender.isSending()) << "the file already going is left alone";
    sender.cancel();
}

TEST(SenderPort, ThatCannotBeOpenedGivesItsBox)
{
    velvix::test::TempFolder folder;
    const auto plainFile = folder.path() / "keine-schnittstelle";
    velvix::test::WriteFile(plainFile, Bytes(10, 0));
    const std::pair<QString, const char*> cases[] = {
        {QString(), "keine Schnittstelle gewählt"},
        {QStringLiteral("/dev/velvix-gibt-es-nicht"), "Es gibt sie nicht"},
        {QStringLiteral("velvix-gibt-es-nicht"), "Es gibt sie nicht"},
        {QString::fromStdString(plainFile.string()), "lässt sich nicht öffnen"},
    };
    SerialSender sender;
    for (const auto& [port, text] : cases) {
        SCOPED_TRACE(port.toStdString());
        const std::optional<Message> problem = sender.start(port, 9600, QByteArray(10, 'x'));
        ASSERT_TRUE(problem);
        EXPECT_NE(problem->text.find(text), std::string::npos) << problem->text;
        EXPECT_EQ(problem->icon, Message::Icon::Warning);
        EXPECT_FALSE(sender.isSending());
    }
}

} // namespace
} // namespace velvix::serial::test

// The sender works through an event loop, which needs an application object; no window.
int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
