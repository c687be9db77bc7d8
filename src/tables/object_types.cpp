#include "tables/object_types.h"

namespace tables {

namespace {

const Object_Type Types[] = {
    {u"Analog Input", true, false, false, 1, 4, 1535, -1, u""},
    {u"Analog Out", false, true, false, 1, 4, -1, 1549, u"4"},
    {u"Analog Value", true, true, false, 1, 4, 1538, 1550, u"4"},
    {u"Binary Input", true, false, true, 0, 0, 1545, -1, u""},
    {u"Binary Out", false, true, true, 0, 0, -1, 1557, u"1"},
    {u"Binary Value", true, true, true, 0, 0, 1545, 1557, u"1"},
    {u"Positive Integer Value", true, true, false, 1, 4, 1536, 1551, u"4"},
    {u"Large Analog Value", true, true, false, 1, 8, 1537, 1552, u"8"},
    // The Read table sets no Length rule for it; the last-byte rule still applies.
    {u"Integer Value", true, true, false, 1, 4, -1, 1553, u"4"},
    {u"Multi State Input", true, false, false, 1, 4, 1539, -1, u""},
    {u"Multi State Output", false, true, false, 1, 4, -1, 1554, u"4"},
    {u"Multi State Value", true, true, false, 1, 4, 1540, 1555, u"4"},
    {u"Life Safety Point", true, false, false, 1, 2, 1541, -1, u""},
    {u"Life Safety Zone", true, false, false, 1, 2, 1542, -1, u""},
    {u"Access Door", true, true, false, 1, 1, 1543, 1556, u"1"},
    {u"Accumulator", true, false, false, 1, 4, 1544, -1, u""},
};

const char16_t *const Read_Order[] = {
    u"Analog Input",       u"Analog Value",  u"Binary Input",      u"Binary Value",      u"Positive Integer Value",
    u"Large Analog Value", u"Integer Value", u"Multi State Input", u"Multi State Value", u"Life Safety Point",
    u"Life Safety Zone",   u"Access Door",   u"Accumulator",
};

const char16_t *const Write_Order[] = {
    u"Analog Out",         u"Analog Value",  u"Binary Out",         u"Binary Value",      u"Positive Integer Value",
    u"Large Analog Value", u"Integer Value", u"Multi State Output", u"Multi State Value", u"Access Door",
};

} // namespace

std::span<const Object_Type> Object_Types()
{
    return Types;
}

const Object_Type *Find_Object_Type(QStringView text)
{
    for (const Object_Type &t : Types)
        if (text == QStringView(t.text))
            return &t;
    return nullptr;
}

QStringList Data_Type_Items(int page)
{
    QStringList items;
    const std::span<const char16_t *const> order = page == Page_Read ? std::span<const char16_t *const>(Read_Order)
                                                                     : std::span<const char16_t *const>(Write_Order);
    for (const char16_t *text : order)
        items.append(QString::fromUtf16(text));
    return items;
}

QString Write_Length_For(QStringView data_type)
{
    const QString upper = data_type.toString().toUpper();
    for (const Object_Type &t : Types)
        if (t.write && upper == QString::fromUtf16(t.text).toUpper())
            return QString::fromUtf16(t.write_length);
    return QString();
}

} // namespace tables
