#pragma once

class QApplication;

namespace zrv {

// Exit status when the translation catalogue is missing from the program.
constexpr int kMissingCatalogueExitStatus = 18;

// Builds the main window on an existing application object, checks that the
// catalogue is embedded and runs the event loop (or shows the start-up error).
int runApplication(QApplication &app);

} // namespace zrv
