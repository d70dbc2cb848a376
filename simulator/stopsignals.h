#pragma once

class QCoreApplication;

// Ends the application's event loop on SIGINT and SIGTERM, so that the
// simulator unplugs cleanly (its link is removed) when it is stopped.
void quitOnStopSignals(QCoreApplication &app);
