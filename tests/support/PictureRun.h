#pragma once

// The start shared by the programs that take the documentation's pictures: settings in a
// throw-away folder (never the user's), the application, and the output folder named on the
// command line (the current folder without one).
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "session/Session.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <functional>

class PictureRun {
public:
    PictureRun(int &argc, char **argv)
        : app(argc, argv), out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".")) {}

    // One round per language, Japanese then English, with that language stored; the round gets
    // the pictures' name suffix ("ja", "en") and reads the language as the start routine does.
    static void forEachLanguage(const std::function<void(const QString &suffix)> &round) {
        for (const auto &[stored, suffix] : {std::pair{"1", "ja"}, std::pair{"2", "en"}}) {
            StoredSettings::writeText(QStringLiteral("Language"), QLatin1String(stored));
            round(QLatin1String(suffix));
        }
    }

    // The session as the pictures show it: the stored language read as the start routine reads
    // it, COM1, and the port let go after each operation.
    static void setUp(Session &session) {
        session.settings.ReadLanguage();
        setLangOffset(session.settings.LangOffset);
        session.settings.PortNo = 1;
        session.settings.OccupyPort = false;
    }

    const QString configPath() const { return m_config.dir.path(); }

private:
    // Made before the application, so that nothing reads the user's settings.
    struct ConfigHome {
        ConfigHome() { qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }
        QTemporaryDir dir;
    } m_config;

public:
    QApplication app;
    const QDir out;
};
