#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class QDateTime;

// One object line of the EDE file: seven texts in the order of the columns.
struct EDE_Classic_Obj
{
    QString Keyname;        // device instance + "_" + full mnemonic + "_" + object instance
    QString DevObjInstance; // the same in every line
    QString ObjectName;     // the mnemonic cut at 16 (or 32) characters
    QString ObjectType;     // BACnet object type code, decimal
    QString ObjectInstance; // position among the objects of the same type, decimal
    QString Description;    // the same text as ObjectName
    QString UnitCode;       // the row's Eng_Unit, unchanged

    bool operator==(const EDE_Classic_Obj &) const = default;
};

// Number of object types the converter serves, each with its own numbering.
inline constexpr int EDE_Type_Count = 18;

// The two layouts of the export. Classic: the program's own seven columns
// and header lines, unchanged since the first release. Standard: the layout
// 2.3 of the "Engineering Data Exchange Template for BACnet Systems" of the
// BACnet Interest Group Europe (B.I.G.-EU), with its three companion files.
enum class EDE_Layout { Classic, Standard };

// The character set of the files; no byte-order mark in either (the template
// names neither a character set nor a marker).
enum class EDE_Charset { Windows_1252, Utf8 };

struct EDE_Options
{
    EDE_Layout layout = EDE_Layout::Classic;
    EDE_Charset charset = EDE_Charset::Windows_1252;
};

// One object line of the standard layout: the columns this export fills;
// the others (present-value default and limits, COV, hi/low limit,
// notification class) stay empty.
struct EDE_Standard_Obj
{
    QString Keyname; // device + "_" + full mnemonic + "_" + type abbreviation + "_" + instance
    QString DevObjInstance;
    QString ObjectName; // as the classic file's
    QString ObjectType; // decimal code
    QString ObjectInstance;
    QString Description;        // the full mnemonic
    QString Settable;           // "Y" for the Write table's objects, "N" for the Read table's
    QString StateTextReference; // multi-state objects: their entry in the state-text file
    QString UnitCode;           // the unit number in decimal (the cell as it is if it is no number)
    QString VendorAddress;      // "R:12/4", "W:3.5/1": see EDE_Vendor_Address

    bool operator==(const EDE_Standard_Obj &) const = default;
};

// Columns of every line of the standard layout's main file.
inline constexpr int EDE_Standard_Columns = 17;

// States "1" to this number stand in the state-text file for each
// multi-state object: the converter carries no state texts, and a
// multi-state present value starts at 1.
inline constexpr int EDE_Placeholder_States = 16;

// The keyname abbreviation of a served type code ("AI", "MV", ...); "AI"
// for a code the converter does not serve (such objects are analog inputs).
QString EDE_Type_Abbreviation(int code);

// The object type's name as the template's object-type file lists it.
QString EDE_Type_Name(int code);

// The served type codes in ascending order.
QList<int> EDE_Served_Types();

// True for the multi-state types (13, 14, 19), which refer to state texts.
bool EDE_Is_Multi_State(int code);

// True for the binary types (3, 4, 5), which sit on one bit of one byte.
bool EDE_Is_Binary(int code);

// The vendor-specific address: the area ("R" input area, the Read table's;
// "W" output area, the Write table's), ":" and the first byte, then for a
// binary object "." and its bit, then "/" and the length in bytes (1 for a
// binary object). A part whose cell is not a number is left out.
// Examples: "R:12/4", "W:3.5/1".
QString EDE_Vendor_Address(QChar area, QStringView position, QStringView bit, QStringView length, bool binary);

// The BACnet object type code (ASHRAE 135) of a Data_Type text, the type
// read as the check and the compiler read it (Object_Type_Named: letter case
// aside, nothing trimmed). A text that names no type the EDE file lists gives
// 0 (analog input); the check refuses such a row before any export.
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

// "DD.MM.YYYY HH:MM:SS" of the given local time: the standard layout's
// time stamp, day first as in the template's own example.
QString EDE_Standard_Time_Stamp(const QDateTime &at);

// The standard layout's eight header lines (a title comment, the five
// project lines, the mandatory/optional line and the column titles), each
// of EDE_Standard_Columns fields, without line ends.
QStringList EDE_Standard_Header_Lines(const QString &project_name, const QString &time_stamp);

// One object line of the standard layout: EDE_Standard_Columns fields.
QString EDE_Standard_Object_Line(const EDE_Standard_Obj &obj);

// The companion files' lines. State texts: two title lines and, for
// reference 1 to `references`, a line of the reference and the placeholder
// states "1" to EDE_Placeholder_States. Units: two title lines and a line
// of code and name for each code given. Object types: two title lines and
// the served types.
QStringList EDE_State_Text_Lines(int references);
QStringList EDE_Unit_Lines(const QList<int> &codes);
QStringList EDE_Object_Type_Lines();

// The seven header lines, without line ends.
QStringList EDE_Header_Lines(const QString &project_name, const QString &time_stamp);

// One object line: each field followed by ";", without the line end.
QString EDE_Object_Line(const EDE_Classic_Obj &obj);

// True when the text holds a ";", a CR or a LF: written as it is, it would
// add a column or a line for every EDE reader.
bool EDE_Breaks_Columns(QStringView text);

// True when the text starts with a double quote: a spreadsheet reads such a
// field as quoted, up to the next quote, and shifts every column after it.
bool EDE_Starts_Quoted(QStringView text);

// The file's bytes: every line in windows-1252 ("?" for a character the code
// page lacks), each followed by CR LF, no byte-order mark.
QByteArray Encode_EDE_Lines(const QStringList &lines);

// The same in the given character set; UTF-8 without a byte-order mark.
QByteArray Encode_EDE_Lines(const QStringList &lines, EDE_Charset charset);

// The names of the standard layout's files for the main file `main_file`:
// beside it, its name without ".csv" and without a final "_EDE" (any letter
// case), followed by the template's suffixes.
struct EDE_File_Set
{
    QString main;
    QString state_texts;  // ..._StateTexts.csv
    QString units;        // ..._Units.csv
    QString object_types; // ..._ObjTypes.csv
};
EDE_File_Set EDE_Files_For(const QString &main_file);

// The name of the save dialog with ".csv" appended unless its last four
// characters already read ".csv" in any letter case.
QString EDE_File_Name(const QString &chosen);

// The filter of the save dialog of the EDE export.
inline constexpr const char *EDE_Dialog_Filter = "CSV (MS-DOS) (*.csv)";

// The file types of the save dialog: one per layout and character set, the
// classic first (the dialog's default).
struct EDE_File_Type
{
    const char *filter;
    EDE_Options options;
};
inline constexpr EDE_File_Type EDE_File_Types[] = {
    {EDE_Dialog_Filter, {EDE_Layout::Classic, EDE_Charset::Windows_1252}},
    {"EDE 2.3, UTF-8 (*.csv)", {EDE_Layout::Standard, EDE_Charset::Utf8}},
    {"EDE 2.3, windows-1252 (*.csv)", {EDE_Layout::Standard, EDE_Charset::Windows_1252}},
};

// The save dialog's filter list (";;" between the types).
QString EDE_Dialog_Filters();

// The options of the file type the dialog returned; the classic for an
// unknown text.
EDE_Options EDE_Options_For_Filter(const QString &filter);
