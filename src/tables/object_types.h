#pragma once

#include "core/object_catalogue.h"

#include <QString>
#include <QStringList>

// The two BACnet object tables.
enum BACnet_Page : int { Page_Read, Page_Write };

// The object tables' reading of the types of the catalogue.

// The type whose table text is `text` exactly (case and blanks count); null
// when none.
const Object_Type *Find_Object_Type(QStringView text);

// The Data Type list of a table, in the order the grid offers it.
QStringList Data_Type_Items(int page);

// The Length a grid of `page` puts into a row when `data_type` is chosen:
// the chosen text in upper case selects it. Null when the type fills in
// nothing there.
QString Length_For(QStringView data_type, int page);

// True when the device image compiler encodes a row of this Data Type: the
// text, its letters a-z upper-cased and nothing trimmed, is one of the
// nineteen types the converter knows (three of them offered by no list).
// The compiler reads Eng. Unit, Position and Length of such a row as
// integers and stops at one that is not, so the checks refuse it first.
bool Is_Encoded_Type(QStringView data_type);
