// The Windows COM port line over a driver played by the test: a write the driver never ends, one
// it cuts short or refuses, a read that fails as an unplugged adapter's does, a port that cannot
// be opened. No wait is longer than its limit; the line says what happened; the link on this line
// ends the exchange with the right text, closes the port and the next operation opens it again.
#include "base/MessageLines.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "link/ControllerLink.h"
#include "link/WinSerialLine.h"
#include "support/FakeCommIo.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>
#include <QTimer>

using WriteEnd = FakeCommIo::WriteEnd;
Q_DECLARE_METATYPE(WriteEnd)

namespace {

// A line on a fake driver, opened.
struct FakeLine {
    FakeCommIo *io = new FakeCommIo;
    WinSerialLine line{std::unique_ptr<WinCommIo>(io)};

    bool open() { return line.open(QStringLiteral("COM7")); }
};

// The longest the line may wait for a write of size bytes, its cancellation included.
qint64 writeBound(qint64 size) {
    return WinSerialLine::writeLimitMs(size) + WinSerialLine::CancelWaitMs;
}

// The link on a fake driver, reaching it as COM7.
struct FakeLink {
    StoredSettings settings;
    FakeCommIo *io = new FakeCommIo;
    ControllerLink link{settings};

    FakeLink() {
        settings.PortNo = 1;
        settings.OccupyPort = true;
        link.setSerialLine(std::make_unique<WinSerialLine>(std::unique_ptr<WinCommIo>(io)));
        link.setDeviceOverride(QStringLiteral("COM7"));
    }
};

// The controller answers the communication check with its echo.
QByteArray echo(const QByteArray &written) {
    return written;
}

} // namespace

class TestWinSerialLine : public QObject {
    Q_OBJECT
private slots:
    void writeOutcome_data() {
        QTest::addColumn<WriteEnd>("end");
        QTest::addColumn<unsigned long>("startError");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("timedOut");
        QTest::newRow("taken") << WriteEnd::Completes << 0ul << int(WinSerialLine::NoError)
                               << false;
        QTest::newRow("never ends")
            << WriteEnd::NeverEnds << 0ul << int(WinSerialLine::TimeoutError) << true;
        QTest::newRow("never ends, not even cancelled")
            << WriteEnd::IgnoresCancel << 0ul << int(WinSerialLine::TimeoutError) << true;
        QTest::newRow("cut short by the driver's write timeout")
            << WriteEnd::EndsShort << 0ul << int(WinSerialLine::TimeoutError) << false;
        QTest::newRow("refused: adapter gone")
            << WriteEnd::Completes << 22ul << int(WinSerialLine::WriteError) << false;
    }
    void writeOutcome() {
        QFETCH(WriteEnd, end);
        QFETCH(unsigned long, startError);
        QFETCH(int, error);
        QFETCH(bool, timedOut);
        FakeLine f;
        QVERIFY(f.open());
        f.io->writeEnd = end;
        f.io->writeError = startError;
        const QByteArray line("0CM1\r\n");
        const qint64 written = f.line.write(line);
        QCOMPARE(int(f.line.portError()), error);
        QCOMPARE(written, error == WinSerialLine::NoError ? line.size() : -1);
        // A stuck write leaves the line open for the link to close; a refused one is a line gone.
        QCOMPARE(f.line.isOpen(), error != WinSerialLine::WriteError);
        if (error == WinSerialLine::TimeoutError) {
            QCOMPARE(f.line.error(), Line::Error::WriteTimedOut);
            QCOMPARE(f.line.errorString(), ResText(1620));
        }
        if (error == WinSerialLine::WriteError)
            QCOMPARE(f.line.systemError(), startError);
        // A stuck write waited its limit, no longer.
        QVERIFY(f.io->waitedMs <= writeBound(line.size()));
        if (timedOut)
            QVERIFY(f.io->waitedMs >= WinSerialLine::writeLimitMs(line.size()));
        // A write the driver still holds is never followed by another into the same slot; a line
        // gone takes nothing more until it is opened again.
        const QByteArray before = f.io->wire;
        const bool stuck = end == WriteEnd::IgnoresCancel || error == WinSerialLine::WriteError;
        f.io->writeEnd = WriteEnd::Completes;
        f.io->writeError = 0;
        QCOMPARE(f.line.write(line), stuck ? -1 : line.size());
        QCOMPARE(f.io->wire, stuck ? before : before + line);
        // Closed and opened again, the port takes lines as before.
        f.line.close();
        QVERIFY(!f.io->isOpen);
        QVERIFY(f.open());
        QCOMPARE(f.line.write(line), line.size());
        QCOMPARE(f.io->opens, 2);
    }

    void openFailure_data() {
        QTest::addColumn<unsigned long>("openError");
        QTest::addColumn<unsigned long>("readError");
        QTest::addColumn<int>("error");
        QTest::newRow("not there") << 2ul << 0ul << int(WinSerialLine::DeviceNotFoundError);
        QTest::newRow("held by another program")
            << 5ul << 0ul << int(WinSerialLine::PermissionError);
        QTest::newRow("first read fails") << 0ul << 31ul << int(WinSerialLine::OpenError);
    }
    void openFailure() {
        QFETCH(unsigned long, openError);
        QFETCH(unsigned long, readError);
        QFETCH(int, error);
        FakeLine f;
        f.io->openError = openError;
        f.io->firstReadError = readError;
        QVERIFY(!f.open());
        QVERIFY(!f.line.isOpen());
        QCOMPARE(int(f.line.portError()), error);
        QCOMPARE(f.line.systemCode(), openError ? openError : readError);
        // The driver is not left open behind a failed open.
        QVERIFY(!f.io->isOpen);
    }

