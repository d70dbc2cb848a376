#pragma once

#include <chrono>

// Server statements in flight, watched from outside the thread that waits for
// them: a backend that stops answering (paused, a held lock that outlives the
// server's own timeouts, a silent network) would hold that thread without
// limit. Cutting the socket makes the wait end as a lost connection.
namespace QueryWatch {

// The waiting thread marks a statement's start and end on its socket.
void started(const void *owner, int socket);
void ended(const void *owner);

// Shuts the socket of every statement older than `limit`; the number cut.
int cutOverdue(std::chrono::milliseconds limit);
// Shuts every watched socket (the program is ending).
int cutAll();

} // namespace QueryWatch
