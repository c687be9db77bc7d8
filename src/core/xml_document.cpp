#include "core/xml_document.h"

#include "core/file_io.h"
#include "core/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// The first reference to an entity that XML does not predefine (`&xxe;`),
// outside comments, CDATA sections and processing instructions: its offset
// in `text` and the reference as written, or -1. pugixml would keep it as
// literal text in one place and as nothing in another; a document of this
// program never holds one, so the file is damaged.
qsizetype First_Entity_Reference(QByteArrayView text, QByteArray *reference)
{
    static constexpr std::string_view Predefined[] = {"lt;", "gt;", "amp;", "apos;", "quot;"};
    const auto skip_to = [&](qsizetype from, std::string_view end) {
        const qsizetype at = text.indexOf(QByteArrayView(end.data(), qsizetype(end.size())), from);
        return at < 0 ? text.size() : at + qsizetype(end.size());
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QByteArrayView rest = text.sliced(i);
        if (rest.startsWith("<!--")) {
            i = skip_to(i + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            i = skip_to(i + 9, "]]>");
        } else if (rest.startsWith("<?")) {
            i = skip_to(i + 2, "?>");
        } else if (text[i] == '&') {
            const QByteArrayView after = text.sliced(i + 1);
            bool known = after.startsWith("#");
            for (std::string_view name : Predefined)
                known = known || after.startsWith(QByteArrayView(name.data(), qsizetype(name.size())));
            if (!known) {
                const qsizetype end = text.indexOf(';', i);
                const qsizetype length = std::min<qsizetype>({end < 0 ? 16 : end - i + 1, 32, text.size() - i});
                *reference = text.sliced(i, length).toByteArray();
                return i;
            }
            ++i;
        } else {
            ++i;
        }
    }
    return -1;
}

struct Byte_Array_Writer : pugi::xml_writer
{
    QByteArray data;
    void write(const void *bytes, size_t size) override
    {
        data.append(static_cast<const char *>(bytes), qsizetype(size));
    }
};

// Line and column (both from 1) of the end of `before`, the text that
// precedes a place in the document; the column counts characters.
void Line_Column(QStringView before, int *line, int *column)
{
    *line = int(before.count(u'\n')) + 1;
    *column = int(before.size() - (before.lastIndexOf(u'\n') + 1)) + 1;
}

// The same for a byte offset into UTF-8 text.
void Line_Column(QByteArrayView utf8, qsizetype offset, int *line, int *column)
{
    offset = qBound<qsizetype>(0, offset, utf8.size());
    const QByteArrayView before = utf8.first(offset);
    const qsizetype line_start = before.lastIndexOf('\n') + 1;
    *line = int(before.count('\n')) + 1;
    *column = int(QString::fromUtf8(before.sliced(line_start)).size()) + 1;
}

QString Byte_Hex(char byte)
{
    return QStringLiteral("%1").arg(uchar(byte), 2, 16, QLatin1Char('0')).toUpper();
}

bool Is_Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The offset of the first byte of `text` that does not begin a well-formed
// UTF-8 sequence (an overlong form, a surrogate, a code point above U+10FFFF
// or a sequence cut short), or of its first NUL; -1 when there is none.
qsizetype First_Invalid_Utf8(QByteArrayView text)
{
    const auto *p = reinterpret_cast<const uchar *>(text.data());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // Eight bytes at a time while they are ASCII and none is NUL: most of
        // a document.
        constexpr quint64 Low = 0x0101010101010101ULL;
        constexpr quint64 High = 0x8080808080808080ULL;
        while (n - i >= 8) {
            quint64 v;
            std::memcpy(&v, p + i, 8);
            if ((v & High) != 0 || ((v - Low) & ~v & High) != 0)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const uchar c = p[i];
        if (c < 0x80) {
            if (c == 0)
                return i;
            ++i;
            continue;
        }
        int more = 0;
        uchar low = 0x80; // the bounds of the second byte
        uchar high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0)
                low = 0xA0; // overlong
            else if (c == 0xED)
                high = 0x9F; // a surrogate
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0)
                low = 0x90; // overlong
            else if (c == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return i;
        }
        if (n - i <= more || p[i + 1] < low || p[i + 1] > high)
            return i;
        for (int k = 2; k <= more; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
        i += more + 1;
    }
    return -1;
}

