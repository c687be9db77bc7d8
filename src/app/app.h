#pragma once

#include "app/windows.h"

#include <QString>

class QApplication;
struct Workspace;

// Creates every window once, in the start-up order; they live until the
// main window (the parent of the others) is destroyed.
Windows &Create_Windows(Workspace &ws);

// Starts the workspace, creates the windows and runs the event loop until the
// main window is closed. `workspace` is the --workspace folder, or empty.
int Run_Configurator(QApplication &app, const QString &workspace);
