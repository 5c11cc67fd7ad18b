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

// Main function of a suite, with the application object it needs.
#define QV_TEST_MAIN_WITH(Application, TestObject)                                                 \
    int main(int argc, char *argv[]) {                                                             \
        prepareTestEnvironment();                                                                  \
        Application app(argc, argv);                                                               \
        TestObject tc;                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

// Main function for widget suites.
#define QV_TEST_MAIN(TestObject) QV_TEST_MAIN_WITH(QApplication, TestObject)

// Main function for suites of the logic alone.
#define QV_TEST_CORE_MAIN(TestObject) QV_TEST_MAIN_WITH(QCoreApplication, TestObject)
