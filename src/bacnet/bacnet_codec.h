#pragma once

#include "bacnet/bacnet_value.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

// The tagged encoding of the protocol's values: a tag octet (tag number,
// class, length/value/type), extended numbers and lengths, opening and
// closing tags, and the contents of the primitive types. Writing appends to
// a QByteArray; reading goes through a Tag_Reader that never reads past its
// buffer and fails instead.
namespace bacnet {

enum Application_Tag : int {
    Tag_Null = 0,
    Tag_Boolean = 1,
    Tag_Unsigned = 2,
    Tag_Signed = 3,
    Tag_Real = 4,
    Tag_Double = 5,
    Tag_Octet_String = 6,
    Tag_Character_String = 7,
    Tag_Bit_String = 8,
    Tag_Enumerated = 9,
    Tag_Date = 10,
    Tag_Time = 11,
    Tag_Object_Id = 12,
};

// The object identifier of `type` and `instance` (type in the high 10 bits).
inline std::uint32_t Object_Id(int type, std::uint32_t instance)
{
    return (std::uint32_t(type) << 22) | (instance & 0x3FFFFF);
}
inline int Object_Id_Type(std::uint32_t id)
{
    return int(id >> 22);
}
inline std::uint32_t Object_Id_Instance(std::uint32_t id)
{
    return id & 0x3FFFFF;
}

void Append_Tag(QByteArray &out, int number, bool context, std::uint32_t length);
void Append_Opening(QByteArray &out, int number);
void Append_Closing(QByteArray &out, int number);
// An application-tagged value.
void Append_Value(QByteArray &out, const BACnet_Value &value);
// A primitive value under context tag `number` (a context boolean takes one
// content octet).
void Append_Context(QByteArray &out, int number, const BACnet_Value &value);
void Append_Context_Unsigned(QByteArray &out, int number, std::uint64_t value);
void Append_Context_Enumerated(QByteArray &out, int number, std::uint32_t value);
void Append_Context_Object_Id(QByteArray &out, int number, std::uint32_t id);

struct Tag
{
    int number = 0;
    bool context = false;
    bool opening = false;
    bool closing = false;
    std::uint32_t length = 0; // of the contents; an application boolean's value
    int header = 0;           // octets of the tag itself
};

class Tag_Reader
{
public:
    explicit Tag_Reader(const QByteArray &bytes, int from = 0, int to = -1);

    bool At_End() const { return pos_ >= end_; }
    int Position() const { return pos_; }
    // The next tag, not consumed; none at the end or when it is malformed.
    std::optional<Tag> Peek() const;
    bool Next_Is_Context(int number) const;
    bool Next_Is_Opening(int number) const;
    bool Next_Is_Closing(int number) const;

    bool Read_Opening(int number);
    bool Read_Closing(int number);
    // An application-tagged value; none when the tag is not one or is malformed.
    std::optional<BACnet_Value> Read_Value();
    // The primitive under context tag `number` read as `kind`.
    std::optional<BACnet_Value> Read_Context(int number, BACnet_Value::Kind kind);
    std::optional<std::uint64_t> Read_Context_Unsigned(int number);
    std::optional<std::uint32_t> Read_Context_Object_Id(int number);
    // Skips one tagged item; an opening tag with everything up to its
    // closing tag. False when malformed.
    bool Skip();

private:
    const QByteArray &bytes_;
    int pos_;
    int end_;
};

// The contents of a primitive of `kind` (`length` octets at `data`); none
// when the length does not suit the kind or the text's character set is
// not known.
std::optional<BACnet_Value> Decode_Contents(BACnet_Value::Kind kind, const char *data, std::uint32_t length);

} // namespace bacnet
