#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace zrv {

// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C) close the window
// as its close button does, so that what it holds is saved. The handler only
// writes a byte to a pipe; the event loop reads it and closes the window.
class CloseOnSignals : public QObject
{
    Q_OBJECT

public:
    explicit CloseOnSignals(QWidget *window);
    ~CloseOnSignals() override;

private:
    static void handle(int signal);
    void arrived();

    QWidget *window = nullptr;
    QSocketNotifier *notifier = nullptr;
};

} // namespace zrv
