#include "app/closesignals.h"

#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zrv {

namespace {

int pipeEnds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

CloseOnSignals::CloseOnSignals(QWidget *window)
    : QObject(window)
    , window(window)
{
    if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &CloseOnSignals::arrived);
    struct sigaction action = {};
    action.sa_handler = &CloseOnSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

CloseOnSignals::~CloseOnSignals()
{
    // Past the window, a signal ends the program as it would by default.
    for (const int signal : kSignals)
        ::signal(signal, SIG_DFL);
}

void CloseOnSignals::handle(int signal)
{
    const char byte = char(signal);
    // Only async-signal-safe calls here; a full pipe already holds a request.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
}

void CloseOnSignals::arrived()
{
    char bytes[16];
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
    window->close();
}

} // namespace zrv