    // What comes is read as it came, up to the read buffer's size; the rest waits in the driver.
    // Line errors the driver told on the way are kept until the next command is written.
    void input() {
        FakeLine f;
        f.line.setReadBufferSize(4);
        QVERIFY(f.open());
        QSignalSpy ready(&f.line, &Line::readyRead);
        f.io->lineErrors = WinCommIo::FramingError;
        f.io->deliver("0CM1\r\n");
        QVERIFY(ready.wait(1000));
        QCOMPARE(f.line.read(100), QByteArray("0CM1"));
        QTRY_COMPARE(f.line.bytesAvailable(), 2);
        QCOMPARE(f.line.read(100), QByteArray("\r\n"));
        QCOMPARE(f.line.lineErrorsText(), ResText(1623).arg(ResText(1624)));
        f.line.write("0CM1\r\n");
        QCOMPARE(f.line.lineErrorsText(), QString());
    }

    // Closing lets the driver send what it still holds first.
    void closeDrains() {
        FakeLine f;
        QVERIFY(f.open());
        f.io->outQueue = 3;
        f.line.close();
        QCOMPARE(f.io->outQueue, 0u);
        QCOMPARE(f.io->closes, 1);
    }

    void exchange_data() {
        QTest::addColumn<WriteEnd>("end");
        QTest::addColumn<unsigned long>("readError");
        QTest::addColumn<int>("failure");
        QTest::newRow("write never ends")
            << WriteEnd::NeverEnds << 0ul << int(OpResult::Failure::Timeout);
        QTest::newRow("read aborted")
            << WriteEnd::Completes << 995ul << int(OpResult::Failure::PortGone);
        QTest::newRow("read access denied")
            << WriteEnd::Completes << 5ul << int(OpResult::Failure::PortGone);
        QTest::newRow("read bad command")
            << WriteEnd::Completes << 22ul << int(OpResult::Failure::PortGone);
    }
    // The exchange on this line: it ends with the failure's text, the port closed; the next
    // operation opens it again and gets its reply.
    void exchange() {
        QFETCH(WriteEnd, end);
        QFETCH(unsigned long, readError);
        QFETCH(int, failure);
        FakeLink f;
        ControllerLink &link = f.link;
        FakeCommIo &io = *f.io;
        io.writeEnd = end;
        io.answer = [&io, readError](const QByteArray &) {
            QTimer::singleShot(0, &io, [&io, readError] { io.failWatch(readError); });
            return QByteArray();
        };

        OpResult result;
        {
            ControllerScope c = link.controller(ControllerLink::Opening::PortOnly);
            QVERIFY(c.isHeld());
            result = c.checkCommunication();
        }
        QCOMPARE(int(result.failure), failure);
        if (failure == int(OpResult::Failure::Timeout)) {
            const QString text = joinLines({ResText(1620), ResText(1621)});
            QCOMPARE(result.text, text);
            QVERIFY(io.waitedMs <= writeBound(6));
        } else {
            QCOMPARE(result.reason, ResText(1308).arg(QStringLiteral("COM7")));
        }
        QVERIFY(!link.isPortOpen());
        QVERIFY(!io.isOpen);

        io.writeEnd = WriteEnd::Completes;
        io.answer = echo;
        ControllerScope again = link.controller(ControllerLink::Opening::PortOnly);
        QVERIFY(again.isHeld());
        QVERIFY(again.checkCommunication().isDone());
        QCOMPARE(io.opens, 2);
    }

    // A port another program holds is told as in use from the open's own error: with no second
    // open of the port (which would find no COM7 here and tell a missing port instead).
    void failedOpenToldByItsOwnError() {
#ifndef Q_OS_WIN
        QSKIP("Windows' error codes are read only by the Windows port check");
#endif
        FakeLink f;
        f.io->openError = 5; // ERROR_ACCESS_DENIED, as Windows refuses a port that is held
        const OpResult opened = f.link.OpenPort();
        QCOMPARE(opened.failure, OpResult::Failure::NoPort);
        QVERIFY2(opened.reason.endsWith(ResText(1506)), qPrintable(opened.reason));
        QCOMPARE(f.io->opens, 1);
    }

    // A reply garbled on the line: the message names what the driver saw.
    void lineErrorsExplainAFailure() {
        FakeLink f;
        f.io->answer = [&f](const QByteArray &written) {
            if (!written.startsWith("0CM1"))
                return written;
            f.io->lineErrors = WinCommIo::FramingError;
            return QByteArray("0CM1\xff\r\n");
        };
        ControllerScope c = f.link.controller(ControllerLink::Opening::PortOnly);
        QVERIFY(c.isHeld());
        const OpResult result = c.checkCommunication();
        QCOMPARE(result.failure, OpResult::Failure::Malformed);
        QCOMPARE(result.text,
                 joinLines({ResText(1105), ResText(1106), ResText(1623).arg(ResText(1624))}));
    }
};

QV_TEST_MAIN(TestWinSerialLine)
#include "tst_winserialline.moc"
