#include "compiler/row_attributes.h"

#include "core/int_read.h"

#include <QString>

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
