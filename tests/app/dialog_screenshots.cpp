// Saves pictures of the splash, options, about, system-information and help windows, a message
// box with Qt's Japanese buttons and the status bar's port field, in both languages. Run under a
// display (xvfb-run) with the output folder as argument.
#include "app/StartRoutine.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "gui/HelpFile.h"
#include "gui/PortStatusLabel.h"
#include "gui/QtPrompt.h"
#include "gui/QtTranslations.h"
#include "gui/frmAbout.h"
#include "gui/frmMain.h"
#include "gui/frmOptions.h"
#include "gui/frmSplash.h"
#include "gui/frmSysInfo.h"
#include "session/SystemReport.h"
#include "sim/ControllerSimulator.h"
#include "support/PictureRun.h"
#include "support/Pty.h"
#include "support/SessionFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

QDir out;

void save(QWidget *w, const QString &name) {
    QTest::qWait(200);
    w->grab().save(out.filePath(name + QStringLiteral(".png")));
}

// Runs work on the next modal window while show() keeps it open.
void onModal(const std::function<void(QWidget *)> &work, const std::function<void()> &show) {
    QTimer::singleShot(300, [work] {
        if (QWidget *w = QApplication::activeModalWidget())
            work(w);
    });
    show();
}

} // namespace

int main(int argc, char *argv[]) {
    PictureRun run(argc, argv);
    out = run.out;

    frmSplash splash;
    splash.show();
    save(&splash, QStringLiteral("splash"));
    splash.close();

    ControllerSimulator sim;
    PortMap::setEntry(1, sim.devicePath());
    PortMap::setEntry(
        2, QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K7Q3B-if00-port0"));
    Pty locked;
    PortMap::setEntry(3, locked.slavePath());

    PictureRun::forEachLanguage([&](const QString &suffix) {
        StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("1"));
        SessionFixture f;
        f.link.portMap().setEnumerator({});
        f.settings.ReadLanguage();
        setLangOffset(f.settings.LangOffset);
        f.settings.ReadPortNo();
        f.settings.ReadPortOccupy();
        frmMain window(f.session);
        window.show();
        QTest::qWait(200);
        f.link.OpenPort();
        save(window.statusBar(), QStringLiteral("statusbar-open-%1").arg(suffix));
        f.link.ClosePort();

        const auto options = [&](int tab, bool parameters, bool homing, const QString &name) {
            onModal(
                [&](QWidget *w) {
                    auto *d = static_cast<frmOptions *>(w);
                    d->ssTab3->setCurrentIndex(tab);
                    d->chkParametaShow->setChecked(parameters);
                    d->chkHomeParaShow->setChecked(homing);
                    if (tab == 0)
                        d->comboPortNo->setCurrentText(QStringLiteral("COM3"));
                    save(d, name);
                    d->reject();
                },
                [&] {
                    frmOptions d(f.settings, f.link, f.prompt, window);
                    d.exec();
                });
        };
        {
            // COM3 as a device this user may not open. The settings and the pictures stay within
            // the user's reach.
            for (const QString &path :
                 {run.configPath(), run.configPath() + "/QVPC-Software", out.absolutePath()})
                ::chmod(QFile::encodeName(path).constData(), 0777);
            ::chmod(QFile::encodeName(StoredSettings::filePath()).constData(), 0666);
            WithoutAccess denied(locked.slavePath());
            options(0, false, false, QStringLiteral("options-port-%1").arg(suffix));
            options(2, false, false, QStringLiteral("options-etc-%1").arg(suffix));
            f.settings.PortNo = 3;
            f.link.OpenPort();
            save(window.statusBar(), QStringLiteral("statusbar-denied-%1").arg(suffix));
        }
        f.settings.PortNo = 1;
        options(1, false, false, QStringLiteral("options-parameters-off-%1").arg(suffix));
        options(1, true, true, QStringLiteral("options-parameters-homing-%1").arg(suffix));

        QtPrompt prompt;
        prompt.setParent(&window);
        frmAbout about(prompt, [&](QWidget *owner) {
            frmSysInfo info(systemReport(f.link), owner);
            info.show();
            save(&info, QStringLiteral("sysinfo-%1").arg(suffix));
            return true;
        });
        about.show();
        save(&about, QStringLiteral("about-%1").arg(suffix));
        about.cmdSysInfo->click();
        about.close();

        // The help file as the program sets it up, with real message boxes: none is installed
        // beside this program.
        HelpFile help(prompt);
        help.InitHelp(QCoreApplication::applicationDirPath());
        window.setHelpFile(help);
        onModal(
            [&](QWidget *w) {
                save(w, QStringLiteral("help-missing-%1").arg(suffix));
                w->close();
            },
            [&] { window.findChild<QAction *>(QStringLiteral("mnuHelpContents"))->trigger(); });
    });

    // Qt's own buttons in Japanese.
    installQtTranslations(run.app, true);
    setLangOffset(0);
    QtPrompt prompt;
    onModal(
        [](QWidget *w) {
            save(w, QStringLiteral("messagebox-ja-buttons"));
            w->close();
        },
        [&] { prompt.saveBeforeReplace(); });
    return 0;
}
