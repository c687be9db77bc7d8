#include "bacnet/bacnet_codec.h"

#include <QStringDecoder>
#include <bit>
#include <cstring>

namespace bacnet {

namespace {

using Kind = BACnet_Value::Kind;

void Append_Big_Endian(QByteArray &out, std::uint64_t value, int octets)
{
    for (int i = octets - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

int Unsigned_Octets(std::uint64_t value)
{
    int octets = 1;
    while (octets < 8 && (value >> (8 * octets)) != 0)
        ++octets;
    return octets;
}

int Signed_Octets(std::int64_t value)
{
    int octets = 1;
    while (octets < 8) {
        const std::int64_t low = -(std::int64_t(1) << (8 * octets - 1));
        const std::int64_t high = (std::int64_t(1) << (8 * octets - 1)) - 1;
        if (value >= low && value <= high)
            break;
        ++octets;
    }
    return octets;
}

// The contents of a primitive (no tag), and the tag number that marks it.
QByteArray Contents(const BACnet_Value &value, int *tag)
{
    QByteArray c;
    switch (value.kind) {
    case Kind::Null:
        *tag = Tag_Null;
        break;
    case Kind::Boolean:
        *tag = Tag_Boolean;
        c.append(char(value.u ? 1 : 0));
        break;
    case Kind::Unsigned:
        *tag = Tag_Unsigned;
        Append_Big_Endian(c, value.u, Unsigned_Octets(value.u));
        break;
    case Kind::Signed:
        *tag = Tag_Signed;
        Append_Big_Endian(c, std::uint64_t(value.s), Signed_Octets(value.s));
        break;
    case Kind::Real:
        *tag = Tag_Real;
        Append_Big_Endian(c, std::bit_cast<std::uint32_t>(float(value.d)), 4);
        break;
    case Kind::Double:
        *tag = Tag_Double;
        Append_Big_Endian(c, std::bit_cast<std::uint64_t>(value.d), 8);
        break;
    case Kind::Octet_String:
        *tag = Tag_Octet_String;
        c = value.bytes;
        break;
    case Kind::Character_String:
        *tag = Tag_Character_String;
        c.append(char(0)); // UTF-8
        c.append(value.text.toUtf8());
        break;
    case Kind::Bit_String: {
        *tag = Tag_Bit_String;
        const int octets = (value.bits + 7) / 8;
        c.append(char(octets * 8 - value.bits));
        c.append(value.bytes.left(octets));
        while (c.size() < octets + 1)
            c.append(char(0));
        break;
    }
    case Kind::Enumerated:
        *tag = Tag_Enumerated;
        Append_Big_Endian(c, value.u, Unsigned_Octets(value.u));
        break;
    case Kind::Date:
        *tag = Tag_Date;
        Append_Big_Endian(c, value.u, 4);
        break;
    case Kind::Time:
        *tag = Tag_Time;
        Append_Big_Endian(c, value.u, 4);
        break;
    case Kind::Object_Id:
        *tag = Tag_Object_Id;
        Append_Big_Endian(c, value.u, 4);
        break;
    }
    return c;
}

std::uint64_t Read_Big_Endian(const char *data, std::uint32_t length)
{
    std::uint64_t v = 0;
    for (std::uint32_t i = 0; i < length; ++i)
        v = (v << 8) | std::uint8_t(data[i]);
    return v;
}

Kind Kind_Of_Tag(int tag)
{
    return Kind(tag); // the application tags are numbered as the kinds
}

} // namespace

void Append_Tag(QByteArray &out, int number, bool context, std::uint32_t length)
{
    std::uint8_t first = context ? 0x08 : 0x00;
    first |= std::uint8_t(number <= 14 ? number << 4 : 0xF0);
    first |= std::uint8_t(length <= 4 ? length : 5);
    out.append(char(first));
    if (number > 14)
        out.append(char(number));
    if (length <= 4)
        return;
    if (length <= 253) {
        out.append(char(length));
    } else if (length <= 0xFFFF) {
        out.append(char(254));
        Append_Big_Endian(out, length, 2);
    } else {
        out.append(char(255));
        Append_Big_Endian(out, length, 4);
    }
}

void Append_Opening(QByteArray &out, int number)
{
    out.append(char(number <= 14 ? (number << 4) | 0x0E : 0xFE));
    if (number > 14)
        out.append(char(number));
}

void Append_Closing(QByteArray &out, int number)
{
    out.append(char(number <= 14 ? (number << 4) | 0x0F : 0xFF));
    if (number > 14)
        out.append(char(number));
}

void Append_Value(QByteArray &out, const BACnet_Value &value)
{
    int tag = 0;
    const QByteArray c = Contents(value, &tag);
    if (value.kind == Kind::Boolean) {
        Append_Tag(out, Tag_Boolean, false, value.u ? 1 : 0);
        return;
    }
    Append_Tag(out, tag, false, std::uint32_t(c.size()));
    out.append(c);
}

void Append_Context(QByteArray &out, int number, const BACnet_Value &value)
{
    int tag = 0;
    const QByteArray c = Contents(value, &tag);
    Append_Tag(out, number, true, std::uint32_t(c.size()));
    out.append(c);
}

void Append_Context_Unsigned(QByteArray &out, int number, std::uint64_t value)
{
    Append_Context(out, number, BACnet_Value::Of_Unsigned(value));
}

void Append_Context_Enumerated(QByteArray &out, int number, std::uint32_t value)
{
    Append_Context(out, number, BACnet_Value::Of_Enumerated(value));
}

void Append_Context_Object_Id(QByteArray &out, int number, std::uint32_t id)
{
    BACnet_Value v;
    v.kind = Kind::Object_Id;
    v.u = id;
    Append_Context(out, number, v);
}

std::optional<BACnet_Value> Decode_Contents(Kind kind, const char *data, std::uint32_t length)
{
    BACnet_Value v;
    v.kind = kind;
    switch (kind) {
    case Kind::Null:
        if (length != 0)
            return std::nullopt;
        break;
    case Kind::Boolean:
        if (length != 1 || std::uint8_t(data[0]) > 1)
            return std::nullopt;
        v.u = std::uint8_t(data[0]);
        break;
    case Kind::Unsigned:
    case Kind::Enumerated:
        if (length < 1 || length > 8)
            return std::nullopt;
        v.u = Read_Big_Endian(data, length);
        break;
    case Kind::Signed: {
        if (length < 1 || length > 8)
            return std::nullopt;
        const std::uint64_t raw = Read_Big_Endian(data, length);
        const int shift = 64 - 8 * int(length);
        v.s = shift == 0 ? std::int64_t(raw) : std::int64_t(raw << shift) >> shift;
        break;
    }
    case Kind::Real:
        if (length != 4)
            return std::nullopt;
        v.d = std::bit_cast<float>(std::uint32_t(Read_Big_Endian(data, 4)));
        break;
    case Kind::Double:
        if (length != 8)
            return std::nullopt;
        v.d = std::bit_cast<double>(Read_Big_Endian(data, 8));
        break;
    case Kind::Octet_String:
        v.bytes = QByteArray(data, qsizetype(length));
        break;
    case Kind::Character_String: {
        if (length < 1)
            return std::nullopt;
        const QByteArray text(data + 1, qsizetype(length - 1));
        switch (std::uint8_t(data[0])) {
        case 0: { // UTF-8
            QStringDecoder utf8(QStringDecoder::Utf8);
            v.text = utf8.decode(text);
            if (utf8.hasError())
                return std::nullopt;
            break;
        }
        case 4: // UCS-2, high octet first
            if (text.size() % 2)
                return std::nullopt;
            for (qsizetype i = 0; i < text.size(); i += 2)
                v.text.append(QChar(char16_t((std::uint8_t(text[i]) << 8) | std::uint8_t(text[i + 1]))));
            break;
        case 5: // ISO 8859-1
            v.text = QString::fromLatin1(text);
            break;
        default:
            return std::nullopt;
        }
        break;
    }
    case Kind::Bit_String: {
        if (length < 1 || std::uint8_t(data[0]) > 7 || (length == 1 && data[0] != 0))
            return std::nullopt;
        v.bytes = QByteArray(data + 1, qsizetype(length - 1));
        v.bits = int(length - 1) * 8 - std::uint8_t(data[0]);
        break;
    }
    case Kind::Date:
    case Kind::Time:
    case Kind::Object_Id:
        if (length != 4)
            return std::nullopt;
        v.u = Read_Big_Endian(data, 4);
        break;
    }
    return v;
}

Tag_Reader::Tag_Reader(const QByteArray &bytes, int from, int to)
    : bytes_(bytes)
    , pos_(from)
    , end_(to < 0 ? int(bytes.size()) : to)
{}

std::optional<Tag> Tag_Reader::Peek() const
{
    if (pos_ >= end_)
        return std::nullopt;
    const char *p = bytes_.constData();
    int at = pos_;
    const std::uint8_t first = std::uint8_t(p[at++]);
    Tag t;
    t.context = (first & 0x08) != 0;
    t.number = first >> 4;
    if (t.number == 15) {
        if (at >= end_)
            return std::nullopt;
        t.number = std::uint8_t(p[at++]);
        if (t.number == 255)
            return std::nullopt; // reserved
    }
    const int lvt = first & 0x07;
    if (t.context && lvt == 6) {
        t.opening = true;
    } else if (t.context && lvt == 7) {
        t.closing = true;
    } else if (!t.context && t.number == Tag_Boolean) {
        if (lvt > 1)
            return std::nullopt;
        t.length = std::uint32_t(lvt); // the value itself
    } else if (lvt < 5) {
        t.length = std::uint32_t(lvt);
    } else if (lvt == 5) {
        if (at >= end_)
            return std::nullopt;
        const std::uint8_t ext = std::uint8_t(p[at++]);
        if (ext < 254) {
            t.length = ext;
        } else {
            const int octets = ext == 254 ? 2 : 4;
            if (end_ - at < octets)
                return std::nullopt;
            t.length = std::uint32_t(Read_Big_Endian(p + at, std::uint32_t(octets)));
            at += octets;
        }
    } else {
        return std::nullopt; // opening/closing form of an application tag
    }
    t.header = at - pos_;
    const bool carries_contents = !t.opening && !t.closing && (t.context || t.number != Tag_Boolean);
    if (carries_contents && std::uint32_t(end_ - at) < t.length)
        return std::nullopt;
    return t;
}

bool Tag_Reader::Next_Is_Context(int number) const
{
    const auto t = Peek();
    return t && t->context && !t->opening && !t->closing && t->number == number;
}

bool Tag_Reader::Next_Is_Opening(int number) const
{
    const auto t = Peek();
    return t && t->opening && t->number == number;
}

bool Tag_Reader::Next_Is_Closing(int number) const
{
    const auto t = Peek();
    return t && t->closing && t->number == number;
}

bool Tag_Reader::Read_Opening(int number)
{
    const auto t = Peek();
    if (!t || !t->opening || t->number != number)
        return false;
    pos_ += t->header;
    return true;
}

bool Tag_Reader::Read_Closing(int number)
{
    const auto t = Peek();
    if (!t || !t->closing || t->number != number)
        return false;
    pos_ += t->header;
    return true;
}

std::optional<BACnet_Value> Tag_Reader::Read_Value()
{
    const auto t = Peek();
    if (!t || t->context || t->number > Tag_Object_Id)
        return std::nullopt;
    if (t->number == Tag_Boolean) {
        pos_ += t->header;
        return BACnet_Value::Of_Boolean(t->length != 0);
    }
    auto v = Decode_Contents(Kind_Of_Tag(t->number), bytes_.constData() + pos_ + t->header, t->length);
    if (v)
        pos_ += t->header + int(t->length);
    return v;
}

std::optional<BACnet_Value> Tag_Reader::Read_Context(int number, Kind kind)
{
    const auto t = Peek();
    if (!t || !t->context || t->opening || t->closing || t->number != number)
        return std::nullopt;
    auto v = Decode_Contents(kind, bytes_.constData() + pos_ + t->header, t->length);
    if (v)
        pos_ += t->header + int(t->length);
    return v;
}

std::optional<std::uint64_t> Tag_Reader::Read_Context_Unsigned(int number)
{
    const auto v = Read_Context(number, Kind::Unsigned);
    if (!v)
        return std::nullopt;
    return v->u;
}

std::optional<std::uint32_t> Tag_Reader::Read_Context_Object_Id(int number)
{
    const auto v = Read_Context(number, Kind::Object_Id);
    if (!v)
        return std::nullopt;
    return std::uint32_t(v->u);
}

bool Tag_Reader::Skip()
{
    int depth = 0;
    do {
        const auto t = Peek();
        if (!t)
            return false;
        pos_ += t->header;
        if (t->opening) {
            ++depth;
        } else if (t->closing) {
            if (--depth < 0)
                return false;
        } else if (t->context || t->number != Tag_Boolean) {
            pos_ += int(t->length);
        }
    } while (depth > 0);
    return true;
}

} // namespace bacnet
