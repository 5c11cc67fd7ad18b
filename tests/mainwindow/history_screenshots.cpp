// Saves pictures of the Write History window for the documentation, in Japanese and English:
// three journalled writes to a simulated controller, the second one chosen. Run under a display
// (xvfb-run) with the output folder as argument.
#include "base/ResText.h"
#include "data/ControllerTransfer.h"
#include "gui/frmHistory.h"
#include "gui/frmMain.h"
#include "sim/ControllerSimulator.h"
#include "support/PictureRun.h"
#include "support/ScriptedPrompt.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char *argv[]) {
    PictureRun run(argc, argv);
    // The journal in a throw-away folder too, never the user's.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());

    PictureRun::forEachLanguage([&](const QString &suffix) {
        QDir(WriteJournal::defaultFolder()).removeRecursively();
        ControllerSimulator sim;
        ScriptedPrompt prompt;
        Session session(prompt);
        PictureRun::setUp(session);
        session.settings.KeepJournal = true;
        session.link.setDeviceOverride(sim.devicePath());
        frmMain window(session);
        window.show();
        window.OnlineDataRead();
        // Three writes, the last without the restart.
        const auto writeWith = [&](const char *field, const char *value, bool restart) {
            window.findChild<QLineEdit *>(QLatin1String(field))->setText(QLatin1String(value));
            prompt.answers = {MsgAnswer::Ok, restart ? MsgAnswer::Ok : MsgAnswer::Cancel};
            window.findChild<QPushButton *>(QStringLiteral("cmdLoadtoCt"))->click();
        };
        writeWith("txtPosi1", "1200", true);
        window.findChild<QLineEdit *>(QStringLiteral("txtPosi2Timer"))->setText("12");
        writeWith("txtPosi2", "650", true);
        writeWith("txtPosi1Timer", "9", false);

        frmHistory history(session.journal.entries(), true, nullptr);
        history.show();
        history.tblEntries->selectRow(1);
        QTest::qWait(300);
        history.grab().save(run.out.filePath(QStringLiteral("write-history-%1.png").arg(suffix)));
    });
    return 0;
}
