#pragma once

#include "core/result.h"

struct Workspace;

// Reads "Quarnel.xml" into the setting globals, each setting by itself with
// its default when its element is missing. A file that is not well-formed
// counts as missing, and fails with a problem naming the file, line, column
// and reason; the settings then hold their defaults all the same. A missing
// file is no failure.
Result<> Load_Settings(Workspace &ws);

// Writes the setting globals to "Quarnel.xml", replacing it whole. Fails when
// the file cannot be written.
Result<> Save_Setting(const Workspace &ws);
