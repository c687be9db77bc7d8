#pragma once

#include <QStringView>
#include <array>
#include <cstddef>

// Every BACnet object type the converter knows, once, with everything the
// program says of it: the text the object tables show and the documents
// store, the converter's own name for it, where its count stands in the
// parameter block, its standard BACnet code, its names in the EDE files,
// which table offers it and the Length rules there. The readers of the object
// document (the table check, the compiler, the EDE export, the image
// inspector) all take their facts from here.

// The numbers of the message table's texts of the Length and Start Bit
// rules of the object tables, as the catalogue gives them for each type.
enum Object_Rule_Message : int {
    Msg_Read_Length_Analog_Input = 1535,
    Msg_Read_Length_Positive_Integer_Value = 1536,
    Msg_Read_Length_Large_Analog_Value = 1537,
    Msg_Read_Length_Analog_Value = 1538,
    Msg_Read_Length_Multi_State_Input = 1539,
    Msg_Read_Length_Multi_State_Value = 1540,
    Msg_Read_Length_Life_Safety_Point = 1541,
    Msg_Read_Length_Life_Safety_Zone = 1542,
    Msg_Read_Length_Access_Door = 1543,
    Msg_Read_Length_Accumulator = 1544,
    Msg_Read_Start_Bit_Range = 1545,
    Msg_Write_Length_Analog_Out = 1549,
    Msg_Write_Length_Analog_Value = 1550,
    Msg_Write_Length_Positive_Integer_Value = 1551,
    Msg_Write_Length_Large_Analog_Value = 1552,
    Msg_Write_Length_Integer_Value = 1553,
    Msg_Write_Length_Multi_State_Output = 1554,
    Msg_Write_Length_Multi_State_Value = 1555,
    Msg_Write_Length_Access_Door = 1556,
    Msg_Write_Start_Bit_Range = 1557,
};

// In the order the converter expects its object records.
enum class Object_Kind : int {
    Analog_Input,
    Analog_Out,
    Binary_Input,
    Binary_Out,
    Large_Analog_Value,
    Datetime_Value,
    Positive_Integer_Value,
    Characterstring_Value,
    Integer_Value,
    Multi_State_Input,
    Multi_State_Output,
    Multi_State_Value,
    Analog_Value,
    Binary_Value,
    Life_Safety_Point,
    Life_Safety_Zone,
    Access_Door,
    Accumulator,
    Octet_String,
};
inline constexpr int Object_Kind_Count = 19;

struct Object_Type
{
    Object_Kind kind;
    // The Data_Type text upper-cased, as the converter names the type; a
    // document's text names the type when its letters a-z upper-cased equal
    // it (Object_Type_Named).
    const char *device_text;
    // The text the object tables offer and store; null for the three types
    // that only a hand-edited document names.
    const char16_t *table_text;
    std::size_t count_offset;      // the type's 32-bit object count in the parameter block
    int bacnet_code;               // the standard object type code
    bool ede_listed;               // the EDE files list objects of this type (all but the octet string)
    const char16_t *abbreviation;  // in the standard EDE layout's keynames
    const char16_t *standard_name; // in the standard EDE layout's object-type file
    bool read;                     // offered in the Read table's list
    bool write;                    // offered in the Write table's list
    bool binary;                   // occupies the byte at Position and needs a Start Bit
    int min_length;                // the Length rule, where the table has one
    int max_length;
    int read_message;             // the message of the Length rule in the Read table; -1: no rule there
    int write_message;            // the same in the Write table
    const char16_t *read_length;  // the Length the Read grid fills in; empty: none
    const char16_t *write_length; // the Length the Write grid fills in; empty: none

    int Message(int page) const { return page == 0 ? read_message : write_message; }
};

