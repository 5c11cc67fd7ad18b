// Saves pictures of the main window for the documentation: each language, parameter frames
// hidden and shown. Run under a display (xvfb-run) with the output folder as argument; with
// "--screen" after it, pictures of the whole screen instead (run with a window manager and a
// scale factor to see how the window fits).
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "gui/frmMain.h"
#include "link/ControllerLink.h"
#include "support/PictureRun.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

namespace {

QPixmap wholeScreen() {
    return QApplication::primaryScreen()->grabWindow(0);
}

// With "--screen": the whole screen, as a window manager and the scale factor of this run leave
// it, with the parameters shown, then with the hint after an out-of-range entry.
void screenPictures(const PictureRun &run) {
    SessionFixture f;
    f.settings.ReadLanguage();
    setLangOffset(f.settings.LangOffset);
    frmMain window(f.session);
    window.show();
    window.setShowParameters(true);
    window.applyParameterDisplay();
    QTest::qWait(1500);
    wholeScreen().save(run.out.filePath(QStringLiteral("main-screen-parameters.png")));
    auto *vel = window.findChild<QComboBox *>(QStringLiteral("comboVEL2"));
    vel->setEditText(QString());
    vel->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(vel->lineEdit(), QStringLiteral("35"));
    window.findChild<QLineEdit *>(QStringLiteral("txtPosi2"))->setFocus(Qt::TabFocusReason);
    QTest::qWait(500);
    wholeScreen().save(run.out.filePath(QStringLiteral("main-screen-hint.png")));
}

} // namespace

int main(int argc, char *argv[]) {
    PictureRun run(argc, argv);
    if (argc > 2 && QLatin1String(argv[2]) == QLatin1String("--screen")) {
        screenPictures(run);
        return 0;
    }
    PictureRun::forEachLanguage([&run](const QString &suffix) {
        SessionFixture f;
        f.settings.ReadLanguage(); // as the start routine does before the window loads
        setLangOffset(f.settings.LangOffset);
        frmMain window(f.session);
        window.show();
        QTest::qWait(300);
        window.grab().save(run.out.filePath(QStringLiteral("main-%1.png").arg(suffix)));
        window.setShowParameters(true);
        window.applyParameterDisplay();
        QTest::qWait(300);
        window.grab().save(run.out.filePath(QStringLiteral("main-%1-parameters.png").arg(suffix)));
    });
    return 0;
}
