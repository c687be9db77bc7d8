#pragma once

#include "tables/object_document.h"
#include "tables/object_types.h"
#include "tables/table_document.h"
#include "tables/text_table.h"

#include <QByteArray>

class ParGen_Document;
#include <vector>

// Rows of each table, and objects of both together, by description length.
inline constexpr int Objects_Short_Desc = 2000; // 16-character descriptions
inline constexpr int Objects_Long_Desc = 1000;  // 32-character descriptions
// Characters of a Mnemonic that the device keeps as the object's name.
inline constexpr int Desc_Chars_Short = 16;
inline constexpr int Desc_Chars_Long = 32;
// Bytes of the converter's input and output data areas.
inline constexpr int Data_Area_Bytes = 1500;

QList<Column_Desc> Object_Columns(int page);

// What the checks of an object row read of it, read once for all of them
// (the OK check, the overlaps and the names run at every edit of the
// window). Numbers are read with the integer reading.
struct Object_Row
{
    const Object_Type *type = nullptr; // the type its Data Type names (Find_Object_Type); null: none
    int unit = -1;                     // Eng. Unit; -1 when not an integer
    int position = -1;                 // -1 when not an integer
    int bit = -1;                      // Start Bit of a binary type; -1 when not an integer
    int length = 0;                    // 0 when not an integer
    bool length_read = false;          // Length is an integer
};
using Object_Rows = std::vector<Object_Row>;

// The objects of a table, its rows down to its end (End_Of_Table), read once.
Object_Rows Read_Object_Rows(const Text_Table &table);

// The BACnet objects a configuration serves, as the object window shows
// them: loaded from "BACnet_Slave_SetAccess.xml", checked, written.
class BACnet_Slave_Set_Access
{
public:
    BACnet_Slave_Set_Access();

    // Takes the description length from "ParGen.xml", sizes both tables by
    // it and fills them from the object document; never fails. The report
    // carries the warnings to show.
    Load_Report Load(const ParGen_Document &pargen, const Object_Document &objects);
    // The same, reading both documents.
    Load_Report Load(const QString &file_pargen, const QString &file_access);

    // Checks every object of both tables, then their count; the first
    // failure of `All_Problems`.
    Problem_List Controllo_Dati() const;
    // Every failure of that check, in its order: the Read table's rows, the
    // Write table's, then the count. In a row, a failed Position, Bit or
    // Length rule ends the row's rules that depend on it.
    Problem_List All_Problems() const;
    // The same over the rows of both tables as Read_Object_Rows read them.
    Problem_List All_Problems(const Object_Rows &read, const Object_Rows &write) const;

    QByteArray Serialise() const;
    Result<> Save(const QString &path) const;

    // What OK refuses before it writes: the check, then, for each table,
    // rows with text that the end of the table would drop.
    Problem_List Check_Before_Save() const;

    // `Check_Before_Save`, then the write. The window asks about the
    // object names (`Object_Name_Warnings`) between the two.
    Problem_List Confirm(const QString &path) const;

    // At most this many objects over both tables.
    int Max_Objects() const { return Desc_Length ? Objects_Long_Desc : Objects_Short_Desc; }
    // Characters of each Mnemonic the device keeps.
    int Desc_Chars() const { return Desc_Length ? Desc_Chars_Long : Desc_Chars_Short; }

    Text_Table &Table(int page) { return page == Page_Read ? Read : Write; }
    const Text_Table &Table(int page) const { return page == Page_Read ? Read : Write; }

    Text_Table Read;
    Text_Table Write;
    int NByte_IN = Data_Area_Bytes;
    int NByte_OUT = Data_Area_Bytes;
    // Descriptions may hold 32 characters (else 16).
    bool Desc_Length = false;
};

// A grid's answer to a Data Type chosen in row `r`: the Length that the
// type implies in that table replaces the row's Length, so that a new object
// never meets the refusal of a Length that is not an integer.
void Data_Type_Chosen(Text_Table &table, int page, int r);
