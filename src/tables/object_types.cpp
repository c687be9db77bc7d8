#include "tables/object_types.h"

#include <array>
#include <iterator>

namespace {

using K = Object_Kind;

// The lists in the order the grids offer them.
constexpr K Read_Order[] = {
    K::Analog_Input,       K::Analog_Value,  K::Binary_Input,      K::Binary_Value,      K::Positive_Integer_Value,
    K::Large_Analog_Value, K::Integer_Value, K::Multi_State_Input, K::Multi_State_Value, K::Life_Safety_Point,
    K::Life_Safety_Zone,   K::Access_Door,   K::Accumulator,
};

constexpr K Write_Order[] = {
    K::Analog_Out,         K::Analog_Value,  K::Binary_Out,         K::Binary_Value,      K::Positive_Integer_Value,
    K::Large_Analog_Value, K::Integer_Value, K::Multi_State_Output, K::Multi_State_Value, K::Access_Door,
};

} // namespace

const Object_Type *Find_Object_Type(QStringView text)
{
    return Object_Type_Named(text);
}

bool Offers(int page, const Object_Type &type)
{
    return page == Page_Read ? type.read : type.write;
}

QStringList Data_Type_Items(int page)
{
    QStringList items;
    if (page == Page_Read) {
        for (const K kind : Read_Order)
            items.append(QString::fromUtf16(Object_Type_Of(kind).table_text));
    } else {
        for (const K kind : Write_Order)
            items.append(QString::fromUtf16(Object_Type_Of(kind).table_text));
    }
    return items;
}

QString Length_For(QStringView data_type, int page)
{
    const Object_Type *type = Find_Object_Type(data_type);
    if (!type || !Offers(page, *type))
        return QString();
    const char16_t *length = page == Page_Read ? type->read_length : type->write_length;
    return *length ? QString::fromUtf16(length) : QString();
}