// The encoding that a byte-order mark at the start of `data` gives, and the
// mark's length.
std::optional<QStringConverter::Encoding> Byte_Order_Mark(QByteArrayView data, qsizetype *length)
{
    const auto starts = [&](const char *mark, qsizetype size) {
        return data.size() >= size && std::memcmp(data.data(), mark, size_t(size)) == 0;
    };
    if (starts("\xEF\xBB\xBF", 3))
        return *length = 3, QStringConverter::Utf8;
    if (starts("\xFF\xFE\0\0", 4))
        return *length = 4, QStringConverter::Utf32LE;
    if (starts("\0\0\xFE\xFF", 4))
        return *length = 4, QStringConverter::Utf32BE;
    if (starts("\xFF\xFE", 2))
        return *length = 2, QStringConverter::Utf16LE;
    if (starts("\xFE\xFF", 2))
        return *length = 2, QStringConverter::Utf16BE;
    return std::nullopt;
}

// The encoding name that an XML declaration at the start of `data` gives
// (blanks before it are allowed); null when there is no declaration or it
// names no encoding.
std::optional<QByteArray> Declared_Encoding(QByteArrayView data)
{
    qsizetype i = 0;
    while (i < data.size() && Is_Blank(data[i]))
        ++i;
    data = data.sliced(i);
    // "<?xml-stylesheet ...?>" is another instruction.
    if (!data.startsWith("<?xml") || data.size() < 6 || !Is_Blank(data[5]))
        return std::nullopt;
    const qsizetype end = data.indexOf("?>");
    if (end < 0)
        return std::nullopt;
    const QByteArrayView declaration = data.first(end);
    for (qsizetype at = declaration.indexOf("encoding"); at > 0; at = declaration.indexOf("encoding", at + 1)) {
        if (!Is_Blank(declaration[at - 1]))
            continue;
        qsizetype k = at + 8;
        while (k < declaration.size() && Is_Blank(declaration[k]))
            ++k;
        if (k >= declaration.size() || declaration[k] != '=')
            continue;
        ++k;
        while (k < declaration.size() && Is_Blank(declaration[k]))
            ++k;
        if (k >= declaration.size() || (declaration[k] != '"' && declaration[k] != '\''))
            continue;
        const qsizetype close = declaration.indexOf(declaration[k], k + 1);
        if (close < 0)
            continue;
        return declaration.sliced(k + 1, close - k - 1).toByteArray();
    }
    return std::nullopt;
}

// An encoding name as XML writes it: a letter, then letters, digits, ".",
// "_" and "-".
bool Is_Encoding_Name(QByteArrayView name)
{
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.isEmpty() || !letter(name[0]))
        return false;
    for (char c : name)
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '.' && c != '_' && c != '-')
            return false;
    return true;
}

// Where decoding stopped: the byte offset into the encoded data, and the
// text decoded before it (for the line and the column).
struct Decode_Error
{
    qsizetype Offset = -1;
    QString Before;
};

// Decodes UTF-16 or UTF-32 (the text after its mark): every code unit must
// belong to a character (no unpaired surrogate, nothing above U+10FFFF, no
// bytes left over). On a wrong unit, `error` tells where.
QString Decode_Utf16_32(QByteArrayView data, QStringConverter::Encoding encoding, Decode_Error *error)
{
    const bool wide = encoding == QStringConverter::Utf32LE || encoding == QStringConverter::Utf32BE;
    const bool big = encoding == QStringConverter::Utf16BE || encoding == QStringConverter::Utf32BE;
    const qsizetype unit = wide ? 4 : 2;
    const auto *p = reinterpret_cast<const uchar *>(data.data());
    const auto read = [&](qsizetype at) {
        char32_t value = 0;
        for (qsizetype k = 0; k < unit; ++k)
            value |= char32_t(p[at + k]) << (8 * (big ? unit - 1 - k : k));
        return value;
    };
    QString text;
    text.reserve(data.size() / unit);
    qsizetype i = 0;
    for (; i + unit <= data.size(); i += unit) {
        const char32_t c = read(i);
        if (c > 0x10FFFF || (c >= 0xDC00 && c <= 0xDFFF) || (wide && c >= 0xD800 && c <= 0xDBFF))
            break;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 2 * unit > data.size())
                break;
            const char32_t next = read(i + unit);
            if (next < 0xDC00 || next > 0xDFFF)
                break;
            text.append(QChar(char16_t(c))).append(QChar(char16_t(next)));
            i += unit;
            continue;
        }
        text.append(QChar::fromUcs4(c));
    }
    if (i < data.size())
        *error = Decode_Error{i, text};
    return text;
}

