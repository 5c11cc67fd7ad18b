// The controller's start modes and version on the simulated controller: the lines sent, the
// message shown, the port left open or released, and nothing done while another exchange waits.
#include "base/ResText.h"
#include "ops/ControllerModes.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

Q_DECLARE_METATYPE(SimFault)

namespace {

const QString Check = QStringLiteral("0CM1");
const QStringList Brackets{"CMDBTN_Muko", "Menyu_Muko", "CMDBTN_Yuko", "Menyu_Yuko"};

enum class Operation { External, Communication, Version };

qint16 run(ControllerModes &modes, Operation operation) {
    switch (operation) {
    case Operation::External:
        return modes.ModeGaibu();
    case Operation::Communication:
        return modes.ModeTrancefer();
    case Operation::Version:
        return modes.ViewCtVersion();
    }
    return 1;
}

} // namespace

Q_DECLARE_METATYPE(Operation)

class TestControllerModes : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void operations_data();
    void operations();
    void versionText_data();
    void versionText();
    void versionWhileReadWaits();
};

void TestControllerModes::operations_data() {
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<SimFault>("fault");
    QTest::addColumn<bool>("portMissing");
    QTest::addColumn<qint16>("result");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("portOpenAfter");

    const SimFault none;
    QTest::newRow("external start mode")
        << Operation::External << none << false << qint16(0) << QStringList{Check, "0CM0"}
        << QStringList{ResText(229)} << true;
    SimFault otherEcho = faultOn("0CM0");
    otherEcho.reply = "0CM1";
    QTest::newRow("external start mode not echoed")
        << Operation::External << otherEcho << false << qint16(1) << QStringList{Check, "0CM0"}
        << QStringList() << true;
    QTest::newRow("communication mode") << Operation::Communication << none << false << qint16(0)
                                        << QStringList{Check} << QStringList{ResText(230)} << true;
    QTest::newRow("communication mode, no port")
        << Operation::Communication << none << true << qint16(1) << QStringList()
        << QStringList{ResText(215)} << false;
    SimFault refused = faultOn("0RV");
    refused.errorCode = "01";
    QTest::newRow("version refused")
        << Operation::Version << refused << false << qint16(1) << QStringList{Check, "0RV"}
        << QStringList{ResText(215) + "\r\n[" + ResText(261) + "]", ResText(231)} << false;
    QTest::newRow("version, no port") << Operation::Version << none << true << qint16(1)
                                      << QStringList() << QStringList{ResText(215)} << false;
}

// Each runs inside the buttons' and file menu's bracket; the mode switches keep the port open
// (the port is otherwise released after each operation here), the version query releases it.
void TestControllerModes::operations() {
    QFETCH(Operation, operation);
    QFETCH(SimFault, fault);
    QFETCH(bool, portMissing);
    QFETCH(qint16, result);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, messages);
    QFETCH(bool, portOpenAfter);
    TransferFixture f(false);
    if (!fault.match.isEmpty())
        f.sim.addFault(fault);
    if (portMissing)
        f.link.setDeviceOverride(QStringLiteral("/dev/qv-no-such-port"));

    QCOMPARE(run(f.session.modes(), operation), result);

    QCOMPARE(f.sent(), lines);
    QCOMPARE(f.prompt.texts(), messages);
    QCOMPARE(f.screen.calls, Brackets);
    QCOMPARE(f.link.isPortOpen(), portOpenAfter);
}

void TestControllerModes::versionText_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("text");
    QTest::newRow("Japanese") << 0 << QStringLiteral("このコントローラーのバージョンは、140です。");
    QTest::newRow("English") << 10000 << QStringLiteral("The Version of this controller is 140.");
}

// Characters 4 to 6 of the reply are the version; the rest of the reply is not shown.
void TestControllerModes::versionText() {
    QFETCH(int, offset);
    QFETCH(QString, text);
    setLangOffset(qint16(offset));
    TransferFixture f(false);
    f.sim.model().setVersion(QStringLiteral("140"));

    QCOMPARE(f.session.modes().ViewCtVersion(), qint16(0));

    QCOMPARE(f.sent(), (QStringList{Check, "0RV"}));
    QCOMPARE(f.prompt.texts(), QStringList{text});
    QCOMPARE(f.session.modes().version(), QStringLiteral("140"));
}

// The version menu stays enabled while a read waits for a reply: choosing it then must leave
// the read alone instead of sending into its exchange and reporting a failure.
void TestControllerModes::versionWhileReadWaits() {
    TransferFixture f(false);
    qint16 versionResult = 0;
    QObject::connect(&f.sim, &ControllerSimulator::lineReceived, &f.sim, [&](const QString &line) {
        if (line == QLatin1String("0RD04"))
            versionResult = f.session.modes().ViewCtVersion();
    });

    QCOMPARE(f.transfer.ReadBlocks(), qint16(0));

    QCOMPARE(versionResult, qint16(1));
    QVERIFY(!f.sent().contains(QStringLiteral("0RV")));
    QCOMPARE(f.prompt.texts(), QStringList());
    QCOMPARE(f.screen.calls, QStringList());
}

QV_TEST_CORE_MAIN(TestControllerModes)
#include "tst_controllermodes.moc"
