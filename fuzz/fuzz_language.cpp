// A language file, as a translator or a download delivers it: decoded by its
// byte-order mark (or as UTF-8, else windows-1252) and applied line by line.
// Properties: the table keeps its 1820 entries; no entry the file gave holds a line break,
// a pilcrow or a "/#/" comment marker; and a file written back from the
// translated entries (each text between pilcrows, UTF-8 with a byte-order
// mark) gives the same table again.

#include "core/messages.h"
#include "fuzz_support.h"

#include <QStringEncoder>

namespace {

const QChar Pilcrow = QChar(0x00B6);

// The text with every lone surrogate replaced by U+FFFD, as a UTF-8 encoder
// writes it.
QString Without_Lone_Surrogates(const QString &text)
{
    // Read through the const text: a copy is made only for a text that
    // holds a lone surrogate (almost none do).
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            if (out.isNull())
                out = text;
            out[i] = QChar::ReplacementCharacter;
        }
    }
    return out.isNull() ? text : out;
}

QString Describe(int n, const QString &text)
{
    return QStringLiteral("entry %1: \"%2\"").arg(n).arg(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzz::Bytes(data, size);
    Message_Table table;
    Apply_Language_Text(table, Decode_Language_File(bytes));
    FUZZ_CHECK(table.Messages_Count() == Message_Table::Count && table.Texts().size() == Message_Table::Count,
               "the table holds %d entries", int(table.Texts().size()));

    static const Message_Table english;
    QString written = QStringLiteral("; written back\r\n");
    for (int n = 0; n < Message_Table::Count; ++n) {
        const QString &text = table.Get(n);
        if (text == english.Get(n))
            continue;
        // A text the file gave (the English ones may hold line breaks).
        FUZZ_CHECK(!text.contains(u'\r') && !text.contains(u'\n') && !text.contains(Pilcrow) && !text.contains(u"/#/"),
                   "%s", qPrintable(Describe(n, text)));
        written += QStringLiteral("STR%1 = ").arg(n, 4, 10, QLatin1Char('0')) + Pilcrow + text + Pilcrow +
                   QStringLiteral("\r\n");
    }

    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::WriteBom);
    const QByteArray file = utf8.encode(written);
    Message_Table again;
    Apply_Language_Text(again, Decode_Language_File(file));
    for (int n = 0; n < Message_Table::Count; ++n) {
        // A UTF-16 file may hold a lone surrogate, which Qt's decoder keeps
        // and no UTF-8 file can: it reads back as U+FFFD.
        const QString expected = Without_Lone_Surrogates(table.Get(n));
        FUZZ_CHECK(again.Get(n) == expected, "%s reads back as \"%s\"", qPrintable(Describe(n, table.Get(n))),
                   qPrintable(again.Get(n)));
    }

    // The same through the file, as Load_Language reads it.
    const QString path = fuzz::Scratch(QStringLiteral("lang.lng"));
    fuzz::Put_File(path, bytes);
    Message_Table from_file;
    FUZZ_CHECK(from_file.Read_Language_File(path).Ok(), "the file could not be read");
    FUZZ_CHECK(from_file.Texts() == table.Texts(), "the file reads otherwise than its text");
    return 0;
}
