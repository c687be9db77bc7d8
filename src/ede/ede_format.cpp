#include "ede/ede_format.h"

#include "core/int_read.h"
#include "core/object_catalogue.h"
#include "core/text.h"
#include "tables/eng_units.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace {

// The served object types, in ascending order of their standard codes.
const std::array<const Object_Type *, EDE_Type_Count> &Served_Types()
{
    static const std::array<const Object_Type *, EDE_Type_Count> served = [] {
        std::array<const Object_Type *, EDE_Type_Count> types{};
        std::size_t n = 0;
        for (const Object_Type &type : Object_Catalogue)
            if (type.ede_listed)
                types.at(n++) = &type;
        std::sort(types.begin(), types.end(),
                  [](const Object_Type *x, const Object_Type *y) { return x->bacnet_code < y->bacnet_code; });
        return types;
    }();
    return served;
}

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

// The fields joined by ";", padded with empty fields to `columns`.
QString Padded_Line(QStringList fields, int columns)
{
    while (fields.size() < columns)
        fields.append(QString());
    return fields.join(u';');
}

// The decimal form of a number cell, or nothing when it holds no number.
QString Decimal_Or_Nothing(QStringView cell)
{
    int n = 0;
    return Try_Str_To_Int(cell, &n) ? QString::number(n) : QString();
}

} // namespace

int EDE_Object_Type(QStringView data_type)
{
    const Object_Type *type = Object_Type_Named(data_type);
    return type && type->ede_listed ? type->bacnet_code : 0;
}

int EDE_Type_Index(int code)
{
    const auto &served = Served_Types();
    for (size_t i = 0; i < served.size(); ++i)
        if (served[i]->bacnet_code == code)
            return int(i);
    return -1;
}

// The served type of `code`; the analog input's for a code not served.
static const Object_Type &Served_Type(int code)
{
    const int index = EDE_Type_Index(code);
    return *Served_Types()[index < 0 ? 0 : size_t(index)];
}

QString EDE_Type_Abbreviation(int code)
{
    return QString::fromUtf16(Served_Type(code).abbreviation);
}

QString EDE_Type_Name(int code)
{
    return QString::fromUtf16(Served_Type(code).standard_name);
}

QList<int> EDE_Served_Types()
{
    QList<int> codes;
    for (const Object_Type *t : Served_Types())
        codes.append(t->bacnet_code);
    return codes;
}

bool EDE_Is_Multi_State(int code)
{
    const int index = EDE_Type_Index(code);
    if (index < 0)
        return false;
    const Object_Kind kind = Served_Types()[size_t(index)]->kind;
    return kind == Object_Kind::Multi_State_Input || kind == Object_Kind::Multi_State_Output ||
           kind == Object_Kind::Multi_State_Value;
}

bool EDE_Is_Binary(int code)
{
    const int index = EDE_Type_Index(code);
    return index >= 0 && Served_Types()[size_t(index)]->binary;
}