// Decodes `data` in the encoding `name`, which Qt's codecs know (neither
// UTF-8, -16, -32 nor Latin-1). On a byte invalid in it, `error` tells where.
QString Decode_Named(QByteArrayView data, const char *name, Decode_Error *error)
{
    QStringDecoder whole(name, QStringConverter::Flag::Stateless);
    const QString text = whole.decode(data);
    if (!whole.hasError())
        return text;
    // The decoder tells that a byte was wrong, not which: feed the bytes
    // one by one to find the first. A sequence cut short by the end of the
    // file shows only at the end.
    QStringDecoder step(name);
    QString before;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const QString piece = step.decode(data.sliced(i, 1));
        if (step.hasError()) {
            *error = Decode_Error{i, before};
            return text;
        }
        before += piece;
    }
    *error = Decode_Error{data.size() - 1, before};
    return text;
}

// An element that gives an attribute twice: its name, the attribute's, and
// the offset of the second one in the parsed text.
struct Repeated_Attribute
{
    const char *Element = nullptr;
    const char *Attribute = nullptr;
    qsizetype Offset = 0;
};

// The offset in `text` of the `occurrence`th attribute `name` of the start
// tag whose element name begins at `at`. The tag was parsed, so it is
// well-formed: name, blanks, "=", blanks, a quoted value.
qsizetype Attribute_Offset(QByteArrayView text, qsizetype at, const char *name, int occurrence)
{
    const qsizetype element = at;
    const auto skip_blanks = [&] {
        while (at < text.size() && Is_Blank(text[at]))
            ++at;
    };
    while (at < text.size() && !Is_Blank(text[at]) && text[at] != '/' && text[at] != '>')
        ++at;
    int seen = 0;
    for (;;) {
        skip_blanks();
        if (at >= text.size() || text[at] == '/' || text[at] == '>')
            break;
        const qsizetype start = at;
        while (at < text.size() && !Is_Blank(text[at]) && text[at] != '=')
            ++at;
        if (text.sliced(start, at - start) == QByteArrayView(name) && ++seen == occurrence)
            return start;
        skip_blanks();
        if (at < text.size() && text[at] == '=')
            ++at;
        skip_blanks();
        if (at >= text.size() || (text[at] != '"' && text[at] != '\''))
            break;
        at = text.indexOf(text[at], at + 1);
        if (at < 0)
            break;
        ++at;
    }
    return element;
}

bool Name_Less(const char *a, const char *b)
{
    return std::strcmp(a, b) < 0;
}

// The first element, in document order, that gives an attribute twice (a
// document XML calls not well-formed, which the library reads without a
// word, keeping the first value).
Repeated_Attribute Find_Repeated_Attribute(const pugi::xml_document &doc, QByteArrayView text)
{
    std::vector<const char *> names;
    pugi::xml_node node = doc.first_child();
    while (node) {
        if (node.type() == pugi::node_element && node.first_attribute() && node.first_attribute().next_attribute()) {
            names.clear();
            for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
                names.push_back(a.name());
            // A row has a handful of attributes; a hand-made element may
            // have thousands.
            const char *repeated = nullptr;
            if (names.size() <= 16) {
                // Names that differ in their first two bytes need no full
                // comparison: the rows of our documents never share them.
                for (size_t i = 0; i < names.size() && !repeated; ++i)
                    for (size_t k = i + 1; k < names.size() && !repeated; ++k)
                        if (names[i][0] == names[k][0] && (names[i][0] == 0 || names[i][1] == names[k][1]) &&
                            std::strcmp(names[i], names[k]) == 0)
                            repeated = names[i];
            } else {
                std::vector<const char *> sorted = names;
                std::sort(sorted.begin(), sorted.end(), Name_Less);
                for (const char *name : names) {
                    const auto range = std::equal_range(sorted.begin(), sorted.end(), name, Name_Less);
                    if (range.second - range.first > 1) {
                        repeated = name;
                        break;
                    }
                }
            }
            if (repeated) {
                const ptrdiff_t at = node.offset_debug();
                return Repeated_Attribute{node.name(), repeated,
                                          at < 0 ? 0 : Attribute_Offset(text, qsizetype(at), repeated, 2)};
            }
        }
        // The next node in document order.
        if (node.first_child()) {
            node = node.first_child();
        } else {
            while (node && !node.next_sibling())
                node = node.parent();
            if (node)
                node = node.next_sibling();
        }
    }
    return {};
}

} // namespace

