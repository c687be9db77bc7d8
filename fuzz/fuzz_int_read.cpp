// The integer reading with a fallback: every number taken from a document, a
// cell or an edit goes through it. Two properties:
//  - it agrees with a second reading written here straight from the rule
//    (blanks, sign, decimal within 32 bits signed, or hexadecimal after "$",
//    "x", "X", "0x", "0X" within 32 bits taken as a pattern, nothing after);
//  - the compiler's shortcut over raw UTF-8 attribute values agrees with it.

#include "core/int_read.h"
#include "fuzz_support.h"

#include <QString>
#include <optional>
#include <string_view>

namespace {

int Digit(char16_t c, int base)
{
    int d = -1;
    if (c >= u'0' && c <= u'9')
        d = c - u'0';
    else if (c >= u'a' && c <= u'f')
        d = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
    return d < base ? d : -1;
}

std::optional<std::int32_t> Reference(std::u16string_view s)
{
    while (!s.empty() && s.front() == u' ')
        s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == u'+' || s.front() == u'-')) {
        negative = s.front() == u'-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() >= 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (!s.empty() && (s[0] == u'$' || s[0] == u'x' || s[0] == u'X')) {
        base = 16;
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    // Leading zeros never count against the range.
    unsigned __int128 value = 0;
    for (char16_t c : s) {
        const int d = Digit(c, base);
        if (d < 0)
            return std::nullopt;
        value = value * unsigned(base) + unsigned(d);
        if (value > 0x1'0000'0000u)
            value = 0x1'0000'0001u; // saturate: already out of every range
    }
    if (base == 16) {
        if (value > 0xFFFF'FFFFu)
            return std::nullopt;
        const std::uint32_t pattern = std::uint32_t(value);
        return std::int32_t(negative ? 0u - pattern : pattern);
    }
    if (value > (negative ? 0x8000'0000u : 0x7FFF'FFFFu))
        return std::nullopt;
    return std::int32_t(negative ? 0u - std::uint32_t(value) : std::uint32_t(value));
}

void Compare(QStringView text)
{
    int value = 0;
    const bool ok = Try_Str_To_Int(text, &value);
    const std::optional<std::int32_t> expected =
        Reference(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())));
    FUZZ_CHECK(ok == expected.has_value(), "\"%s\": program %d, rule %d", qPrintable(text.toString()), int(ok),
               int(expected.has_value()));
    if (ok)
        FUZZ_CHECK(value == *expected, "\"%s\": program %d, rule %d", qPrintable(text.toString()), value, *expected);
    // The fallback is taken exactly when the text is not a number.
    FUZZ_CHECK(Str_To_Int_Def(text, 12345) == (ok ? value : 12345), "fallback of \"%s\"", qPrintable(text.toString()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);

    // Each byte a character: the digits, signs and prefixes come up often.
    Compare(QString::fromLatin1(bytes));

    // Pairs of bytes as UTF-16 code units: any character at all.
    QString wide;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        wide += QChar(char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8)));
    Compare(wide);

    // The compiler's reading of an attribute value (UTF-8, ends at a NUL).
    const QByteArray utf8 = bytes.left(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0'));
    int fast = 0;
    int general = 0;
    const bool fast_ok = Try_Utf8_To_Int(utf8.constData(), &fast);
    const bool general_ok = Try_Str_To_Int(QString::fromUtf8(utf8), &general);
    FUZZ_CHECK(fast_ok == general_ok && (!fast_ok || fast == general), "\"%s\": UTF-8 reading %d/%d, text %d/%d",
               utf8.constData(), int(fast_ok), fast, int(general_ok), general);
    return 0;
}
