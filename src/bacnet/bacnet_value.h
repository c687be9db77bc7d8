#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// One application-tagged value, as the protocol carries it.
struct BACnet_Value
{
    enum class Kind : std::uint8_t {
        Null,
        Boolean,
        Unsigned,
        Signed,
        Real,
        Double,
        Octet_String,
        Character_String,
        Bit_String,
        Enumerated,
        Date,
        Time,
        Object_Id,
    };
    Kind kind = Kind::Null;
    std::uint64_t u = 0; // Boolean, Unsigned, Enumerated, Object_Id (type << 22 | instance), Date, Time (4 octets)
    std::int64_t s = 0;  // Signed
    double d = 0;        // Real, Double
    QByteArray bytes;    // Octet_String; Bit_String: the bits, first bit the high bit of byte 0
    int bits = 0;        // Bit_String: how many bits
    QString text;        // Character_String

    static BACnet_Value Null_Value() { return {}; }
    static BACnet_Value Of_Boolean(bool v);
    static BACnet_Value Of_Unsigned(std::uint64_t v);
    static BACnet_Value Of_Signed(std::int64_t v);
    static BACnet_Value Of_Real(float v);
    static BACnet_Value Of_Double(double v);
    static BACnet_Value Of_Enumerated(std::uint32_t v);
    static BACnet_Value Of_Text(const QString &v);
    static BACnet_Value Of_Octets(const QByteArray &v);
    static BACnet_Value Of_Object_Id(int type, std::uint32_t instance);
    static BACnet_Value Of_Bits(int count, const QByteArray &bits);

    // For people: "72", "-3", "active"-free plain numbers, "null", quoted texts.
    QString Text() const;

    bool operator==(const BACnet_Value &) const = default;
};
