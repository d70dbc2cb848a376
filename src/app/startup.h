#pragma once

#include "device/portlister.h"

#include <memory>

class QApplication;

namespace zrv {

// Exit status when the translation catalogue is missing from the program.
constexpr int kMissingCatalogueExitStatus = 18;

// Builds the main window on an existing application object, checks that the
// catalogue is embedded and runs the event loop (or shows the start-up error).
// The window watches the system's serial ports.
int runApplication(QApplication &app);
// The same, with the window watching the ports of the given lister.
int runApplication(QApplication &app, std::shared_ptr<const PortLister> ports);

} // namespace zrv
