#pragma once

#include <array>
#include <cstddef>

// The compiler's type table lives in this namespace: the object tables have a
// catalogue of types of their own under the same plain name.
namespace compiler {

// The BACnet object types in the order the converter expects their records,
// each with the place of its count in the parameter block. The counts stand in
// the block in another order (analog input, analog output, analog value,
// binary input, ...), with the octet string count far behind.
struct Object_Type
{
    const char *text;         // the document's Data_Type, upper-cased
    std::size_t count_offset; // 32-bit count in the parameter block
};

inline constexpr int Object_Type_Count = 19;

inline constexpr std::array<Object_Type, Object_Type_Count> Object_Types = {{
    {"ANALOG INPUT", 0x138},
    {"ANALOG OUT", 0x13C},
    {"BINARY INPUT", 0x144},
    {"BINARY OUT", 0x148},
    {"LARGE ANALOG VALUE", 0x150},
    {"DATETIME VALUE", 0x154},
    {"POSITIVE INTEGER VALUE", 0x158},
    {"CHARACTERSTRING VALUE", 0x15C},
    {"INTEGER VALUE", 0x160},
    {"MULTI STATE INPUT", 0x164},
    {"MULTI STATE OUTPUT", 0x168},
    {"MULTI STATE VALUE", 0x16C},
    {"ANALOG VALUE", 0x140},
    {"BINARY VALUE", 0x14C},
    {"LIFE SAFETY POINT", 0x170},
    {"LIFE SAFETY ZONE", 0x174},
    {"ACCESS DOOR", 0x178},
    {"ACCUMULATOR", 0x17C},
    {"OCTET STRING", 0x700},
}};

// The index of the type whose text equals `data_type` upper-cased (letters
// a-z only; nothing is trimmed), or -1. `data_type` is UTF-8.
int Object_Type_Index(const char *data_type);

} // namespace compiler
