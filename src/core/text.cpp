#include "core/text.h"

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
