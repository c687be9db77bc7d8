#include "core/object_catalogue.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

// The type whose device text equals the `n` units at `text` with the
// letters a-z upper-cased; every other unit must equal the device text's
// own. The device texts are ASCII, so a UTF-8 byte or UTF-16 unit beyond
// ASCII never matches, and both encodings of a text give the same answer.
template <typename Unit> const Object_Type *Named(const Unit *text, std::size_t n)
{
    // The texts' lengths, measured once: the live check looks up every row
    // at each edit.
    static const auto lengths = [] {
        std::array<std::size_t, Object_Kind_Count> l{};
        for (std::size_t t = 0; t < l.size(); ++t)
            l[t] = std::strlen(Object_Catalogue[t].device_text);
        return l;
    }();
    for (std::size_t t = 0; t < lengths.size(); ++t) {
        if (lengths[t] != n)
            continue;
        const char *want = Object_Catalogue[t].device_text;
        std::size_t i = 0;
        for (; i < n; ++i) {
            auto c = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Unit>>(text[i]));
            if (c >= 'a' && c <= 'z')
                c -= 'a' - 'A';
            if (c != static_cast<unsigned char>(want[i]))
                break;
        }
        if (i == n)
            return &Object_Catalogue[t];
    }
    return nullptr;
}

// A name as Object_Type_From_Any_Name compares it: its letters lower-cased
// and its digits, without blanks, '_' and '-'; empty when it holds any
// other character.
QString Name_Key(QStringView name)
{
    QString key;
    key.reserve(name.size());
    for (QChar c : name) {
        if (c == u' ' || c == u'_' || c == u'-')
            continue;
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return QString();
        key.append(c.toLower());
    }
    return key;
}

// Names people give the types besides the catalogue's own: the short forms
// of the multi-state types that building-automation tools write, the
// positive integer value without its last word, the octet string value's
// standard name.
struct Other_Name
{
    Object_Kind kind;
    const char16_t *name;
};
constexpr Other_Name Other_Names[] = {
    {Object_Kind::Multi_State_Input, u"MSI"},          {Object_Kind::Multi_State_Output, u"MSO"},
    {Object_Kind::Multi_State_Value, u"MSV"},          {Object_Kind::Positive_Integer_Value, u"Positive Integer"},
    {Object_Kind::Octet_String, u"OctetString Value"},
};

const QHash<QString, const Object_Type *> &Names_By_Key()
{
    static const QHash<QString, const Object_Type *> names = [] {
        QHash<QString, const Object_Type *> n;
        const auto add = [&n](const Object_Type &type, QStringView name) {
            const QString key = Name_Key(name);
            if (!key.isEmpty())
                n.insert(key, &type);
        };
        for (const Object_Type &type : Object_Catalogue) {
            add(type, QString::fromLatin1(type.device_text));
            if (type.table_text)
                add(type, QStringView(type.table_text));
            add(type, QStringView(type.standard_name));
            add(type, QStringView(type.abbreviation));
        }
        for (const Other_Name &other : Other_Names)
            add(Object_Type_Of(other.kind), QStringView(other.name));
        return n;
    }();
    return names;
}

} // namespace

const Object_Type *Object_Type_From_Any_Name(QStringView name)
{
    const QString key = Name_Key(name.trimmed());
    return key.isEmpty() ? nullptr : Names_By_Key().value(key, nullptr);
}

const Object_Type *Object_Type_Named(QStringView data_type)
{
    return Named(data_type.utf16(), std::size_t(data_type.size()));
}

const Object_Type *Object_Type_Named(const char *data_type)
{
    // The longest type text has 22 characters; a longer text is none of them.
    return Named(data_type, strnlen(data_type, 32));
}

int Device_Kind_Index(const char *data_type)
{
    const Object_Type *type = Object_Type_Named(data_type);
    return type ? int(type - Object_Catalogue.data()) : -1;
}
