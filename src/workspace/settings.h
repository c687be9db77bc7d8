#pragma once

#include <QString>

struct Workspace;

// Reads "Quarnel.xml" into the setting globals, each setting by itself with
// its default when its element is missing. A file that is not well-formed
// counts as missing; the returned text then names the file, line, column and
// reason (empty when nothing went wrong).
QString Load_Settings(Workspace &ws);

// Writes the setting globals to "Quarnel.xml", replacing it whole. Returns
// false with `problem` set when the file cannot be written.
bool Save_Setting(const Workspace &ws, QString *problem);
