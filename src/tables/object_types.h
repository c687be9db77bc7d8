#pragma once

#include <QString>
#include <QStringList>
#include <span>

// The two BACnet object tables.
enum BACnet_Page : int { Page_Read, Page_Write };

// The object tables' catalogue of types lives in this namespace: the compiler
// has a type table of its own under the same plain name.
namespace tables {

// A BACnet object type as the object tables offer it: its Data Type text,
// the tables that offer it, the rule its Length obeys in each table, and the
// Length the Write grid fills in when it is chosen there.
struct Object_Type
{
    const char16_t *text;
    bool read;      // offered in the Read table's list
    bool write;     // offered in the Write table's list
    bool binary;    // occupies the byte at Position and needs a Start Bit
    int min_length; // the Length rule, where the table has one
    int max_length;
    int read_message;             // the message of the rule in the Read table; -1: no rule there
    int write_message;            // the same in the Write table
    const char16_t *write_length; // filled in by the Write grid; empty: none

    int Message(int page) const { return page == Page_Read ? read_message : write_message; }
};

// Every type, in no particular order.
std::span<const Object_Type> Object_Types();

// The type whose text is `text` exactly (case and blanks count); null when none.
const Object_Type *Find_Object_Type(QStringView text);

// The Data Type list of a table, in the order the grid offers it.
QStringList Data_Type_Items(int page);

// The Length the Write grid puts into a row when `data_type` is chosen: the
// chosen text in upper case selects it. Null when the type fills in nothing.
QString Write_Length_For(QStringView data_type);

} // namespace tables
