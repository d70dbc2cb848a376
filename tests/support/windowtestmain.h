#pragma once

#include "device/portlisting.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>

// Before the application exists: settings in the test-mode folder, and the
// machine's own serial ports kept out of the window's device link.
inline void prepareWindowTests()
{
    QStandardPaths::setTestModeEnabled(true);
    setSystemPortsListed(false);
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
