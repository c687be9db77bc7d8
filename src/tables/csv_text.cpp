#include "tables/csv_text.h"

#include <QStringDecoder>
#include <cstdint>

namespace {

bool Is_Line_Break(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// The length of the line break at `i` (CR LF is one); 0 when there is none.
qsizetype Line_Break_At(QStringView text, qsizetype i)
{
    if (i >= text.size() || !Is_Line_Break(text[i]))
        return 0;
    return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
}

// The length of the valid UTF-8 sequence of two bytes or more at `i`, or 0.
int Utf8_Sequence_At(const QByteArray &b, qsizetype i)
{
    const auto at = [&](qsizetype k) { return k < b.size() ? std::uint8_t(b[k]) : 0u; };
    const auto in = [](unsigned v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; };
    const unsigned lead = at(i);
    const unsigned second = at(i + 1);
    int length = 0;
    bool ok = false;
    if (in(lead, 0xC2, 0xDF)) {
        length = 2;
        ok = in(second, 0x80, 0xBF);
    } else if (in(lead, 0xE0, 0xEF)) {
        length = 3;
        ok = lead == 0xE0 ? in(second, 0xA0, 0xBF) : lead == 0xED ? in(second, 0x80, 0x9F) : in(second, 0x80, 0xBF);
    } else if (in(lead, 0xF0, 0xF4)) {
        length = 4;
        ok = lead == 0xF0 ? in(second, 0x90, 0xBF) : lead == 0xF4 ? in(second, 0x80, 0x8F) : in(second, 0x80, 0xBF);
    }
    for (int k = 2; ok && k < length; ++k)
        ok = in(at(i + k), 0x80, 0xBF);
    return ok ? length : 0;
}

} // namespace

int Stray_Byte_Line(const QByteArray &bytes, char *byte)
{
    const auto marked = QStringConverter::encodingForData(bytes);
    if (marked && *marked != QStringConverter::Utf8)
        return 0;
    qsizetype first_stray = -1;
    bool utf8_seen = false;
    // A mark alone holds no letter that windows-1252 would turn wrong.
    for (qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0; i < bytes.size();) {
        if (std::uint8_t(bytes[i]) < 0x80) {
            ++i;
        } else if (const int length = Utf8_Sequence_At(bytes, i); length > 0) {
            utf8_seen = true;
            i += length;
        } else {
            if (first_stray < 0)
                first_stray = i;
            ++i;
        }
        if (utf8_seen && first_stray >= 0)
            break;
    }
    if (!utf8_seen || first_stray < 0)
        return 0;
    *byte = bytes[first_stray];
    int line = 1;
    for (qsizetype i = 0; i < first_stray; ++i)
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    return line;
}

QString Decode_Csv(const QByteArray &bytes)
{
    const auto marked = QStringConverter::encodingForData(bytes);
    if (marked && *marked != QStringConverter::Utf8) {
        QStringDecoder decoder(*marked);
        return decoder.decode(bytes);
    }
    // The UTF-8 decoder drops a leading mark by itself; stateless, so that a
    // sequence cut off at the end is an error too.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder ansi("windows-1252");
    if (!ansi.isValid()) // a Qt without ICU: the printable part of windows-1252 but for 0x80 to 0x9F
        return QString::fromLatin1(body);
    return ansi.decode(body);
}

QChar Csv_Separator(QStringView text)
{
    const QChar candidates[] = {u',', u';', u'\t'};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            quoted = !quoted; // a doubled quote toggles twice
            continue;
        }
        if (quoted)
            continue;
        if (Is_Line_Break(c))
            break;
        for (int k = 0; k < 3; ++k)
            if (c == candidates[k])
                ++counts[k];
    }
    int best = 0;
    for (int k = 1; k < 3; ++k)
        if (counts[k] > counts[best])
            best = k;
    return candidates[best];
}

QList<Csv_Record> Parse_Csv(QStringView text, QChar separator)
{
    QList<Csv_Record> records;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    Csv_Record record{line, {}};
    while (i < n) {
        QString field;
        if (text[i] == u'"') {
            ++i;
            while (i < n) {
                const QChar c = text[i];
                if (c == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (const qsizetype br = Line_Break_At(text, i)) {
                    field += text.mid(i, br);
                    i += br;
                    ++line;
                    continue;
                }
                field += c;
                ++i;
            }
        }
        // The field's unquoted text, or what follows its closing quote.
        const qsizetype start = i;
        while (i < n && text[i] != separator && !Is_Line_Break(text[i]))
            ++i;
        field += text.mid(start, i - start);
        record.Fields.append(std::move(field));
        if (i == n)
            break;
        if (text[i] == separator) {
            ++i;
            if (i == n)
                record.Fields.append(QString()); // "a," ends with an empty field
            continue;
        }
        i += Line_Break_At(text, i);
        ++line;
        records.append(std::move(record));
        record = Csv_Record{line, {}};
    }
    if (!record.Fields.isEmpty())
        records.append(std::move(record));
    return records;
}

QString Csv_Field(const QString &text, QChar separator)
{
    bool quote = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    for (qsizetype i = 0; !quote && i < text.size(); ++i)
        quote = text[i] == separator || text[i] == u'"' || Is_Line_Break(text[i]);
    if (!quote)
        return text;
    QString field;
    field.reserve(text.size() + 2);
    field += u'"';
    for (QChar c : text) {
        if (c == u'"')
            field += u'"';
        field += c;
    }
    field += u'"';
    return field;
}

QByteArray Encode_Csv(const QList<QStringList> &records)
{
    QString text;
    for (const QStringList &record : records) {
        for (qsizetype i = 0; i < record.size(); ++i) {
            if (i > 0)
                text += u',';
            text += Csv_Field(record[i], u',');
        }
        text += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool Csv_Runs_As_Formula(QStringView text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    if (first != u'=' && first != u'+' && first != u'-' && first != u'@' && first != u'\t' && first != u'\r')
        return false;
    if (first != u'+' && first != u'-')
        return true;
    // A sign, digits and at most one decimal point between digits: a number.
    qsizetype digits = 0;
    bool point = false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            ++digits;
        } else if (c == u'.' && !point && digits > 0 && i + 1 < text.size()) {
            point = true;
        } else {
            return true;
        }
    }
    return digits == 0;
}

namespace {

// A text that Csv_Text_Cell writes behind an apostrophe. One apostrophe more
// or less in front does not change the answer, so the reading can tell the
// apostrophe it added from the text's own.
bool Guarded(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'')
        ++i;
    return Csv_Runs_As_Formula(text.mid(i));
}

} // namespace

QString Csv_Text_Cell(const QString &text)
{
    return Guarded(text) ? u'\'' + text : text;
}

QString Csv_Cell_Of_Field(const QString &field)
{
    return field.startsWith(u'\'') && Guarded(field) ? field.mid(1) : field;
}
