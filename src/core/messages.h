#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

// Numbers of the texts that this program added to the shared range of the
// message table (1106 and up), so that language files can translate them.
// Each text takes its pieces with %1, %2, ... in the order given.
enum Added_Message : int {
    Msg_File_Damaged = 1106,            // file, line, column, reason
    Msg_File_Not_Written = 1107,        // file, reason
    Msg_File_Is_Folder = 1190,          // a reason of 1107: a folder of that name is in the way
    Msg_Files_Partly_Replaced = 1191,   // file, reason, files replaced, files left as they were
    Msg_File_Not_Regular = 1680,        // a reason of 1115: a folder, a pipe or a device is there
    Msg_File_Too_Large = 1681,          // a reason of 1115: size in bytes, the most such a file holds
    Msg_EDE_Cell_Breaks_Columns = 1135, // row (from 1), table, attribute
    Msg_EDE_Group_Missing = 1136,       // file, group element
    Msg_EDE_Key_Breaks_Columns = 1137,  // key element, file
    Msg_EDE_Name_Breaks_Columns = 1138, // configuration name
    Msg_Discard_Changes = 1116,         // asked when a window with unsaved changes is closed
    // The row buttons of the table windows on many rows.
    Msg_Delete_Rows = 1117,     // count
    Msg_Rows_Pushed_Out = 1118, // rows inserted, rows in use lost, number of the first lost
    Msg_Rows_Do_Not_Fit = 1119, // rows copied, number of the first target row, rows from there
    Msg_Rows_Not_Shown = 1120,  // rows, table, table size
    Msg_Table_Damaged = 1121,   // problem
    Msg_Rows_Not_Saved = 1122,  // row number, table, column, rows
    // A document that could not be read is never saved over.
    Msg_Table_Unreadable = 1684,      // problem
    Msg_Document_Not_Replaced = 1683, // file, reason
    // A paste into a table grid that cannot go in whole.
    Msg_Paste_Too_Many_Rows = 1130,    // rows of the block, first row (as the grid numbers it), rows left
    Msg_Paste_Too_Many_Columns = 1131, // columns of the block, first column's header, columns left
    Msg_Paste_Cell_Refused = 1132,     // row (as the grid numbers it), column header, text, reason (below)
    Msg_Paste_Not_An_Item = 1133,      // the items of the list
    Msg_Paste_Not_A_Flag = 1134,
    Msg_Paste_Not_A_Unit = 1139,
    Msg_Paste_Unit_Disagrees = 1140, // number, its unit's name, the name given
    Msg_Paste_Control_Character = 1141,
    // Points lists: the object and rule tables in and out of CSV files.
    Msg_Points_Table_Column = 1123,     // header of the first column, which names each row's table
    Msg_Points_Unit_Name_Column = 1124, // header of the column beside Eng. Unit
    Msg_Points_Export = 1125,           // button captions and hints of the table windows
    Msg_Points_Import = 1126,
    Msg_Points_Export_Hint = 1127,
    Msg_Points_Import_Hint = 1128,
    Msg_Points_Replace_Or_Append = 1129, // file
    Msg_Points_Replace = 1142,           // the answers of that question
    Msg_Points_Append = 1143,
    Msg_Points_Not_Imported = 1144,   // file (the bad lines follow, one a line)
    Msg_Points_Bad_Line = 1146,       // line, column, reason (below)
    Msg_Points_Not_Utf8 = 1685,       // line, byte (hex): a stray byte in a file that is UTF-8 elsewhere
    Msg_Points_Not_A_Table = 1147,    // text, the two table names
    Msg_Points_No_Room = 1148,        // table, rows left, rows that do not fit
    Msg_Points_Unknown_Column = 1149, // the columns there are
    Msg_Points_Column_Twice = 1195,
    Msg_Points_Column_Missing = 1196,
    Msg_Points_Too_Many_Fields = 1197, // fields of the line, columns of the header line
    Msg_Points_Not_In_Table = 1198,    // table
    Msg_Points_Key_Empty = 1199,
    // Why a document is damaged (the reason of Msg_File_Damaged), and the
    // table documents' groups.
    Msg_Xml_Not_Utf8 = 1170,          // byte (hex)
    Msg_Xml_Invalid_Byte = 1171,      // byte (hex), encoding
    Msg_Xml_Unknown_Encoding = 1172,  // encoding name
    Msg_Xml_Encoding_Not_Used = 1173, // encoding name
    Msg_Xml_Null_Character = 1174,
    Msg_Xml_Attribute_Twice = 1175,      // element, attribute
    Msg_Xml_Entity = 1682,               // the reference as written
    Msg_Table_Group_Missing = 1176,      // file, group element
    Msg_Table_Group_Starts_Empty = 1177, // problem, table
    // The update window's free numbers.
    Msg_Program_Not_Started = 1038,   // program, reason
    Msg_Ping_Not_Allowed = 1039,      // the system's reasons
    Msg_Updater_Stopped = 1040,       // program, seconds waited
    Msg_Update_Option_Invalid = 1041, // the option given
    Msg_Updater_Running = 1042,       // seconds waited so far
    Msg_Updater_Failed = 1043,        // program, exit code
    Msg_Ping_Unreachable = 1044,      // address, address that answered, kind (1045 to 1047), ICMP code
    Msg_Unreachable_Network = 1045,   // the kinds of "destination unreachable"
    Msg_Unreachable_Host = 1046,
    Msg_Unreachable_Refused = 1047,
    Msg_Version_Not_Reached = 1048, // server, reason
    Msg_Version_Bad_Answer = 1049,  // the start of the answer (a reason of 1048)
    // The update button's caption by option, and what will be sent.
    Msg_Caption_Firmware_And_Configuration = 1050,
    Msg_Caption_Firmware = 1051,
    Msg_Caption_Configuration = 1052,
    Msg_Images_Configuration = 1053, // configuration name
    Msg_Image_Bytes = 1054,          // size in bytes
    Msg_Image_Crc = 1055,            // CRC-32, 8 hexadecimal digits
    Msg_No_Images = 1056,
    // The update's outcome and what it needs before it starts.
    Msg_Update_Done = 1060,
    Msg_Updater_Crashed = 1061,   // program
    Msg_Updater_Log_Tail = 1062,  // log file (its last lines follow)
    Msg_Updater_Log_Empty = 1063, // log file
    Msg_Firmware_Missing = 1064,  // firmware file, option
    Msg_Update_Already_Running = 1065,
    Msg_Update_Context = 1066, // configuration, address, option
    // The device image compiler and its commands.
    Msg_Compile_Not_A_Number = 1108,     // group, row, attribute, text
    Msg_Compile_Text_Too_Long = 1109,    // key, length, limit
    Msg_Compile_Too_Many_Rules = 1110,   // group, limit
    Msg_Compile_Too_Many_Objects = 1111, // Read group, Write group, count, limit
    Msg_Compile_Text_Area_Full = 1112,   // group, row, size of the text area
    Msg_Bank_Pair_Broken = 1113,         // the message of the failed write, the image already replaced
    Msg_Not_A_Bank_Image = 1114,         // file, size
    Msg_File_Not_Read = 1115,            // file, reason
    // The table cells.
    Msg_Text_Cut = 1145, // characters the device keeps, the text it keeps
    // The parameter document.
    Msg_Payload_Mismatch = 1150,   // key, file, stored text, band, data rate, payload they give
    Msg_Payload_Missing = 1151,    // file, key, band, data rate, payload they give
    Msg_Hidden_Value_Reset = 1152, // rule's message, value, key, file, default
    // Warnings of the table checks, which refuse nothing.
    Msg_Objects_Overlap = 1153, // table, row, the earlier row, first shared byte
    Msg_Rules_Overlap = 1154,   // table, rule, the earlier rule, first shared byte
    // The problems line of the table windows and the parameter window.
    Msg_Problems_Count = 1155, // errors, warnings
    Msg_No_Problems = 1156,
    Msg_Next_Problem = 1157, // the button's caption
    Msg_Next_Problem_Hint = 1158,
    Msg_Errors_Count = 1159, // errors (the parameter window has no warnings)
    // The table windows' refusals and warnings on OK.
    Msg_Object_Length_Not_Integer = 1160, // table, data type (after "Error row " and the row)
    Msg_Rows_Would_Be_Lost = 1161,        // row number, table, column, rows
    Msg_Object_Name_Shared = 1162,        // object name, rows
    Msg_Object_Name_Empty = 1163,         // rows
    Msg_Object_Names_Heading = 1164,      // characters kept of the Mnemonic
    Msg_Object_Names_More = 1165,         // warnings not listed
    Msg_Object_Names_Save_Anyway = 1166,
    // The lines of `check --all`.
    Msg_Check_Row_Line = 1167,      // document, table, row (as the grid numbers it), message
    Msg_Check_Document_Line = 1168, // document, message
    Msg_Check_Warning_Line = 1169,  // document, warning
    // Configuration names and folders.
    Msg_Name_Differs_In_Case = 1180,      // the existing configuration
    Msg_Name_Breaks_Lists = 1181,         // no pieces
    Msg_Configuration_Folder_Gone = 1182, // folder
    Msg_EDE_Cell_Starts_Quoted = 1183,    // row (from 1), table, attribute
    // What the image inspector finds wrong in an image.
    Msg_Dump_Checksum = 1184,         // stored, computed
    Msg_Dump_Fixed_Field = 1185,      // field, value, the value the compiler writes
    Msg_Dump_Out_Of_Range = 1186,     // field, value, lowest, highest
    Msg_Dump_Stray_Bytes = 1187,      // count, offset of the first
    Msg_Dump_No_Geometry = 1188,      // address, the two text area addresses
    Msg_Dump_Description_Lost = 1189, // record, address
    // The data-area map (`map NAME`, the Data Map window).
    Msg_Map_Overrun = 1610,      // table, row, first byte, last byte, bytes of the area
    Msg_Map_Not_Carried = 1611,  // table, row, its bytes, the bytes no rule carries
    Msg_Map_No_Object = 1612,    // table, rule, its bytes, the bytes no object uses
    Msg_Map_Pairing_Note = 1613, // no pieces
    Msg_Map_Picture = 1614,      // area or rules, bytes shown, bytes a row
    Msg_Map_Legend = 1615,       // no pieces
    Msg_Map_Nothing_Listed = 1616,
    Msg_Map_Button = 1617, // the button of the table windows and the map window's title
    Msg_Map_Button_Hint = 1618,
    Msg_Map_Row_Name = 1619,  // table, row (as the grid numbers it)
    Msg_Map_Rule_Name = 1620, // table, rule (as the grid numbers it)
    Msg_Map_Bit_Name = 1621,  // table, row, bit
    Msg_Map_Byte_Name = 1622, // offset
    // The comparison of two configurations or pairs of images (`diff`).
    Msg_Diff_Not_An_Image = 1623, // bank, bytes it holds, bytes of its bank
    Msg_Diff_Row_Inserted = 1624, // row name, its cells
    Msg_Diff_Row_Deleted = 1625,  // row name, its cells
    Msg_Diff_Row_Was = 1626,      // row name, the number it had before
    Msg_Diff_Empty = 1627,        // an empty value
    Msg_Diff_On = 1628,           // a check box ticked
    Msg_Diff_Off = 1629,          // a check box not ticked
    Msg_Diff_Not_Compiled = 1630, // configuration, the problem
    Msg_Diff_Not_Read = 1631,     // configuration, the problem
    Msg_Diff_No_Side = 1632,      // argument
    Msg_Diff_Both_Unsound = 1633, // problem
    // "Changes since last update" in the update window, and the copy of the
    // images sent that each successful update keeps for it.
    Msg_Changes_Button = 1640,
    Msg_Changes_Button_Hint = 1641,
    Msg_Changes_Nothing_Kept = 1642,  // address, folder where the copy would be
    Msg_Changes_None = 1643,          // address, when the copy was kept
    Msg_Changes_Listed = 1644,        // address, when the copy was kept, differences (the list follows)
    Msg_Sent_Not_Kept = 1645,         // problem
    Msg_Sent_Copy_Removed = 1646,     // folder
    Msg_Sent_Copy_Not_Removed = 1647, // folder, reason
    // What the image inspector finds wrong in a pair of images.
    Msg_Dump_Count_Mismatch = 1650, // objects counted in bank 1, object records in bank 2
    Msg_Dump_Not_A_Pair = 1651,     // file, file
};

