#include "core/int_read.h"

#include <QString>
#include <cstdint>

namespace {

int Hex_Digit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

bool Try_Str_To_Int(QStringView text, int *value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    bool hex = false;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }

    const qsizetype first = i;
    std::uint64_t magnitude = 0;
    if (hex) {
        for (; i < n; ++i) {
            const int d = Hex_Digit(text[i]);
            if (d < 0)
                return false;
            magnitude = magnitude * 16 + std::uint64_t(d);
            if (magnitude > 0xFFFFFFFFull)
                return false;
        }
    } else {
        for (; i < n; ++i) {
            const char16_t u = text[i].unicode();
            if (u < u'0' || u > u'9')
                return false;
            magnitude = magnitude * 10 + std::uint64_t(u - u'0');
            if (magnitude > 0x80000000ull)
                return false;
        }
    }
    if (i == first)
        return false;

    std::uint32_t pattern;
    if (hex) {
        pattern = std::uint32_t(magnitude);
        if (negative)
            pattern = std::uint32_t(0u - pattern);
    } else {
        if (!negative && magnitude > 0x7FFFFFFFull)
            return false;
        pattern = negative ? std::uint32_t(0u - std::uint32_t(magnitude)) : std::uint32_t(magnitude);
    }
    if (value)
        *value = static_cast<std::int32_t>(pattern);
    return true;
}

int Str_To_Int_Def(QStringView text, int fallback)
{
    int value = 0;
    return Try_Str_To_Int(text, &value) ? value : fallback;
}

bool Try_Utf8_To_Int(const char *value, int *result)
{
    // Plain decimal digits, the form the windows write, need no general
    // reading: up to nine of them always fit. A tenth digit goes to the
    // general reading before it is added (it might not fit an int).
    int plain = 0;
    int digits = 0;
    while (digits < 9 && value[digits] >= '0' && value[digits] <= '9') {
        plain = plain * 10 + (value[digits] - '0');
        ++digits;
    }
    if (digits > 0 && value[digits] == 0) {
        *result = plain;
        return true;
    }
    // Every character a number may hold is ASCII, so any other byte fails it.
    char16_t wide[64];
    qsizetype n = 0;
    for (const char *p = value; *p; ++p, ++n) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
        if (n == qsizetype(std::size(wide)))
            return Try_Str_To_Int(QString::fromLatin1(value), result);
        wide[n] = char16_t(*p);
    }
    return Try_Str_To_Int(QStringView(wide, n), result);
}