Xml_Document::State Xml_Document::Damaged(const QString &path, int line, int column, const QString &reason)
{
    // One arg() call: a "%2" in the path must stay as it is.
    problem_ = Messages()
                   .Get(Msg_File_Damaged)
                   .arg(QDir::toNativeSeparators(path), QString::number(line), QString::number(column), reason);
    doc_.reset();
    return state_ = State::Damaged;
}

Xml_Document::State Xml_Document::Load(const QString &path)
{
    doc_.reset();
    problem_.clear();
    unreadable_ = false;
    // No path names no document (the EDE check compiles without rules).
    if (path.isEmpty())
        return state_ = State::Missing;
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return state_ = State::Missing;
    // A file that cannot be read (no right to, a pipe, far too large) is
    // unreadable, not damaged: its bytes were never seen.
    const Result<QByteArray> read = Read_File_Bounded(path, Document_Size_Limit);
    if (!read) {
        problem_ = read.Problem();
        unreadable_ = true;
        return state_ = State::Damaged;
    }
    const QByteArray &data = read.Value();
    const auto unknown = [&](const QString &name) {
        return Damaged(path, 1, 1, Messages().Get(Msg_Xml_Unknown_Encoding).arg(name));
    };

    // The encoding: a byte-order mark gives it (a declaration cannot change
    // it); else a declaration names it; else it is UTF-8.
    qsizetype mark = 0;
    std::optional<QStringConverter::Encoding> encoding = Byte_Order_Mark(data, &mark);
    QByteArray codec; // a declared encoding that only Qt's codecs decode
    QString encoding_name;
    if (encoding) {
        encoding_name = QString::fromLatin1(QStringConverter::nameForEncoding(*encoding));
    } else if (const std::optional<QByteArray> declared = Declared_Encoding(data)) {
        encoding_name = QString::fromLatin1(*declared);
        if (!Is_Encoding_Name(*declared))
            return unknown(encoding_name);
        encoding = QStringConverter::encodingForName(declared->constData());
        if (encoding == QStringConverter::System)
            return unknown(encoding_name);
        // The declaration was read as single bytes, so the file is not in
        // UTF-16 or UTF-32 (whose files begin with a mark besides).
        if (encoding && *encoding != QStringConverter::Utf8 && *encoding != QStringConverter::Latin1)
            return Damaged(path, 1, 1, Messages().Get(Msg_Xml_Encoding_Not_Used).arg(encoding_name));
        if (!encoding) {
            if (!QStringDecoder(declared->constData()).isValid())
                return unknown(encoding_name);
            codec = *declared;
        }
    }

    // The text to parse, in UTF-8: the file's own bytes when it is UTF-8,
    // else the file decoded.
    QByteArrayView text = QByteArrayView(data).sliced(mark);
    QByteArray converted;
    int line = 0;
    int column = 0;
    if (codec.isEmpty() && (!encoding || *encoding == QStringConverter::Utf8)) {
        const qsizetype bad = First_Invalid_Utf8(text);
        if (bad >= 0) {
            Line_Column(text, bad, &line, &column);
            if (text[bad] == 0)
                return Damaged(path, line, column, Messages().Get(Msg_Xml_Null_Character));
            const QString byte = Byte_Hex(text[bad]);
            return Damaged(path, line, column,
                           encoding_name.isEmpty() ? Messages().Get(Msg_Xml_Not_Utf8).arg(byte)
                                                   : Messages().Get(Msg_Xml_Invalid_Byte).arg(byte, encoding_name));
        }
    } else {
        Decode_Error error;
        QString decoded;
        if (!codec.isEmpty())
            decoded = Decode_Named(text, codec.constData(), &error);
        else if (*encoding == QStringConverter::Latin1)
            decoded = QString::fromLatin1(text); // every byte is a character
        else
            decoded = Decode_Utf16_32(text, *encoding, &error);
        if (error.Offset >= 0) {
            Line_Column(error.Before, &line, &column);
            return Damaged(path, line, column,
                           Messages().Get(Msg_Xml_Invalid_Byte).arg(Byte_Hex(text[error.Offset]), encoding_name));
        }
        if (const qsizetype nul = decoded.indexOf(QChar(0)); nul >= 0) {
            Line_Column(QStringView(decoded).first(nul), &line, &column);
            return Damaged(path, line, column, Messages().Get(Msg_Xml_Null_Character));
        }
        converted = decoded.toUtf8();
        text = converted;
    }

    const pugi::xml_parse_result result = doc_.load_buffer(
        text.data(), size_t(text.size()), pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8);
    if (!result) {
        Line_Column(text, qsizetype(result.offset), &line, &column);
        return Damaged(path, line, column, QString::fromUtf8(result.description()));
    }
    if (QByteArray reference; text.contains('&')) {
        if (const qsizetype at = First_Entity_Reference(text, &reference); at >= 0) {
            Line_Column(text, at, &line, &column);
            return Damaged(path, line, column, Messages().Get(Msg_Xml_Entity).arg(QString::fromUtf8(reference)));
        }
    }
    if (const Repeated_Attribute repeated = Find_Repeated_Attribute(doc_, text); repeated.Element) {
        Line_Column(text, repeated.Offset, &line, &column);
        // The names live in the document, which Damaged() discards.
        const QString reason = Messages()
                                   .Get(Msg_Xml_Attribute_Twice)
                                   .arg(QString::fromUtf8(repeated.Element), QString::fromUtf8(repeated.Attribute));
        return Damaged(path, line, column, reason);
    }
    return state_ = State::Loaded;
}

