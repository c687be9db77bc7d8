#include "bacnet/bacnet_value.h"

BACnet_Value BACnet_Value::Of_Boolean(bool v)
{
    BACnet_Value r;
    r.kind = Kind::Boolean;
    r.u = v ? 1 : 0;
    return r;
}

BACnet_Value BACnet_Value::Of_Unsigned(std::uint64_t v)
{
    BACnet_Value r;
    r.kind = Kind::Unsigned;
    r.u = v;
    return r;
}

BACnet_Value BACnet_Value::Of_Signed(std::int64_t v)
{
    BACnet_Value r;
    r.kind = Kind::Signed;
    r.s = v;
    return r;
}

BACnet_Value BACnet_Value::Of_Real(float v)
{
    BACnet_Value r;
    r.kind = Kind::Real;
    r.d = double(v);
    return r;
}

BACnet_Value BACnet_Value::Of_Double(double v)
{
    BACnet_Value r;
    r.kind = Kind::Double;
    r.d = v;
    return r;
}

BACnet_Value BACnet_Value::Of_Enumerated(std::uint32_t v)
{
    BACnet_Value r;
    r.kind = Kind::Enumerated;
    r.u = v;
    return r;
}

BACnet_Value BACnet_Value::Of_Text(const QString &v)
{
    BACnet_Value r;
    r.kind = Kind::Character_String;
    r.text = v;
    return r;
}

BACnet_Value BACnet_Value::Of_Octets(const QByteArray &v)
{
    BACnet_Value r;
    r.kind = Kind::Octet_String;
    r.bytes = v;
    return r;
}

BACnet_Value BACnet_Value::Of_Object_Id(int type, std::uint32_t instance)
{
    BACnet_Value r;
    r.kind = Kind::Object_Id;
    r.u = (std::uint64_t(type) << 22) | (instance & 0x3FFFFF);
    return r;
}

BACnet_Value BACnet_Value::Of_Bits(int count, const QByteArray &bits)
{
    BACnet_Value r;
    r.kind = Kind::Bit_String;
    r.bits = count;
    r.bytes = bits;
    return r;
}

QString BACnet_Value::Text() const
{
    switch (kind) {
    case Kind::Null:
        return QStringLiteral("null");
    case Kind::Boolean:
        return u ? QStringLiteral("true") : QStringLiteral("false");
    case Kind::Unsigned:
    case Kind::Enumerated:
        return QString::number(u);
    case Kind::Signed:
        return QString::number(s);
    case Kind::Real:
    case Kind::Double:
        return QString::number(d, 'g', kind == Kind::Real ? 9 : 17);
    case Kind::Octet_String:
        return QString::fromLatin1(bytes.toHex());
    case Kind::Character_String:
        return QLatin1Char('"') + text + QLatin1Char('"');
    case Kind::Bit_String: {
        QString t;
        for (int i = 0; i < bits; ++i)
            t.append((std::uint8_t(i / 8 < bytes.size() ? bytes.at(i / 8) : 0) >> (7 - i % 8)) & 1 ? u'1' : u'0');
        return t;
    }
    case Kind::Date:
    case Kind::Time:
        return QStringLiteral("%1").arg(u, 8, 16, QLatin1Char('0'));
    case Kind::Object_Id:
        return QStringLiteral("%1:%2").arg(u >> 22).arg(u & 0x3FFFFF);
    }
    return {};
}