// The Read grid fills in the Length the Write grid gives the same type, and
// for its own types the largest their rule allows: the device reads the
// Length of every object, binary ones included.
inline constexpr std::array<Object_Type, Object_Kind_Count> Object_Catalogue = {{
    {Object_Kind::Analog_Input, "ANALOG INPUT", u"Analog Input", 0x138, 0, true, u"AI", u"Analog Input", true, false,
     false, 1, 4, Msg_Read_Length_Analog_Input, -1, u"4", u""},
    {Object_Kind::Analog_Out, "ANALOG OUT", u"Analog Out", 0x13C, 1, true, u"AO", u"Analog Output", false, true, false,
     1, 4, -1, Msg_Write_Length_Analog_Out, u"", u"4"},
    {Object_Kind::Binary_Input, "BINARY INPUT", u"Binary Input", 0x144, 3, true, u"BI", u"Binary Input", true, false,
     true, 0, 0, Msg_Read_Start_Bit_Range, -1, u"1", u""},
    {Object_Kind::Binary_Out, "BINARY OUT", u"Binary Out", 0x148, 4, true, u"BO", u"Binary Output", false, true, true,
     0, 0, -1, Msg_Write_Start_Bit_Range, u"", u"1"},
    {Object_Kind::Large_Analog_Value, "LARGE ANALOG VALUE", u"Large Analog Value", 0x150, 46, true, u"LAV",
     u"Large Analog Value", true, true, false, 1, 8, Msg_Read_Length_Large_Analog_Value,
     Msg_Write_Length_Large_Analog_Value, u"8", u"8"},
    {Object_Kind::Datetime_Value, "DATETIME VALUE", nullptr, 0x154, 44, true, u"DTV", u"DateTime Value", false, false,
     false, 0, 0, -1, -1, u"", u""},
    {Object_Kind::Positive_Integer_Value, "POSITIVE INTEGER VALUE", u"Positive Integer Value", 0x158, 48, true, u"PIV",
     u"Positive Integer Value", true, true, false, 1, 4, Msg_Read_Length_Positive_Integer_Value,
     Msg_Write_Length_Positive_Integer_Value, u"4", u"4"},
    {Object_Kind::Characterstring_Value, "CHARACTERSTRING VALUE", nullptr, 0x15C, 40, true, u"CSV",
     u"CharacterString Value", false, false, false, 0, 0, -1, -1, u"", u""},
    // The Read table sets no Length rule for it; the last-byte rule still applies.
    {Object_Kind::Integer_Value, "INTEGER VALUE", u"Integer Value", 0x160, 45, true, u"IV", u"Integer Value", true,
     true, false, 1, 4, -1, Msg_Write_Length_Integer_Value, u"4", u"4"},
    {Object_Kind::Multi_State_Input, "MULTI STATE INPUT", u"Multi State Input", 0x164, 13, true, u"MI",
     u"Multistate Input", true, false, false, 1, 4, Msg_Read_Length_Multi_State_Input, -1, u"4", u""},
    {Object_Kind::Multi_State_Output, "MULTI STATE OUTPUT", u"Multi State Output", 0x168, 14, true, u"MO",
     u"Multistate Output", false, true, false, 1, 4, -1, Msg_Write_Length_Multi_State_Output, u"", u"4"},
    {Object_Kind::Multi_State_Value, "MULTI STATE VALUE", u"Multi State Value", 0x16C, 19, true, u"MV",
     u"Multistate Value", true, true, false, 1, 4, Msg_Read_Length_Multi_State_Value,
     Msg_Write_Length_Multi_State_Value, u"4", u"4"},
    {Object_Kind::Analog_Value, "ANALOG VALUE", u"Analog Value", 0x140, 2, true, u"AV", u"Analog Value", true, true,
     false, 1, 4, Msg_Read_Length_Analog_Value, Msg_Write_Length_Analog_Value, u"4", u"4"},
    {Object_Kind::Binary_Value, "BINARY VALUE", u"Binary Value", 0x14C, 5, true, u"BV", u"Binary Value", true, true,
     true, 0, 0, Msg_Read_Start_Bit_Range, Msg_Write_Start_Bit_Range, u"1", u"1"},
    {Object_Kind::Life_Safety_Point, "LIFE SAFETY POINT", u"Life Safety Point", 0x170, 21, true, u"LSP",
     u"Life Safety Point", true, false, false, 1, 2, Msg_Read_Length_Life_Safety_Point, -1, u"2", u""},
    {Object_Kind::Life_Safety_Zone, "LIFE SAFETY ZONE", u"Life Safety Zone", 0x174, 22, true, u"LSZ",
     u"Life Safety Zone", true, false, false, 1, 2, Msg_Read_Length_Life_Safety_Zone, -1, u"2", u""},
    {Object_Kind::Access_Door, "ACCESS DOOR", u"Access Door", 0x178, 30, true, u"AD", u"Access Door", true, true, false,
     1, 1, Msg_Read_Length_Access_Door, Msg_Write_Length_Access_Door, u"1", u"1"},
    {Object_Kind::Accumulator, "ACCUMULATOR", u"Accumulator", 0x17C, 23, true, u"ACC", u"Accumulator", true, false,
     false, 1, 4, Msg_Read_Length_Accumulator, -1, u"4", u""},
    // Compiled into a record of its own, but listed by no EDE file.
    {Object_Kind::Octet_String, "OCTET STRING", nullptr, 0x700, 47, false, u"", u"", false, false, false, 0, 0, -1, -1,
     u"", u""},
}};

inline const Object_Type &Object_Type_Of(Object_Kind kind)
{
    return Object_Catalogue[std::size_t(kind)];
}

// The one reading of a Data_Type text, shared by every reader of the object
// document (the table check, the compiler, both EDE layouts): the type whose
// name equals the text, letter case aside (the letters a-z only, as the
// converter's compiler compares them). Nothing is trimmed: "Binary Value "
// with a trailing blank names no type. Null when the text names none.
const Object_Type *Object_Type_Named(QStringView data_type);
// The same of a UTF-8 text, as the compiler reads the document.
const Object_Type *Object_Type_Named(const char *data_type);

// The type a name names as people write it in points lists and
// spreadsheets, which the object tables accept when it is pasted or
// imported: the table's text, the converter's name, the standard BACnet
// name in any of its spellings ("Analog Output", "ANALOG_OUTPUT",
// "analog-output", "Multi-state Value", "Multistate Value"), the standard
// name without its last word where people shorten it ("Positive Integer")
// and the short forms ("AO", "MSV", "MV"). Letter case, blanks, '_' and '-'
// do not count; any other character makes the text no name. Null when it
// names none. Whether a table offers the type is the caller's question.
// Documents are read strictly, by Object_Type_Named alone.
const Object_Type *Object_Type_From_Any_Name(QStringView name);

// The index of `Object_Type_Named` in the catalogue; -1 when none.
int Device_Kind_Index(const char *data_type);
