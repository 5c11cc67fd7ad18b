// Saves the picture of the I/O monitor window for the documentation: a minute of the demo
// controller's traces in the strip chart, the outputs switched a few times along the way.
// Run under a display (xvfb-run) with the output folder as argument.
#include "app/DemoController.h"
#include "base/ResText.h"
#include "gui/QtPrompt.h"
#include "gui/frmInputOutput.h"
#include "gui/frmMain.h"
#include "iomon/IoMonitor.h"
#include "support/PictureRun.h"

#include <QPushButton>
#include <QTest>

int main(int argc, char *argv[]) {
    PictureRun run(argc, argv);
    StoredSettings::writeText(QStringLiteral("Language"), QStringLiteral("2"));

    QtPrompt prompt;
    Session session(prompt);
    PictureRun::setUp(session);
    DemoController demo(session.link);
    frmMain main(session);
    main.move(0, 0);
    main.show();
    IoMonitor &monitor = session.ioMonitor();
    frmInputOutput window(monitor, &main);
    window.show();
    QTest::qWait(300);
    window.cmdMonitor->click();
    // The outputs as someone tuning the feeder might switch them: take-out OK and the escape
    // solenoid on and off again.
    const struct {
        int atSeconds;
        int signal;
    } switches[] = {{8, IoSignals::TakeOut},  {14, IoSignals::Escape}, {22, IoSignals::Escape},
                    {30, IoSignals::TakeOut}, {38, IoSignals::Escape}, {41, IoSignals::Escape},
                    {47, IoSignals::NoWork},  {55, IoSignals::NoWork}};
    int elapsed = 0;
    for (const auto &s : switches) {
        QTest::qWait((s.atSeconds - elapsed) * 1000);
        elapsed = s.atSeconds;
        monitor.requestToggle(s.signal);
    }
    QTest::qWait((62 - elapsed) * 1000);
    window.grab().save(run.out.filePath(QStringLiteral("iomonitor-timeline-en.png")));
    window.cmdMonitor->click();
    return monitor.failed() ? 1 : 0;
}
