#pragma once

#include <QString>

class QApplication;

// Starts the workspace, creates the windows and runs the event loop until the
// main window is closed. `workspace` is the --workspace folder, or empty.
int Run_Configurator(QApplication &app, const QString &workspace);
