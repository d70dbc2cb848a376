#pragma once

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

// Before the application exists: settings in the test-mode folder. The
// windows of these suites list no ports of the machine (noPorts()).
inline void prepareWindowTests()
{
    QStandardPaths::setTestModeEnabled(true);
    // Reads a test makes are spooled in a test folder, never in the user's.
    qputenv("XDG_STATE_HOME", (QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                               + QStringLiteral("/zrv-state"))
                                  .toUtf8());
}

// A test main for suites that build the window or run the start-up.
#define ZRV_WINDOW_TEST_MAIN(TestClass)                                                                      \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        prepareWindowTests();                                                                                \
        QApplication app(argc, argv);                                                                        \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
