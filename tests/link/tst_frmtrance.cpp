// The communication-in-progress window.
#include "base/ResText.h"
#include "gui/Twips.h"
#include "gui/frmTrance.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>

class TestFrmTrance : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setLangOffset(0); }

    void texts_data();
    void texts();
    void placedBesideMain();
    void refusesCloseRequests();
    void reloadsAfterUnload();
};

void TestFrmTrance::texts_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label");
    QTest::newRow("Japanese") << 0 << QStringLiteral("QV PC-Software ただいま通信中・・・")
                              << QStringLiteral("データをコントローラへ転送しています");
    QTest::newRow("English") << 10000 << QStringLiteral("QV PC-Software  Communication now...")
                             << QStringLiteral("Sending data to the controller...");
}

void TestFrmTrance::texts() {
    QFETCH(int, offset);
    QFETCH(QString, title);
    QFETCH(QString, label);
    setLangOffset(qint16(offset));
    frmTrance window;
    window.show();
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(window.lblSetumei->text(), label);
    QVERIFY(!window.isModal());
    window.unload();
}

void TestFrmTrance::placedBesideMain() {
    QMainWindow main;
    main.move(120, 80);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    frmTrance window(&main);
    window.show();
    QCOMPARE(window.pos(), main.frameGeometry().topLeft() + QPoint(500 / 15, 500 / 15));
    window.unload();
}

void TestFrmTrance::refusesCloseRequests() {
    frmTrance window;
    window.show();
    QVERIFY(!window.close());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    window.unload();
    QVERIFY(!window.isVisible());
}

void TestFrmTrance::reloadsAfterUnload() {
    frmTrance window;
    window.show();
    window.setLabel(QStringLiteral("reading"));
    window.setMaximum(5);
    window.setValue(3);
    QCOMPARE(window.prgBar1->maximum(), 5);
    QCOMPARE(window.prgBar1->value(), 3);
    window.unload();
    window.show();
    QCOMPARE(window.lblSetumei->text(), QStringLiteral("データをコントローラへ転送しています"));
    QCOMPARE(window.prgBar1->value(), 0);
    window.unload();
}

QV_TEST_MAIN(TestFrmTrance)
#include "tst_frmtrance.moc"
