#pragma once

#include "app/startup.h"
#include "testports.h"
#include "modalhelper.h"

#include <QApplication>
#include <QMainWindow>
#include <QtTest>

// What start-up showed: the main window's title and visibility while the event
// loop ran, and the message box if one appeared.
struct StartupOutcome
{
    int status = -1;
    bool windowShown = false;
    QString windowTitle;
    MessageBoxSeen box;
};

// Runs the start-up sequence; closes the main window (or the error box) from
// inside its event loop once it is up.
inline StartupOutcome runStartup(QApplication &app)
{
    StartupOutcome outcome;
    answerNextMessageBox(&outcome.box, QMessageBox::Ok);
    auto *closer = new QTimer;
    QObject::connect(closer, &QTimer::timeout, closer, [&outcome, closer] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<QMainWindow *>(widget);
            if (window && window->isVisible()) {
                outcome.windowShown = true;
                outcome.windowTitle = window->windowTitle();
                window->close();
                closer->stop();
            }
        }
    });
    closer->start(20);
    outcome.status = zrv::runApplication(app, noPorts());
    delete closer;
    return outcome;
}
