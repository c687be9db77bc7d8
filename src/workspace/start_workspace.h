#pragma once

#include "workspace/workspace.h"

#include <QString>
#include <QStringList>

// Start-up of a workspace: it sits above the workspace, its settings, its
// configurations and its languages, and ties them together.

// The workspace root: `override_dir` when given, else the program's directory
// when it is writable and not an installed tree's bin folder, else the
// per-user data directory.
QString Choose_Workspace_Root(const QString &program_dir, const QString &override_dir);

// The start-up steps that need no window: directories and path globals, the
// first copy of the shipped language files, settings, language, the last
// configuration, the document paths and the row copy buffer. Returns the problems met on the way (a damaged settings
// file), each a composed message; start-up always completes.
QStringList Start_Workspace(Workspace &ws, const QString &root);
