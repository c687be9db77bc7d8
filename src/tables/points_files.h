#pragma once

#include "core/result.h"
#include "tables/points_csv.h"

#include <QString>

struct Workspace;

// Points lists between a file and the open configuration's documents,
// without a window: the command line's export and import.

enum class Points_Document { Objects, Rules };

// Writes the points list of the object (or rule) document to `file`,
// replacing it atomically: the rows the document's window would show and
// save. Refused, writing nothing, when the document is damaged.
Result<> Export_Points_File(const Workspace &ws, Points_Document which, const QString &file);

// Imports `file` into the object (or rule) document and writes the document
// atomically. Nothing is written when the document is damaged, when
// appending to tables whose load put rows at risk (they would be lost or
// joined to the appended rows), or when any line of the file is wrong: the
// problem then lists every bad line.
Result<> Import_Points_File(const Workspace &ws, Points_Document which, const QString &file, Import_Mode mode);
