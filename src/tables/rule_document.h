#pragma once

#include "tables/table_file.h"

// "LoRaWAN_SetAccess.xml": the root "LoRaWAN_Set_Access" holding the groups
// "LoRaWAN_Uplink" and "LoRaWAN_Downlink", one row element per rule, each
// cell an attribute. This file is the only place that names them.
inline constexpr const char *Rule_Root_Element = "LoRaWAN_Set_Access";
inline constexpr const char *Uplink_Group_Element = "LoRaWAN_Uplink";
inline constexpr const char *Downlink_Group_Element = "LoRaWAN_Downlink";

// Columns of the uplink rule table, in document order.
enum Uplink_Column : int {
    Up_Enable,
    Up_StartByte,
    Up_NumByte,
    Up_OnChange,
    Up_OnCMD,
    Up_OnTimer,
    Up_Time,
    Up_Mnemonic,
};

// Columns of the downlink rule table, in document order.
enum Downlink_Column : int {
    Down_Enable,
    Down_StartByte,
    Down_NumByte,
    Down_Mnemonic,
};

// The attribute of each column.
inline constexpr std::array<const char *, 8> Uplink_Attributes = {"Enable", "StartByte", "NumByte", "OnChange",
                                                                  "OnCMD",  "OnTimer",   "Time",    "Mnemonic"};
inline constexpr std::array<const char *, 4> Downlink_Attributes = {"Enable", "StartByte", "NumByte", "Mnemonic"};

using Uplink_Row = Row_Text<Uplink_Attributes.size()>;
using Downlink_Row = Row_Text<Downlink_Attributes.size()>;

// The rule document of a configuration, read once; every reader of it (the
// rule window, the check, the compiler, the map) takes its rows from here.
class Rule_Document : public Table_File
{
public:
    Rule_Document() = default;

    // Calls `fn(const Uplink_Row &)` for every row of the uplink group.
    template <class Fn> void For_Each_Uplink(Fn &&fn) const
    {
        For_Each_Row_Of(Uplink_Group_Element, Uplink_Attributes, fn);
    }
    // Calls `fn(const Downlink_Row &)` for every row of the downlink group.
    template <class Fn> void For_Each_Downlink(Fn &&fn) const
    {
        For_Each_Row_Of(Downlink_Group_Element, Downlink_Attributes, fn);
    }

private:
    friend Rule_Document Read_Rule_Document(const QString &path);
    using Table_File::Table_File;
};

// Reads the document at `path`. Never fails: Status() tells a missing or
// damaged file, and such a file has no groups.
Rule_Document Read_Rule_Document(const QString &path);
