#include "ede/ede_format.h"

#include "core/text.h"

#include <QDateTime>
#include <array>

namespace {

struct Type_Code
{
    QStringView data_type;
    int code;
};

// The served object types with their standard BACnet codes.
constexpr std::array<Type_Code, EDE_Type_Count> Type_Codes = {{
    {u"ANALOG INPUT", 0},
    {u"ANALOG OUT", 1},
    {u"ANALOG VALUE", 2},
    {u"BINARY INPUT", 3},
    {u"BINARY OUT", 4},
    {u"BINARY VALUE", 5},
    {u"MULTI STATE INPUT", 13},
    {u"MULTI STATE OUTPUT", 14},
    {u"MULTI STATE VALUE", 19},
    {u"LIFE SAFETY POINT", 21},
    {u"LIFE SAFETY ZONE", 22},
    {u"ACCUMULATOR", 23},
    {u"ACCESS DOOR", 30},
    {u"CHARACTERSTRING VALUE", 40},
    {u"DATETIME VALUE", 44},
    {u"INTEGER VALUE", 45},
    {u"LARGE ANALOG VALUE", 46},
    {u"POSITIVE INTEGER VALUE", 48},
}};

// windows-1252 bytes 0x80 to 0x9F; 0 where the code page has no character.
// The bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined: a converter that
// passes the C1 control of the same number through them (ICU does) would put
// a control character into a file that integrators open in a spreadsheet, so
// every C1 control becomes "?" like any character the code page lacks.
constexpr std::array<char16_t, 32> Cp1252_High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The windows-1252 byte of a code point, '?' when the code page lacks it.
char Cp1252_Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return char(cp);
    for (size_t i = 0; i < Cp1252_High.size(); ++i)
        if (Cp1252_High[i] == cp)
            return char(0x80 + i);
    return '?';
}

// The code point at `i`, advancing `i` past it; a lone surrogate reads as
// U+FFFF, which no code page here holds.
char32_t Next_Code_Point(QStringView s, qsizetype &i)
{
    const QChar c = s[i++];
    if (c.isHighSurrogate() && i < s.size() && s[i].isLowSurrogate())
        return QChar::surrogateToUcs4(c, s[i++]);
    return c.isSurrogate() ? 0xFFFF : c.unicode();
}

QString Two_Digits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

int EDE_Object_Type(QStringView data_type)
{
    const QString key = Trim_Controls(data_type).toString().toUpper();
    for (const Type_Code &t : Type_Codes)
        if (key == t.data_type)
            return t.code;
    return 0;
}

int EDE_Type_Index(int code)
{
    for (size_t i = 0; i < Type_Codes.size(); ++i)
        if (Type_Codes[i].code == code)
            return int(i);
    return -1;
}

QString EDE_Object_Name(const QString &mnemonic, bool long_names)
{
    const int limit = long_names ? 32 : 16;
    qsizetype end = 0;
    for (int n = 0; n < limit && end < mnemonic.size(); ++n)
        Next_Code_Point(mnemonic, end);
    return mnemonic.left(end);
}

QString EDE_Time_Stamp(const QDateTime &at)
{
    const QTime t = at.time();
    const QDate d = at.date();
    return Two_Digits(t.hour()) + u':' + Two_Digits(t.minute()) + u':' + Two_Digits(t.second()) + u' ' +
           Two_Digits(d.day()) + u'/' + Two_Digits(d.month()) + u'/' + QString::number(d.year());
}

QStringList EDE_Header_Lines(const QString &project_name, const QString &time_stamp)
{
    // The layout is fixed, the blank after the first ";" and the double dash
    // of the first line included.
    return {
        QStringLiteral("PROJECT_NAME; Tavelin-") + u'-' + project_name + QStringLiteral(";;;;;;"),
        QStringLiteral("VERSION_OF_REFERENCEFILE;1.0;;;;;;"),
        QStringLiteral("TIMESTAMP_OF_LAST_CHANGE;") + time_stamp + QStringLiteral(";;;;;;"),
        QStringLiteral("AUTHOR_OF_LAST_CHANGE;Tavelin;;;;;;"),
        QStringLiteral("VERSION_OF_LAYOUT;2;;;;;;"),
        QStringLiteral("# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;"),
        QStringLiteral("# keyname;device obj.-instance;object-name;object-type;object-instance;description;unit-code;"),
    };
}

QString EDE_Object_Line(const TBACnet_EDE_Obj &obj)
{
    QString line;
    for (const QString *field : {&obj.Keyname, &obj.DevObjInstance, &obj.ObjectName, &obj.ObjectType,
                                 &obj.ObjectInstance, &obj.Description, &obj.UnitCode})
        line += *field + u';';
    return line;
}

bool EDE_Breaks_Columns(QStringView text)
{
    for (QChar c : text)
        if (c == u';' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

bool EDE_Starts_Quoted(QStringView text)
{
    return text.startsWith(u'"');
}

QByteArray Encode_EDE_Lines(const QStringList &lines)
{
    // Room for all of it at once: at most one byte per UTF-16 unit and the
    // line ends. Growing line by line would copy the file once per line.
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(total);
    for (const QString &line : lines) {
        // One "?" per character the code page lacks, a lone surrogate included.
        for (qsizetype i = 0; i < line.size();)
            bytes += Cp1252_Byte(Next_Code_Point(line, i));
        bytes += "\r\n";
    }
    return bytes;
}

QString EDE_File_Name(const QString &chosen)
{
    if (chosen.right(4).toUpper() == u".CSV")
        return chosen;
    return chosen + QStringLiteral(".csv");
}
