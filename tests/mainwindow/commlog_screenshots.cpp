// Saves pictures of the communication log window and the verification details for the
// documentation: the log during a read and a failed write, and the NG box with its details shown.
// Run under a display (xvfb-run) with the output folder as argument.
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "gui/QtPrompt.h"
#include "gui/frmMain.h"
#include "sim/ControllerSimulator.h"
#include "support/PictureRun.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

// Real message boxes that take a picture of the whole screen and then answer with their default
// button; a box with details shows them first.
class PicturePrompt : public QtPrompt {
public:
    explicit PicturePrompt(const QDir &out) : m_out(out) {}
    QStringList names; // picture for each box in turn ("" for none)

    MsgAnswer MsgBoxDetailed(const QString &text, const QString &details, MsgButtons buttons,
                             MsgIcon icon) override {
        const QString name = names.isEmpty() ? QString() : names.takeFirst();
        QTimer::singleShot(500, [this, name] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            for (QAbstractButton *b : box->buttons()) {
                if (box->buttonRole(b) == QMessageBox::ActionRole)
                    b->click();
            }
            QTest::qWait(300);
            if (!name.isEmpty())
                QApplication::primaryScreen()->grabWindow(0).save(m_out.filePath(name));
            box->done(box->defaultButton() ? box->standardButton(box->defaultButton())
                                           : QMessageBox::Ok);
        });
        return QtPrompt::MsgBoxDetailed(text, details, buttons, icon);
    }

private:
    QDir m_out;
};

} // namespace

int main(int argc, char *argv[]) {
    PictureRun run(argc, argv);
    const QDir &out = run.out;
    StoredSettings::writeText(QStringLiteral("Language"), QStringLiteral("2"));

    ControllerSimulator sim;
    sim.setPaced(true);
    PicturePrompt prompt(out);
    Session session(prompt);
    PictureRun::setUp(session);
    session.link.setDeviceOverride(sim.devicePath());
    frmMain window(session);
    prompt.setParent(&window);
    window.move(0, 0);
    window.show();
    window.findChild<QAction *>(QStringLiteral("mnuViewCommLog"))->trigger();
    auto *log = window.findChild<QWidget *>(QStringLiteral("frmCommLog"));
    log->move(window.width() / 3, window.height() / 3);
    QTest::qWait(300);

    window.OnlineDataRead();
    QTest::qWait(300);
    QApplication::primaryScreen()->grabWindow(0).save(out.filePath("commlog-read.png"));

    // A write to a controller that stops answering after the first block.
    SimFault silent;
    silent.match = QStringLiteral("0WD04");
    silent.silent = true;
    sim.addFault(silent);
    window.findChild<QComboBox *>(QStringLiteral("comboVEL1"))->setCurrentText("20");
    prompt.names = {QString(), QStringLiteral("commlog-failed-write.png"), QString()};
    window.findChild<QPushButton *>(QStringLiteral("cmdLoadtoCt"))->click();
    sim.clearFaults();

    log->hide();
    prompt.names = {QStringLiteral("verify-ng-details.png")};
    window.findChild<QPushButton *>(QStringLiteral("cmdShogoCt"))->click();
    return 0;
}
