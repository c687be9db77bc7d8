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
// Length each grid fills in when it is chosen there.
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
    const char16_t *read_length;  // filled in by the Read grid; empty: none

    int Message(int page) const { return page == Page_Read ? read_message : write_message; }
};

// Every type, in no particular order.
std::span<const Object_Type> Object_Types();

// The type whose text is `text` exactly (case and blanks count); null when none.
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

} // namespace tables
