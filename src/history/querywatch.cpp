#include "history/querywatch.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <sys/socket.h>

namespace {

struct Watched
{
    int socket = -1;
    std::chrono::steady_clock::time_point since;
};

QMutex &lock()
{
    static QMutex mutex;
    return mutex;
}

QHash<const void *, Watched> &inFlight()
{
    static QHash<const void *, Watched> statements;
    return statements;
}

} // namespace

namespace QueryWatch {

void started(const void *owner, int socket)
{
    if (socket < 0)
        return;
    const QMutexLocker locked(&lock());
    inFlight().insert(owner, {socket, std::chrono::steady_clock::now()});
}

void ended(const void *owner)
{
    const QMutexLocker locked(&lock());
    inFlight().remove(owner);
}

int cutOverdue(std::chrono::milliseconds limit)
{
    const auto now = std::chrono::steady_clock::now();
    const QMutexLocker locked(&lock());
    int cut = 0;
    for (auto it = inFlight().begin(); it != inFlight().end();) {
        if (now - it->since < limit) {
            ++it;
            continue;
        }
        // The descriptor stays open for its owner; only its traffic ends.
        ::shutdown(it->socket, SHUT_RDWR);
        it = inFlight().erase(it);
        ++cut;
    }
    return cut;
}

int cutAll()
{
    return cutOverdue(std::chrono::milliseconds(0));
}

} // namespace QueryWatch
