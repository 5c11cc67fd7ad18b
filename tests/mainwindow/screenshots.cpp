// Saves pictures of the main window for the documentation: each language, parameter frames
// hidden and shown. Run under a display (xvfb-run) with the output folder as argument.
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "gui/frmMain.h"
#include "link/ControllerLink.h"
#include "support/PictureRun.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"

#include <QTest>

int main(int argc, char *argv[]) {
    PictureRun run(argc, argv);
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
