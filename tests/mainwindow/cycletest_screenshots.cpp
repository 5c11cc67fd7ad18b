// Saves pictures of the cycle test window and of the write's preview for the documentation, in
// Japanese and English, against a simulated controller whose moves vary a little. Run under a
// display (xvfb-run) with a window manager and the output folder as argument: the pictures are
// taken from the screen, frame and all.
#include "base/ResText.h"
#include "gui/QtPrompt.h"
#include "gui/frmCycleTest.h"
#include "gui/frmMain.h"
#include "sim/ControllerSimulator.h"
#include "support/PictureRun.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

// The window as the screen shows it, with its frame.
void saveFramed(QWidget *window, const QString &path) {
    QTest::qWait(400);
    const QRect frame = window->frameGeometry();
    QApplication::primaryScreen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .save(path);
}

} // namespace

int main(int argc, char *argv[]) {
    PictureRun run(argc, argv);
    PictureRun::forEachLanguage([&](const QString &suffix) {
        ControllerSimulator sim;
        sim.model().setMoveTimeScale(0.2);
        sim.model().setMoveJitter(0.04, 1);
        QtPrompt prompt;
        Session session(prompt);
        PictureRun::setUp(session);
        session.settings.PreviewWrite = true;
        session.link.setDeviceOverride(sim.devicePath());
        frmMain window(session);
        prompt.setParent(&window);
        window.show();
        window.OnlineDataRead();

        // The write's preview: two items changed on the screen.
        window.findChild<QLineEdit *>(QStringLiteral("txtPosi1"))->setText(QStringLiteral("1200"));
        window.findChild<QLineEdit *>(QStringLiteral("txtPosi2Timer"))
            ->setText(QStringLiteral("9"));
        QTimer::singleShot(300, [&] {
            QWidget *box = QApplication::activeModalWidget();
            saveFramed(box, run.out.filePath(QStringLiteral("write-preview-%1.png").arg(suffix)));
            QTest::keyClick(box, Qt::Key_Escape);
        });
        window.findChild<QPushButton *>(QStringLiteral("cmdLoadtoCt"))->click();

        // The cycle test after 24 moves.
        window.findChild<QPushButton *>(QStringLiteral("cmdModeChange"))->click();
        frmCycleTest test(session.moves(), prompt, &window);
        test.show();
        test.resize(test.width() * 5 / 4, test.height());
        test.spnCount->setValue(24);
        test.cmdStart->click();
        saveFramed(&test, run.out.filePath(QStringLiteral("cycletest-%1.png").arg(suffix)));
    });
    return 0;
}
