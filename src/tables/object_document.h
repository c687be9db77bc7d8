#pragma once

#include "tables/table_file.h"

// "BACnet_Slave_SetAccess.xml": the root "BACnet_to_Modbus" holding the
// groups "BACnet_in_Read" and "BACnet_in_Write", one row element per object,
// each cell an attribute. This file is the only place that names them.
inline constexpr const char *Object_Root_Element = "BACnet_to_Modbus";
inline constexpr const char *Read_Group_Element = "BACnet_in_Read";
inline constexpr const char *Write_Group_Element = "BACnet_in_Write";

// Columns of both object tables, in document order.
enum Object_Column : int {
    Obj_Data_Type,
    Obj_Eng_Unit,
    Obj_Position,
    Obj_Bit,
    Obj_Length,
    Obj_Swap, // kept and moved with its row, never shown
    Obj_Mnemonic,
};

// The attribute of each column.
inline constexpr std::array<const char *, 7> Object_Attributes = {"Data_Type", "Eng_Unit", "Position", "Bit",
                                                                  "Length",    "Swap",     "Mnemonic"};

using Object_Row_Text = Row_Text<Object_Attributes.size()>;

// The two object groups: the objects BACnet clients read, and those they write.
enum class Object_Group { Read, Write };

// The object document of a configuration, read once; every reader of it (the
// object window, the check, the compiler, the EDE export, the map) takes its
// rows from here.
class Object_Document : public Table_File
{
public:
    Object_Document() = default;

    static const char *Group_Element(Object_Group group)
    {
        return group == Object_Group::Read ? Read_Group_Element : Write_Group_Element;
    }
    bool Has_Group(Object_Group group) const { return bool(Group(Group_Element(group))); }

    // Calls `fn(const Object_Row_Text &)` for every row of the group.
    template <class Fn> void For_Each_Object(Object_Group group, Fn &&fn) const
    {
        For_Each_Row_Of(Group_Element(group), Object_Attributes, fn);
    }

private:
    friend Object_Document Read_Object_Document(const QString &path);
    using Table_File::Table_File;
};

// Reads the document at `path`. Never fails: Status() tells a missing or
// damaged file, and such a file has no groups.
Object_Document Read_Object_Document(const QString &path);
