#include "bacnet/value_rule.h"

#include "bacnet/converter_messages.h"
#include "core/messages.h"
#include "core/object_catalogue.h"

#include <cmath>
#include <limits>

// The rule, for every type:
// - An object's integer is its Length bytes from its Position, least
//   significant byte first, unsigned (Length taken as 1 to 4, 1 to 8 for a
//   large analog value); for an integer value it is signed (two's
//   complement over its Length). A byte past the area's end reads as zero.
// - A binary object is the bit Start Bit of the byte at Position
//   (0 inactive, 1 active).
// - Analog input, output and value: a REAL of the integer's value; a large
//   analog value: a Double of it. A written analog value is rounded to the
//   nearest integer, and refused when it lies outside the Length's range.
// - Positive integer value, accumulator: Unsigned; integer value: Signed.
// - Multi-state objects: Unsigned, clamped to 1 .. Number_Of_States.
// - Life safety point and zone, access door: Enumerated, the integer itself.
// - Character string value: the Length bytes up to the first zero, one
//   character a byte (ISO 8859-1); octet string: the Length bytes.
// - Date-time value: nothing in the bytes; an unspecified date and time.

namespace {

using Kind = BACnet_Value::Kind;

Object_Kind Kind_Of(const Served_Object &o)
{
    return Object_Kind(o.kind);
}

bool Is_Multi_State(Object_Kind k)
{
    return k == Object_Kind::Multi_State_Input || k == Object_Kind::Multi_State_Output ||
           k == Object_Kind::Multi_State_Value;
}

int Octets_Of(const Served_Object &o)
{
    const int most = Kind_Of(o) == Object_Kind::Large_Analog_Value ? 8 : 4;
    return o.length < 1 ? 1 : (o.length > most ? most : int(o.length));
}

std::uint64_t Read_Integer(const Served_Object &o, const Data_Areas &areas)
{
    const auto &area = areas.Of(o);
    std::uint64_t v = 0;
    const int octets = Octets_Of(o);
    for (int i = octets - 1; i >= 0; --i) {
        const std::uint64_t at = std::uint64_t(o.position) + std::uint64_t(i);
        v = (v << 8) | (at < area.size() ? area[at] : 0);
    }
    return v;
}

void Write_Integer(const Served_Object &o, std::uint64_t v, Data_Areas &areas)
{
    auto &area = areas.Of(o);
    const int octets = Octets_Of(o);
    for (int i = 0; i < octets; ++i) {
        const std::uint64_t at = std::uint64_t(o.position) + std::uint64_t(i);
        if (at < area.size())
            area[at] = std::uint8_t(v >> (8 * i));
    }
}

std::uint64_t Largest(const Served_Object &o)
{
    const int octets = Octets_Of(o);
    return octets == 8 ? std::numeric_limits<std::uint64_t>::max() : (std::uint64_t(1) << (8 * octets)) - 1;
}

std::int64_t Signed_Of(const Served_Object &o, std::uint64_t raw)
{
    const int shift = 64 - 8 * Octets_Of(o);
    return shift == 0 ? std::int64_t(raw) : std::int64_t(raw << shift) >> shift;
}

bool Fits_Signed(const Served_Object &o, std::int64_t v)
{
    const int bits = 8 * Octets_Of(o);
    if (bits >= 64)
        return true;
    const std::int64_t low = -(std::int64_t(1) << (bits - 1));
    return v >= low && v <= -low - 1;
}

int Text_Octets(const Served_Object &o)
{
    return int(o.length);
}

} // namespace

BACnet_Value::Kind Present_Value_Kind(const Served_Object &o)
{
    switch (Kind_Of(o)) {
    case Object_Kind::Analog_Input:
    case Object_Kind::Analog_Out:
    case Object_Kind::Analog_Value:
        return Kind::Real;
    case Object_Kind::Large_Analog_Value:
        return Kind::Double;
    case Object_Kind::Binary_Input:
    case Object_Kind::Binary_Out:
    case Object_Kind::Binary_Value:
    case Object_Kind::Life_Safety_Point:
    case Object_Kind::Life_Safety_Zone:
    case Object_Kind::Access_Door:
        return Kind::Enumerated;
    case Object_Kind::Integer_Value:
        return Kind::Signed;
    case Object_Kind::Datetime_Value:
        return Kind::Date;
    case Object_Kind::Characterstring_Value:
        return Kind::Character_String;
    case Object_Kind::Octet_String:
        return Kind::Octet_String;
    default:
        return Kind::Unsigned;
    }
}

std::uint32_t Number_Of_States(const Served_Object &o)
{
    return o.length <= 1 ? 255 : 65535;
}

BACnet_Value Relinquish_Default(const Served_Object &o)
{
    switch (Present_Value_Kind(o)) {
    case Kind::Real:
        return BACnet_Value::Of_Real(0);
    case Kind::Enumerated:
        return BACnet_Value::Of_Enumerated(0);
    default:
        return BACnet_Value::Of_Unsigned(Is_Multi_State(Kind_Of(o)) ? 1 : 0);
    }
}

