#include "inspector/json_writer.h"

void Json_Writer::Item(const char *key)
{
    if (!has_items_.isEmpty()) {
        if (has_items_.last())
            out_ += ',';
        has_items_.last() = true;
        out_ += '\n';
        out_ += QByteArray(2 * has_items_.size(), ' ');
    }
    if (key) {
        out_ += Quote(QString::fromLatin1(key));
        out_ += ": ";
    }
}

void Json_Writer::Close(char bracket)
{
    const bool had_items = has_items_.takeLast();
    if (had_items) {
        out_ += '\n';
        out_ += QByteArray(2 * has_items_.size(), ' ');
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
    out_ += QByteArray::number(value);
}

void Json_Writer::String(const char *key, const QString &value)
{
    Item(key);
    out_ += Quote(value);
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
    return has_items_.isEmpty() ? out_ + '\n' : out_;
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