pugi::xml_node Xml_Document::Root() const
{
    return doc_.document_element();
}

pugi::xml_node Xml_Document::Begin(const char *root_name, bool version_comment)
{
    doc_.reset();
    pugi::xml_node root = doc_.append_child(root_name);
    if (version_comment)
        doc_.append_child(pugi::node_comment).set_value(Document_Version_Comment);
    state_ = State::Loaded;
    problem_.clear();
    return root;
}

QByteArray Xml_Document::Serialise() const
{
    Byte_Array_Writer writer;
    doc_.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    // The library writes a carriage return inside a text as it is, and every
    // reader turns it into a line feed: written as a character reference it
    // reads back as itself. (Attributes have theirs escaped already, and the
    // raw form has no line ends of its own.)
    writer.data.replace("\r", "&#13;");
    return writer.data;
}

Result<> Xml_Document::Save(const QString &path) const
{
    return Write_File_Atomic(path, Serialise());
}

QString Node_Text(pugi::xml_node node)
{
    // The whole text of the element, as a DOM gives it: every text and CDATA
    // piece inside it in document order, so a hand edit that put a comment
    // in the middle of a value does not cut it short.
    const pugi::xml_node first = node.first_child();
    if (first && !first.next_sibling() && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return QString::fromUtf8(first.value());
    QByteArray text;
    struct Collector : pugi::xml_tree_walker
    {
        QByteArray *text;
        bool for_each(pugi::xml_node &n) override
        {
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
                text->append(n.value());
            return true;
        }
    } collector;
    collector.text = &text;
    node.traverse(collector);
    return QString::fromUtf8(text);
}

bool Child_Text(pugi::xml_node parent, const char *name, QString *text)
{
    if (!parent)
        return false;
    const pugi::xml_node child = parent.child(name);
    if (!child)
        return false;
    *text = Node_Text(child);
    return true;
}

QString Child_Text_Def(pugi::xml_node parent, const char *name, const QString &fallback)
{
    QString text;
    return Child_Text(parent, name, &text) ? text : fallback;
}

bool Attr_Text(pugi::xml_node node, const char *name, QString *text)
{
    if (!node)
        return false;
    const pugi::xml_attribute attr = node.attribute(name);
    if (!attr)
        return false;
    *text = QString::fromUtf8(attr.value());
    return true;
}

QString Attr_Text_Def(pugi::xml_node node, const char *name, const QString &fallback)
{
    QString text;
    return Attr_Text(node, name, &text) ? text : fallback;
}

pugi::xml_node Add_Key(pugi::xml_node parent, const char *name, const QString &text)
{
    pugi::xml_node node = parent.append_child(name);
    if (!text.isEmpty())
        node.text().set(text.toUtf8().constData());
    return node;
}

void Add_Attr(pugi::xml_node node, const char *name, const QString &text)
{
    node.append_attribute(name).set_value(text.toUtf8().constData());
}
