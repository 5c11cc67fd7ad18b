#pragma once

#include <QTest>

// Prepares a test process: empty settings and data folders of its own (XDG_CONFIG_HOME, and
// XDG_DATA_HOME where the journal of writes goes), the offscreen platform unless one is set, and
// the Japanese language. Call before the application object.
void prepareTestEnvironment();

// Empties the stored settings between test functions.
void clearStoredSettings();

// A file's whole content; empty when it cannot be read.
QByteArray readBytes(const QString &path);

// Writes a file's whole content; false when it cannot be written.
bool writeBytes(const QString &path, const QByteArray &bytes);

// An empty file where the folder should be (the folders above it made), so that nothing can be
// stored in that folder or read from it until the file is removed.
bool blockFolder(const QString &folder);

// Runs one suite: prepares the environment, makes the application object and executes the test
// object with the given arguments (the program's name first).
using SuiteRun = int (*)(int argc, char *argv[]);

// Enters a suite into its area's test program under its class name and its source file's base
// name (tst_xxx); the program's main (TestMain.cpp) runs the suites it is asked for.
bool registerSuite(const char *className, const char *sourceFile, SuiteRun run);

// A suite of an area's test program, with the application object it needs.
#define QV_TEST_MAIN_WITH(Application, TestObject)                                                 \
    [[maybe_unused]] static const bool registered##TestObject =                                    \
        registerSuite(#TestObject, __FILE__, [](int argc, char *argv[]) {                          \
            prepareTestEnvironment();                                                              \
            Application app(argc, argv);                                                           \
            TestObject tc;                                                                         \
            return QTest::qExec(&tc, argc, argv);                                                  \
        });

// A widget suite.
#define QV_TEST_MAIN(TestObject) QV_TEST_MAIN_WITH(QApplication, TestObject)

// A suite of the logic alone.
#define QV_TEST_CORE_MAIN(TestObject) QV_TEST_MAIN_WITH(QCoreApplication, TestObject)
