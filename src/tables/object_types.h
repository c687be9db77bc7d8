#pragma once

#include "core/object_catalogue.h"

#include <QString>
#include <QStringList>

// The two BACnet object tables.
enum BACnet_Page : int { Page_Read, Page_Write };

// The object tables' reading of the types of the catalogue.

// The type a Data Type text names, read as every reader of the document
// reads it (Object_Type_Named: letter case aside, nothing trimmed); null
// when none.
const Object_Type *Find_Object_Type(QStringView text);

// True when the table `page` offers the type: a row of any other type is
// refused.
bool Offers(int page, const Object_Type &type);

// The Data Type list of a table, in the order the grid offers it.
QStringList Data_Type_Items(int page);

// The Length a grid of `page` puts into a row when `data_type` is chosen,
// the type found as Find_Object_Type finds it. Null when the text names no
// type of the table, or the type fills in nothing there.
QString Length_For(QStringView data_type, int page);
