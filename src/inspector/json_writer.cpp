#include "inspector/json_writer.h"

#include <charconv>

namespace {

char16_t Unit(QChar c)
{
    return c.unicode();
}

char16_t Unit(char c)
{
    return char16_t(uchar(c));
}

// Whether `text` goes out as it is, one byte a character: printable ASCII
// without a quote or a backslash. Every key and most values are, and they
// need no detour through Quote's escaping and UTF-8 encoding.
template <typename View> bool Plain(View text)
{
    for (const auto c : text) {
        const char16_t u = Unit(c);
        if (u < 0x20 || u >= 0x7F || u == u'"' || u == u'\\')
            return false;
    }
    return true;
}

} // namespace

void Json_Writer::Item(const char *key)
{
    if (!has_items_.isEmpty()) {
        if (has_items_.last())
            out_ += ',';
        has_items_.last() = true;
        out_ += '\n';
        out_.append(std::size_t(2 * has_items_.size()), ' ');
    }
    if (key) {
        const QLatin1StringView text(key);
        if (Plain(text)) {
            out_ += '"';
            out_.append(key, std::size_t(text.size()));
            out_ += '"';
        } else {
            out_ += Quote(text).toStdString();
        }
        out_ += ": ";
    }
}

void Json_Writer::Close(char bracket)
{
    const bool had_items = has_items_.takeLast();
    if (had_items) {
        out_ += '\n';
        out_.append(std::size_t(2 * has_items_.size()), ' ');
    }
    out_ += bracket;
}

void Json_Writer::Begin_Object(const char *key)
{
    Item(key);
    out_ += '{';
    has_items_.append(false);
}

void Json_Writer::End_Object()
{
    Close('}');
}

void Json_Writer::Begin_Array(const char *key)
{
    Item(key);
    out_ += '[';
    has_items_.append(false);
}

void Json_Writer::End_Array()
{
    Close(']');
}

void Json_Writer::Number(const char *key, qint64 value)
{
    Item(key);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out_.append(digits, end);
}

void Json_Writer::String(const char *key, const QString &value)
{
    Item(key);
    Append_Quoted(value);
}

void Json_Writer::Append_Quoted(QStringView text)
{
    if (!Plain(text)) {
        out_ += Quote(text.toString()).toStdString();
        return;
    }
    out_ += '"';
    for (const QChar c : text)
        out_ += char(c.unicode());
    out_ += '"';
}

void Json_Writer::Bool(const char *key, bool value)
{
    Item(key);
    out_ += value ? "true" : "false";
}

void Json_Writer::Null(const char *key)
{
    Item(key);
    out_ += "null";
}

QByteArray Json_Writer::Text() const
{
    QByteArray text(out_.data(), qsizetype(out_.size()));
    if (has_items_.isEmpty())
        text += '\n';
    return text;
}

QByteArray Json_Writer::Quote(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += u'"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            escaped += u'\\';
            escaped += c;
        } else if (u < 0x20 || u == 0x7F) {
            escaped += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        } else {
            escaped += c;
        }
    }
    escaped += u'"';
    return escaped.toUtf8();
}
