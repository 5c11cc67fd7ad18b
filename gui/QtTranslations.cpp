#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installQtTranslations(QCoreApplication &app, bool japanese) {
    if (!japanese)
        return true;
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // qtbase has the buttons and dialogs; the print dialog's texts live there as well.
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