BACnet_Value Read_Present_Value(const Served_Object &o, const Data_Areas &areas)
{
    const Object_Kind k = Kind_Of(o);
    const auto &area = areas.Of(o);
    switch (Present_Value_Kind(o)) {
    case Kind::Real:
        return BACnet_Value::Of_Real(float(Read_Integer(o, areas)));
    case Kind::Double:
        return BACnet_Value::Of_Double(double(Read_Integer(o, areas)));
    case Kind::Signed:
        return BACnet_Value::Of_Signed(Signed_Of(o, Read_Integer(o, areas)));
    case Kind::Enumerated:
        if (Object_Type_Of(k).binary) {
            const std::uint8_t byte = o.position < area.size() ? area[o.position] : 0;
            return BACnet_Value::Of_Enumerated((byte >> (o.start_bit & 7)) & 1);
        }
        return BACnet_Value::Of_Enumerated(std::uint32_t(Read_Integer(o, areas)));
    case Kind::Date: {
        BACnet_Value v;
        v.kind = Kind::Date;
        v.u = 0xFFFFFFFF;
        return v;
    }
    case Kind::Character_String: {
        QByteArray bytes;
        for (int i = 0; i < Text_Octets(o) && o.position + std::uint64_t(i) < area.size(); ++i) {
            const std::uint8_t c = area[o.position + std::size_t(i)];
            if (c == 0)
                break;
            bytes.append(char(c));
        }
        return BACnet_Value::Of_Text(QString::fromLatin1(bytes));
    }
    case Kind::Octet_String: {
        QByteArray bytes;
        for (int i = 0; i < Text_Octets(o); ++i) {
            const std::uint64_t at = o.position + std::uint64_t(i);
            bytes.append(char(at < area.size() ? area[at] : 0));
        }
        return BACnet_Value::Of_Octets(bytes);
    }
    default: {
        std::uint64_t v = Read_Integer(o, areas);
        if (Is_Multi_State(k))
            v = v < 1 ? 1 : (v > Number_Of_States(o) ? Number_Of_States(o) : v);
        return BACnet_Value::Of_Unsigned(v);
    }
    }
}

Store_Outcome Store_Present_Value(const Served_Object &o, const BACnet_Value &value, Data_Areas &areas)
{
    const Object_Kind k = Kind_Of(o);
    const Kind want = Present_Value_Kind(o);
    if (value.kind != want || want == Kind::Date)
        return Store_Outcome::Wrong_Type;
    auto &area = areas.Of(o);
    switch (want) {
    case Kind::Real:
    case Kind::Double: {
        if (!std::isfinite(value.d))
            return Store_Outcome::Out_Of_Range;
        const double rounded = std::nearbyint(value.d);
        if (rounded < 0 || rounded > double(Largest(o)) || rounded >= 18446744073709551616.0)
            return Store_Outcome::Out_Of_Range;
        Write_Integer(o, std::uint64_t(rounded), areas);
        return Store_Outcome::Stored;
    }
    case Kind::Signed:
        if (!Fits_Signed(o, value.s))
            return Store_Outcome::Out_Of_Range;
        Write_Integer(o, std::uint64_t(value.s), areas);
        return Store_Outcome::Stored;
    case Kind::Enumerated:
        if (Object_Type_Of(k).binary) {
            if (value.u > 1)
                return Store_Outcome::Out_Of_Range;
            if (o.position < area.size()) {
                const std::uint8_t mask = std::uint8_t(1u << (o.start_bit & 7));
                area[o.position] = value.u ? (area[o.position] | mask) : (area[o.position] & ~mask);
            }
            return Store_Outcome::Stored;
        }
        [[fallthrough]];
    case Kind::Unsigned:
        if (value.u > Largest(o))
            return Store_Outcome::Out_Of_Range;
        if (Is_Multi_State(k) && (value.u < 1 || value.u > Number_Of_States(o)))
            return Store_Outcome::Out_Of_Range;
        Write_Integer(o, value.u, areas);
        return Store_Outcome::Stored;
    case Kind::Character_String:
    case Kind::Octet_String: {
        QByteArray bytes = value.bytes;
        if (want == Kind::Character_String) {
            for (const QChar c : value.text)
                if (c.unicode() > 0xFF || c.unicode() == 0)
                    return Store_Outcome::Out_Of_Range;
            bytes = value.text.toLatin1();
        }
        if (bytes.size() > Text_Octets(o))
            return Store_Outcome::Out_Of_Range;
        for (int i = 0; i < Text_Octets(o); ++i) {
            const std::uint64_t at = o.position + std::uint64_t(i);
            if (at < area.size())
                area[at] = i < bytes.size() ? std::uint8_t(bytes[i]) : 0;
        }
        return Store_Outcome::Stored;
    }
    default:
        return Store_Outcome::Wrong_Type;
    }
}

QString Value_Rule_Text()
{
    return Messages().Get(Msg_VC_Value_Rule);
}

Store_Outcome Store_Raw(const Served_Object &o, std::int64_t raw, Data_Areas &areas)
{
    switch (Present_Value_Kind(o)) {
    case Kind::Signed:
        return Store_Present_Value(o, BACnet_Value::Of_Signed(raw), areas);
    case Kind::Date:
    case Kind::Character_String:
    case Kind::Octet_String:
        return Store_Outcome::Wrong_Type;
    default:
        break;
    }
    if (raw < 0 || std::uint64_t(raw) > Largest(o))
        return Store_Outcome::Out_Of_Range;
    if (Object_Type_Of(Kind_Of(o)).binary)
        return Store_Present_Value(o, BACnet_Value::Of_Enumerated(std::uint32_t(raw)), areas);
    // The integer as it is: a multi-state object's 0 is stored, and shown clamped.
    Write_Integer(o, std::uint64_t(raw), areas);
    return Store_Outcome::Stored;
}
