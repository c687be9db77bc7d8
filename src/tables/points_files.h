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
// joined to the appended rows), when any line of the file is wrong, or when
// a row it brings fails the table check that the window's OK makes (so that
// the command never writes a document the window would refuse to save): the
// problem then lists every bad line, with the check's failures on the line
// of their row.
Result<> Import_Points_File(const Workspace &ws, Points_Document which, const QString &file, Import_Mode mode);
