// The console's stops on Windows: Ctrl+C and Ctrl+Break stop as on Linux; closing the console
// window, logoff and shutdown stop too, and the handler holds the program's end back until the
// work that was stopped is over.
#include "cli/StopSignal.h"
#include "support/TestEnvironment.h"

#include <QScopeGuard>
#include <QSignalSpy>

#include <atomic>
#include <csignal>
#include <thread>
#include <windows.h>

class TestConsoleStop : public QObject {
    Q_OBJECT
private slots:
    // Ctrl+C as the console sends it, where the system delivers it to this process.
    void ctrlCFromTheConsole() {
        StopSignal stop;
        QVERIFY(stop.isActive());
        QSignalSpy received(&stop, &StopSignal::received);
        if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0))
            QSKIP("this process has no console to send Ctrl+C through");
        // Wine's consoles need not pass the event on to the process's handlers.
        if (!received.wait(2000))
            QSKIP("Ctrl+C was sent but not delivered to this process's handler");
        QCOMPARE(received.at(0).at(0).toInt(), SIGINT);
    }

    void stops_data() {
        QTest::addColumn<unsigned long>("event");
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("holdsTheEnd");
        QTest::newRow("Ctrl+C") << (unsigned long)CTRL_C_EVENT << SIGINT << false;
        QTest::newRow("Ctrl+Break") << (unsigned long)CTRL_BREAK_EVENT << SIGINT << false;
        QTest::newRow("window closed") << (unsigned long)CTRL_CLOSE_EVENT << SIGTERM << true;
        QTest::newRow("logoff") << (unsigned long)CTRL_LOGOFF_EVENT << SIGTERM << true;
        QTest::newRow("shutdown") << (unsigned long)CTRL_SHUTDOWN_EVENT << SIGTERM << true;
    }
    // Each stop reaches the event loop once, from the handler's own thread; an ending one keeps
    // the handler (and so the program) until the work is over; a second Ctrl+C is left to the
    // system, which ends the program.
    void stops() {
        QFETCH(unsigned long, event);
        QFETCH(int, signal);
        QFETCH(bool, holdsTheEnd);
        auto stop = std::make_unique<StopSignal>();
        QSignalSpy received(stop.get(), &StopSignal::received);
        std::atomic_bool returned{false};
        bool taken = false;
        std::thread handler([&] {
            taken = StopSignal::consoleEvent(event);
            returned = true;
        });
        // A failed check still lets the handler go before the thread ends.
        const auto release = qScopeGuard([&] {
            stop.reset();
            handler.join();
        });
        QVERIFY(received.wait(2000));
        QCOMPARE(received.at(0).at(0).toInt(), signal);
        if (holdsTheEnd)
            QVERIFY(!returned);
        else
            QVERIFY(!StopSignal::consoleEvent(CTRL_C_EVENT));
        stop.reset();
        QTRY_VERIFY(returned);
        QVERIFY(taken);
        QCOMPARE(received.size(), 1);
    }
};

QV_TEST_MAIN(TestConsoleStop)
#include "tst_consolestop.moc"
