#include "tables/object_types.h"

#include <array>
#include <iterator>

namespace tables {

namespace {

// The Read grid fills in the Length the Write grid gives the same type, and
// for its own types the largest their rule allows: the device reads the
// Length of every object, binary ones included.
const Object_Type Types[] = {
    {u"Analog Input", true, false, false, 1, 4, 1535, -1, u"", u"4"},
    {u"Analog Out", false, true, false, 1, 4, -1, 1549, u"4", u""},
    {u"Analog Value", true, true, false, 1, 4, 1538, 1550, u"4", u"4"},
    {u"Binary Input", true, false, true, 0, 0, 1545, -1, u"", u"1"},
    {u"Binary Out", false, true, true, 0, 0, -1, 1557, u"1", u""},
    {u"Binary Value", true, true, true, 0, 0, 1545, 1557, u"1", u"1"},
    {u"Positive Integer Value", true, true, false, 1, 4, 1536, 1551, u"4", u"4"},
    {u"Large Analog Value", true, true, false, 1, 8, 1537, 1552, u"8", u"8"},
    // The Read table sets no Length rule for it; the last-byte rule still applies.
    {u"Integer Value", true, true, false, 1, 4, -1, 1553, u"4", u"4"},
    {u"Multi State Input", true, false, false, 1, 4, 1539, -1, u"", u"4"},
    {u"Multi State Output", false, true, false, 1, 4, -1, 1554, u"4", u""},
    {u"Multi State Value", true, true, false, 1, 4, 1540, 1555, u"4", u"4"},
    {u"Life Safety Point", true, false, false, 1, 2, 1541, -1, u"", u"2"},
    {u"Life Safety Zone", true, false, false, 1, 2, 1542, -1, u"", u"2"},
    {u"Access Door", true, true, false, 1, 1, 1543, 1556, u"1", u"1"},
    {u"Accumulator", true, false, false, 1, 4, 1544, -1, u"", u"4"},
};

// The Data Type texts the converter knows, upper-cased: the sixteen above
// and three that only a hand-edited document names.
const char *const Encoded_Types[] = {
    "ANALOG INPUT",       "ANALOG OUT",        "BINARY INPUT",           "BINARY OUT",
    "LARGE ANALOG VALUE", "DATETIME VALUE",    "POSITIVE INTEGER VALUE", "CHARACTERSTRING VALUE",
    "INTEGER VALUE",      "MULTI STATE INPUT", "MULTI STATE OUTPUT",     "MULTI STATE VALUE",
    "ANALOG VALUE",       "BINARY VALUE",      "LIFE SAFETY POINT",      "LIFE SAFETY ZONE",
    "ACCESS DOOR",        "ACCUMULATOR",       "OCTET STRING",
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
    // The texts as views, measured once: the live check looks up every row
    // at each edit.
    static const std::array<QStringView, std::size(Types)> texts = [] {
        std::array<QStringView, std::size(Types)> views;
        for (size_t i = 0; i < views.size(); ++i)
            views[i] = QStringView(Types[i].text);
        return views;
    }();
    // Size, first and last letters tell the types apart before the texts
    // are compared.
    if (text.isEmpty())
        return nullptr;
    for (size_t i = 0; i < texts.size(); ++i)
        if (text.size() == texts[i].size() && text.front() == texts[i].front() && text.back() == texts[i].back() &&
            text == texts[i])
            return &Types[i];
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

QString Length_For(QStringView data_type, int page)
{
    const QString upper = data_type.toString().toUpper();
    for (const Object_Type &t : Types)
        if ((page == Page_Read ? t.read : t.write) && upper == QString::fromUtf16(t.text).toUpper()) {
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
    for (const char *want : Encoded_Types) {
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

} // namespace tables
