// The main function of an area's test program, which holds the suites of one area. CTest runs
// each suite in a process of its own ("link_suites tst_exchange"), so that a suite starts with
// its own settings folder and application object as if it were a program of its own.
//
//   PROGRAM SUITE [Qt Test options and functions]   one suite (its file's name or its class)
//   PROGRAM [Qt Test options]                       every suite, each in a child process
//   PROGRAM --list                                  the suites' names
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Suite {
    QString name; // tst_xxx
    QString className;
    SuiteRun run;
};

std::vector<Suite> &suites() {
    static std::vector<Suite> list;
    return list;
}

const Suite *findSuite(const QString &name) {
    const auto &all = suites();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Suite &suite) {
        return suite.name == name || suite.className == name;
    });
    return it == all.end() ? nullptr : &*it;
}

// Every suite in turn, each in a child process with the given options; fails when one fails and
// names it.
int runAll(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList options = app.arguments().mid(1);
    QStringList failed;
    for (const Suite &suite : suites()) {
        const int status =
            QProcess::execute(app.applicationFilePath(), QStringList{suite.name} + options);
        if (status != 0)
            failed << QStringLiteral("%1 (%2)").arg(suite.name, suite.className);
    }
    if (failed.isEmpty())
        return 0;
    std::fprintf(stderr, "failed suites: %s\n", qPrintable(failed.join(QStringLiteral(", "))));
    return 1;
}

} // namespace

bool registerSuite(const char *className, const char *sourceFile, SuiteRun run) {
    const QString name = QFileInfo(QString::fromUtf8(sourceFile)).completeBaseName();
    auto &all = suites();
    all.push_back({name, QString::fromLatin1(className), run});
    std::sort(all.begin(), all.end(),
              [](const Suite &a, const Suite &b) { return a.name < b.name; });
    return true;
}

int main(int argc, char *argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const Suite &suite : suites())
            std::printf("%s %s\n", qPrintable(suite.name), qPrintable(suite.className));
        return 0;
    }
    if (argc < 2 || argv[1][0] == '-')
        return runAll(argc, argv);
    const Suite *suite = findSuite(QString::fromLocal8Bit(argv[1]));
    if (!suite) {
        std::fprintf(stderr, "%s: no suite %s here (--list names them)\n", argv[0], argv[1]);
        return 2;
    }
    // The suite sees the program's name followed by the arguments after its own name.
    argv[1] = argv[0];
    return suite->run(argc - 1, argv + 1);
}
