#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

struct Workspace;

// True when `name` names one folder directly inside PROJECTS: not empty, not
// "." or "..", no path separator, not an absolute path.
bool Is_Configuration_Name(const QString &name);

// Creates the configuration `name` with its "bin" folder and opens it.
// Fails with the message that refuses it: 107 an empty name, 106 an existing
// folder, 105 a name that the file system refuses or that would reach
// outside PROJECTS. When the folder of a sound name cannot be made (a
// read-only workspace, a full disk), message 105 is followed, on a line of
// its own, by a message naming the folder and the system's reason.
Result<> Create_Configuration(Workspace &ws, const QString &name);

// The names of the configuration folders in PROJECTS, in the order of the
// directory listing (no sorting); files are ignored.
QStringList Load_Existing_Configuration(const Workspace &ws);

// Index of the first name equal to `snc` when both are upper-cased; -1 if none.
int Search_Open_Conf(const QStringList &names, const QString &snc);

// The name of the open configuration as the open dialog shows it: the text
// of Path_Project after PROJECTS and its separator; empty when none is open.
QString Current_Configuration(const Workspace &ws);