// The process-wide table of numbered texts of the user interface: English by
// default, replaced entry by entry by a language file.
class Message_Table
{
public:
    static constexpr int Count = 1940;

    Message_Table() { Build_Default_Messages(); }

    // Empties the table, then fills it with the English texts; a number
    // without a text holds a single blank.
    void Build_Default_Messages();

    // Applies a language file. Fails, naming the file and the reason, when
    // the file cannot be read; the table is then left as it was.
    Result<> Read_Language_File(const QString &path);

    // Text `n`; a number outside the table gives a single blank.
    QString Get(int n) const;
    void Set(int n, const QString &text);

    int Messages_Count() const { return messages_count_; }
    const QStringList &Texts() const { return texts_; }

private:
    QStringList texts_;
    int messages_count_ = 0;
};

// How many texts the program added to the table.
int Added_Message_Count();

// The one table of the process.
Message_Table &Messages();

// Applies a language file's text to `table`: the line rules of the language
// file format, without reading any file. Exposed for tests and fuzzing.
void Apply_Language_Text(Message_Table &table, const QString &text);

// Decodes a language file: a byte-order mark selects UTF-8 or UTF-16; without
// one, valid UTF-8 is read as UTF-8 and anything else as windows-1252.
QString Decode_Language_File(const QByteArray &data);
