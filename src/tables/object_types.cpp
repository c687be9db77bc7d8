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
    // The texts as views, measured once: the live check looks up every row
    // at each edit. A type no table offers has an empty view.
    static const std::array<QStringView, Object_Kind_Count> texts = [] {
        std::array<QStringView, Object_Kind_Count> views;
        for (size_t i = 0; i < views.size(); ++i)
            if (Object_Catalogue[i].table_text)
                views[i] = QStringView(Object_Catalogue[i].table_text);
        return views;
    }();
    // Size, first and last letters tell the types apart before the texts
    // are compared.
    if (text.isEmpty())
        return nullptr;
    for (size_t i = 0; i < texts.size(); ++i)
        if (text.size() == texts[i].size() && text.front() == texts[i].front() && text.back() == texts[i].back() &&
            text == texts[i])
            return &Object_Catalogue[i];
    return nullptr;
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
    const QString upper = data_type.toString().toUpper();
    for (const Object_Type &t : Object_Catalogue)
        if (t.table_text && (page == Page_Read ? t.read : t.write) &&
            upper == QString::fromUtf16(t.table_text).toUpper()) {
            const char16_t *length = page == Page_Read ? t.read_length : t.write_length;
            return *length ? QString::fromUtf16(length) : QString();
        }
    return QString();
}

bool Is_Encoded_Type(QStringView data_type)
{
    // Most rows hold a type as the lists spell it.
    if (Find_Object_Type(data_type))
        return true;
    for (const Object_Type &type : Object_Catalogue) {
        const char *want = type.device_text;
        qsizetype i = 0;
        for (; i < data_type.size() && want[i]; ++i) {
            char16_t c = data_type[i].unicode();
            // Only a-z: the compiler upper-cases nothing else.
            if (c >= u'a' && c <= u'z')
                c = char16_t(c - (u'a' - u'A'));
            if (c != char16_t(want[i]))
                break;
        }
        if (i == data_type.size() && !want[i])
            return true;
    }
    return false;
}
