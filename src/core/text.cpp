#include "core/text.h"

#include <algorithm>

QStringView Trim_Controls(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= 32)
        ++b;
    while (e > b && text[e - 1].unicode() <= 32)
        --e;
    return text.mid(b, e - b);
}

QString Ascii_Upper(QStringView text)
{
    QString upper = text.toString();
    for (QChar &c : upper)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(char16_t(c.unicode() - (u'a' - u'A')));
    return upper;
}

Text_Arg::Text_Arg(int number)
{
    // From the end of the buffer: the digits, then the sign.
    const qsizetype end = qsizetype(std::size(buffer_));
    qsizetype at = end;
    long long n = number < 0 ? -(long long)number : number;
    do {
        buffer_[--at] = char16_t(u'0' + n % 10);
        n /= 10;
    } while (n > 0);
    if (number < 0)
        buffer_[--at] = u'-';
    digits_ = end - at;
}

Text_Template::Text_Template(QString format)
    : format_(std::move(format))
{
    qsizetype text_from = 0;
    for (qsizetype i = 0; i + 1 < format_.size(); ++i) {
        const char16_t d = format_[i + 1].unicode();
        if (format_[i] != u'%' || d < u'1' || d > u'9')
            continue;
        if (i > text_from)
            pieces_.append({text_from, i - text_from, -1});
        pieces_.append({i, 2, int(d - u'1')});
        text_from = i + 2;
        ++i;
    }
    if (text_from < format_.size())
        pieces_.append({text_from, format_.size() - text_from, -1});
}

QString Text_Template::Fill(std::initializer_list<Text_Arg> args) const
{
    const QStringView format(format_);
    const auto text_of = [&](const Piece &p) {
        return p.arg >= 0 && size_t(p.arg) < args.size() ? (args.begin() + p.arg)->View()
                                                         : format.mid(p.from, p.length);
    };
    qsizetype size = 0;
    for (const Piece &p : pieces_)
        size += text_of(p).size();
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const Piece &p : pieces_) {
        const QStringView piece = text_of(p);
        std::copy(piece.utf16(), piece.utf16() + piece.size(), out);
        out += piece.size();
    }
    return text;
}

QString Controls_Escaped(QStringView text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            escaped += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}
