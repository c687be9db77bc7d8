#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

class QDateTime;

// One object line of the EDE file: seven texts in the order of the columns.
struct TBACnet_EDE_Obj
{
    QString Keyname;        // device instance + "_" + full mnemonic + "_" + object instance
    QString DevObjInstance; // the same in every line
    QString ObjectName;     // the mnemonic cut at 16 (or 32) characters
    QString ObjectType;     // BACnet object type code, decimal
    QString ObjectInstance; // position among the objects of the same type, decimal
    QString Description;    // the same text as ObjectName
    QString UnitCode;       // the row's Eng_Unit, unchanged

    bool operator==(const TBACnet_EDE_Obj &) const = default;
};

// Number of object types the converter serves, each with its own numbering.
inline constexpr int EDE_Type_Count = 18;

// The BACnet object type code (ASHRAE 135) of a Data_Type text. The text is
// trimmed and upper-cased first; an unknown or empty text gives 0 (analog
// input).
int EDE_Object_Type(QStringView data_type);

// Index of `code` among the served object types (0 to EDE_Type_Count - 1),
// -1 for a code the converter does not serve.
int EDE_Type_Index(int code);

// The object name of a mnemonic: its first 16 characters, or 32 with long
// names. Counted in characters, so a character outside the basic plane is
// never cut in half.
QString EDE_Object_Name(const QString &mnemonic, bool long_names);

// "HH:MM:SS DD/MM/YYYY" of the given local time.
QString EDE_Time_Stamp(const QDateTime &at);

// The seven header lines, without line ends.
QStringList EDE_Header_Lines(const QString &project_name, const QString &time_stamp);

// One object line: each field followed by ";", without the line end.
QString EDE_Object_Line(const TBACnet_EDE_Obj &obj);

// True when the text holds a ";", a CR or a LF: written as it is, it would
// add a column or a line for every EDE reader.
bool EDE_Breaks_Columns(QStringView text);

// True when the text starts with a double quote: a spreadsheet reads such a
// field as quoted, up to the next quote, and shifts every column after it.
bool EDE_Starts_Quoted(QStringView text);

// The file's bytes: every line in windows-1252 ("?" for a character the code
// page lacks), each followed by CR LF, no byte-order mark.
QByteArray Encode_EDE_Lines(const QStringList &lines);

// The name of the save dialog with ".csv" appended unless its last four
// characters already read ".csv" in any letter case.
QString EDE_File_Name(const QString &chosen);

// The filter of the save dialog of the EDE export.
inline constexpr const char *EDE_Dialog_Filter = "CSV (MS-DOS) (*.csv)";
