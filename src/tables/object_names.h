#pragma once

#include "tables/bacnet_access.h"
#include "tables/table_document.h"

#include <QList>
#include <QString>
#include <QStringList>

// The BACnet object names of a configuration: the device serves each object
// of both tables under its Mnemonic cut to 32 characters (long names,
// "BACnet_Desc_Chars_Limit" "1") or 16. A device must not serve two objects
// under one name, nor one without a name; the user may still save, so these
// are warnings, not a refusal.
//
// One complete line per finding: each name that two or more objects share
// (compared exactly, letter case and blanks included, across the Read and
// the Write table), in the order of its first object, then one line for the
// objects whose name is empty or only blanks. Each names its rows by table
// and number as the grids show them. Only the objects the converter serves
// count: rows down to the end of each table, of a type it knows.
QStringList Object_Name_Warnings(const BACnet_Slave_Set_Access &objects, bool long_names);

// The same findings by object, for marking the rows: one per object that
// shares its name or has none, on its Mnemonic cell, with the line of its
// finding as its text.
Problem_List Object_Name_Problems(const BACnet_Slave_Set_Access &objects, bool long_names);
// The same over the rows as Read_Object_Rows read them.
Problem_List Object_Name_Problems(const BACnet_Slave_Set_Access &objects, bool long_names, const Object_Rows &read,
                                  const Object_Rows &write);

// The question the object window asks on OK: the heading, at most
// `max_lines` warnings (then how many more there are) and "Save anyway?".
QString Object_Names_Question(const QStringList &warnings, bool long_names, int max_lines = 12);