QString EDE_Vendor_Address(QChar area, QStringView position, QStringView bit, QStringView length, bool binary)
{
    QString address = QString(area) + u':' + Decimal_Or_Nothing(position);
    if (binary) {
        if (const QString b = Decimal_Or_Nothing(bit); !b.isEmpty())
            address += u'.' + b;
        // A binary object sits on one byte, whatever its Length cell says.
        return address + QStringLiteral("/1");
    }
    if (const QString l = Decimal_Or_Nothing(length); !l.isEmpty())
        address += u'/' + l;
    return address;
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

QString EDE_Standard_Time_Stamp(const QDateTime &at)
{
    const QTime t = at.time();
    const QDate d = at.date();
    return Two_Digits(d.day()) + u'.' + Two_Digits(d.month()) + u'.' + QString::number(d.year()) + u' ' +
           Two_Digits(t.hour()) + u':' + Two_Digits(t.minute()) + u':' + Two_Digits(t.second());
}

// The standard layout: as the B.I.G.-EU (BACnet Interest Group Europe)
// describes it in "Engineering Data Exchange Template for BACnet Systems",
// layout 2.3, and as its example file set shows it: semicolons, a "#" before
// comment lines, the project lines as key and value, the column titles
// spelt as there, and the companion files "<prefix>_StateTexts.csv",
// "<prefix>_Units.csv" and "<prefix>_ObjTypes.csv".
QStringList EDE_Standard_Header_Lines(const QString &project_name, const QString &time_stamp)
{
    constexpr int n = EDE_Standard_Columns;
    QStringList mandatory;
    for (int i = 0; i < n; ++i)
        mandatory.append(i < 5 ? QStringLiteral("mandatory") : QStringLiteral("optional"));
    mandatory[0].prepend(u'#');
    return {
        Padded_Line({QStringLiteral("# Engineering-Data-Exchange - B.I.G.-EU")}, n),
        Padded_Line({QStringLiteral("PROJECT_NAME"), project_name}, n),
        Padded_Line({QStringLiteral("VERSION_OF_REFERENCEFILE"), QStringLiteral("1")}, n),
        Padded_Line({QStringLiteral("TIMESTAMP_OF_LAST_CHANGE"), time_stamp}, n),
        Padded_Line({QStringLiteral("AUTHOR_OF_LAST_CHANGE"), QStringLiteral("Tavelin")}, n),
        Padded_Line({QStringLiteral("VERSION_OF_LAYOUT"), QStringLiteral("2.3")}, n),
        mandatory.join(u';'),
        QStringLiteral("# keyname;device obj.-instance;object-name;object-type;object-instance;description;"
                       "present-value-default;min-present-value;max-present-value;settable;supports COV;"
                       "hi-limit;low-limit;state-text-reference;unit-code;vendor-specific-address;"
                       "notification-class"),
    };
}

QString EDE_Standard_Object_Line(const EDE_Standard_Obj &obj)
{
    // Columns 7 to 9 (present-value default, min, max), 11 to 13 (COV, hi
    // and low limit) and 17 (notification class) stay empty: the converter
    // does not report them.
    return QStringList{obj.Keyname,        obj.DevObjInstance,     obj.ObjectName, obj.ObjectType,
                       obj.ObjectInstance, obj.Description,        QString(),      QString(),
                       QString(),          obj.Settable,           QString(),      QString(),
                       QString(),          obj.StateTextReference, obj.UnitCode,   obj.VendorAddress,
                       QString()}
        .join(u';');
}

QStringList EDE_State_Text_Lines(int references)
{
    constexpr int n = EDE_Placeholder_States + 1;
    QStringList titles{QStringLiteral("#Reference Number"), QStringLiteral("Text 1 or Inactive-Text"),
                       QStringLiteral("Text 2 or Active-Text")};
    for (int i = 3; i <= EDE_Placeholder_States; ++i)
        titles.append(QStringLiteral("Text %1").arg(i));
    QStringList states;
    for (int i = 1; i <= EDE_Placeholder_States; ++i)
        states.append(QString::number(i));
    QStringList lines{Padded_Line({QStringLiteral("#State Text Reference")}, n), titles.join(u';')};
    for (int ref = 1; ref <= references; ++ref)
        lines.append(QString::number(ref) + u';' + states.join(u';'));
    return lines;
}

QStringList EDE_Unit_Lines(const QList<int> &codes)
{
    QStringList lines{QStringLiteral("#Encoding of BACnet Engineering Units;"), QStringLiteral("#Code;Unit Text")};
    for (int code : codes)
        lines.append(QString::number(code) + u';' + Desc_Unit(code));
    return lines;
}

QStringList EDE_Object_Type_Lines()
{
    QStringList lines{QStringLiteral("#Encoding of BACnet Object Types;"), QStringLiteral("#Code;Object Type")};
    for (int code : EDE_Served_Types())
        lines.append(QString::number(code) + u';' + EDE_Type_Name(code));
    return lines;
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

QString EDE_Object_Line(const EDE_Classic_Obj &obj)
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

QByteArray Encode_EDE_Lines(const QStringList &lines, EDE_Charset charset)
{
    if (charset == EDE_Charset::Windows_1252)
        return Encode_EDE_Lines(lines);
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

EDE_File_Set EDE_Files_For(const QString &main_file)
{
    const QFileInfo info(main_file);
    QString stem = info.fileName();
    if (stem.right(4).toUpper() == u".CSV")
        stem.chop(4);
    if (stem.right(4).toUpper() == u"_EDE")
        stem.chop(4);
    const QDir dir = info.dir();
    auto beside = [&](const char *suffix) { return dir.filePath(stem + QLatin1StringView(suffix)); };
    return {main_file, beside("_StateTexts.csv"), beside("_Units.csv"), beside("_ObjTypes.csv")};
}

QString EDE_Dialog_Filters()
{
    QStringList filters;
    for (const EDE_File_Type &type : EDE_File_Types)
        filters.append(QLatin1StringView(type.filter));
    return filters.join(QStringLiteral(";;"));
}

EDE_Options EDE_Options_For_Filter(const QString &filter)
{
    for (const EDE_File_Type &type : EDE_File_Types)
        if (filter == QLatin1StringView(type.filter))
            return type.options;
    return {};
}

QString EDE_File_Name(const QString &chosen)
{
    if (chosen.right(4).toUpper() == u".CSV")
        return chosen;
    return chosen + QStringLiteral(".csv");
}
