#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

struct Workspace;

// True when `name` names one folder directly inside PROJECTS: not empty, not
// "." or "..", no path separator, not an absolute path.
bool Is_Configuration_Name(const QString &name);

// Creates the configuration `name` with its "bin" folder and opens it.
// Fails with the message that refuses it: Msg_Project_Name_Empty an empty
// name, Msg_Project_Name_Folder_Exists an existing folder,
// Msg_Project_Name_Not_Valid a name that the file system refuses or that
// would reach outside PROJECTS, Msg_Name_Breaks_Lists a name holding ";", a
// line break or another control character, Msg_Name_Differs_In_Case a name
// that differs only in letter case from an existing configuration (named in
// the text). The new-configuration dialog and the command "new" both come
// here. When the folder of a sound name cannot be made (a read-only
// workspace, a full disk), Msg_Project_Name_Not_Valid is followed, on a line
// of its own, by a message naming the folder and the system's reason.
Result<> Create_Configuration(Workspace &ws, const QString &name);

// The names of the configuration folders in PROJECTS, in the order of the
// directory listing (no sorting); files are ignored.
QStringList Load_Existing_Configuration(const Workspace &ws);

// Finding a configuration by name, for the open dialog's preselection and
// every command: the index of the name equal to `snc`, else of the first
// that differs only in letter case (both upper-cased); -1 if none or when
// `snc` is empty.
int Search_Open_Conf(const QStringList &names, const QString &snc);

// Ok when the configuration folder `path_project` is there. Fails with
// message 18 when no configuration is open (an empty path), and with message
// 18 followed, on a line of its own, by a message naming the folder when it
// was moved, renamed or deleted outside the program: nothing may then be
// written there, nor made from the defaults its missing documents would give.
Result<> Check_Configuration_Folder(const QString &path_project);

// The name of the open configuration as the open dialog shows it: the text
// of Path_Project after PROJECTS and its separator; empty when none is open.
QString Current_Configuration(const Workspace &ws);
