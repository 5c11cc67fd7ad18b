// Saves pictures of the main window for the documentation: each language, parameter frames
// hidden and shown. Run under a display (xvfb-run) with the output folder as argument.
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "gui/frmMain.h"
#include "link/ControllerLink.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char *argv[]) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    for (const auto &[language, suffix] : {std::pair{"1", "ja"}, std::pair{"2", "en"}}) {
        StoredSettings::writeText(QStringLiteral("Language"), QLatin1String(language));
        SessionFixture f;
        f.settings.ReadLanguage(); // as the start routine does before the window loads
        setLangOffset(f.settings.LangOffset);
        frmMain window(f.session);
        window.show();
        QTest::qWait(300);
        window.grab().save(out.filePath(QStringLiteral("main-%1.png").arg(suffix)));
        window.setShowParameters(true);
        window.applyParameterDisplay();
        QTest::qWait(300);
        window.grab().save(out.filePath(QStringLiteral("main-%1-parameters.png").arg(suffix)));
    }
    return 0;
}
