#pragma once

#include <QTest>

// Prepares a test process: an empty settings folder of its own (XDG_CONFIG_HOME), the offscreen
// platform unless one is set, and the Japanese language. Call before the application object.
void prepareTestEnvironment();

// Empties the stored settings between test functions.
void clearStoredSettings();

// Main function for widget suites.
#define QV_TEST_MAIN(TestObject)                                                                   \
    int main(int argc, char *argv[]) {                                                             \
        prepareTestEnvironment();                                                                  \
        QApplication app(argc, argv);                                                              \
        TestObject tc;                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

// Main function for suites of the logic alone.
#define QV_TEST_CORE_MAIN(TestObject)                                                              \
    int main(int argc, char *argv[]) {                                                             \
        prepareTestEnvironment();                                                                  \
        QCoreApplication app(argc, argv);                                                          \
        TestObject tc;                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
