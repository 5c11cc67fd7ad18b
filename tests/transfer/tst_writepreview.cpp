// The write's preview on the simulated controller: with the option on, the controller is read
// first and the items the write will change are shown; OK goes on to the write's own question,
// Cancel sends no block, and a controller that already holds the screen's values says so.
#include "TransferFixture.h"
#include "base/MessageLines.h"
#include "base/ResText.h"
#include "data/QvItems.h"
#include "support/TestEnvironment.h"

namespace {

// The preview's line of an item: its label, the controller's value and the one written.
QString change(const char *item, int controller, int written) {
    return ResText(1823)
        .arg(ItemLabel(*qvItemNamed(QLatin1String(item))))
        .arg(controller)
        .arg(written);
}

} // namespace

class TestWritePreview : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void preview_data() {
        QTest::addColumn<bool>("edited");         // the screen differs from the controller
        QTest::addColumn<QString>("refusedLine"); // the controller refuses this read
        QTest::addColumn<MsgAnswer>("answer");    // to the preview
        QTest::addColumn<QStringList>("boxes");   // what was shown, in order
        QTest::addColumn<QStringList>("written"); // the lines after the preview's read
        const QString changes = joinLines({ResText(1821), change("Vel1", 10, 30),
                                           change("Pulse1", 400, 1000), change("Vel2", 10, 12)});
        const QStringList write{Check,
                                Check,
                                "0WD027803020003E805FF",
                                "0WD047803020000C805FF",
                                "0WD0530030205FFFFFFFF",
                                "0WD0008012C060002FF00",
                                "0WD010864C8640F1400FF",
                                "0WD0330030205FFFFFFFF",
                                "0WD1FFFFFFFFFFFFF55AA"};
        QTest::newRow("changes, OK")
            << true << QString() << MsgAnswer::Ok << QStringList{changes, ResText(216)} << write;
        QTest::newRow("changes, Cancel sends nothing")
            << true << QString() << MsgAnswer::Cancel << QStringList{changes} << QStringList();
        QTest::newRow("nothing will change") << false << QString() << MsgAnswer::Cancel
                                             << QStringList{ResText(1822)} << QStringList();
        QTest::newRow("a read that fails writes nothing")
            << true << "0RD04" << MsgAnswer::Ok
            << QStringList{ResText(215) + "\r\n[" + ResText(261) + "]", ResText(1824)}
            << QStringList();
    }

    void preview() {
        QFETCH(bool, edited);
        QFETCH(QString, refusedLine);
        QFETCH(MsgAnswer, answer);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, written);
        TransferFixture f;
        f.settings.PreviewWrite = true;
        SimFault refusal = faultOn(refusedLine);
        refusal.errorCode = QStringLiteral("01");
        if (!refusedLine.isEmpty())
            f.sim.addFault(refusal);
        QvData fields = factoryData();
        if (edited)
            fields.Vel1 = 30, fields.Pulse1 = 1000, fields.Vel2 = 12;
        f.screen.fields = fields;
        f.screen.dataChanged = true;
        // What the screen was last read from stays the read copy's.
        f.copies.read.Vel1 = 77;
        f.prompt.answerTo[Question::WriteChanges] = answer;
        f.prompt.answerTo[Question::WriteToController] = MsgAnswer::Ok;
        f.prompt.answerTo[Question::RestartAfterWrite] = MsgAnswer::Cancel;

        const OpResult result = f.transfer.LoadtoCt();

        QCOMPARE(f.prompt.texts().mid(0, boxes.size()), boxes);
        const QStringList read = refusedLine.isEmpty() ? readLines() : readLines().mid(0, 3);
        QCOMPARE(f.sent(), read + written);
        QCOMPARE(result.isDone(), !written.isEmpty());
        QCOMPARE(f.copies.read.Vel1, 77);
        if (refusedLine.isEmpty()) {
            QCOMPARE(f.prompt.shown.first().buttons, MsgButtons::OkCancel);
            QCOMPARE(f.prompt.shown.first().question, std::optional(Question::WriteChanges));
        }
    }
};

QV_TEST_CORE_MAIN(TestWritePreview)
#include "tst_writepreview.moc"
