#pragma once

#include "bacnet/device_server.h"
#include "core/object_catalogue.h"

#include <QByteArray>

namespace test {

inline Served_Object Object(Object_Kind kind, std::uint32_t instance, bool write, std::uint32_t position,
                            std::uint8_t length, std::uint8_t start_bit = 0, const char *name = "")
{
    Served_Object o;
    o.kind = int(kind);
    o.type_code = Object_Type_Of(kind).bacnet_code;
    o.instance = instance;
    o.write = write;
    o.position = position;
    o.length = length;
    o.start_bit = start_bit;
    o.units = 62; // degrees Celsius
    o.name = QString::fromLatin1(name);
    return o;
}

// Device 1234 "plant1" with one object of most kinds; analog input 5 is the
// standard's own example object.
inline Served_Device Small_Device()
{
    Served_Device d;
    d.instance = 1234;
    d.name = QStringLiteral("plant1");
    d.objects = {
        Object(Object_Kind::Analog_Input, 5, false, 0, 4, 0, "Room temperature"),
        Object(Object_Kind::Analog_Out, 0, true, 0, 2, 0, "Valve"),
        Object(Object_Kind::Binary_Value, 0, true, 4, 1, 3, "Pump"),
        Object(Object_Kind::Multi_State_Value, 0, true, 5, 1, 0, "Mode"),
        Object(Object_Kind::Integer_Value, 0, true, 6, 2, 0, "Offset"),
        Object(Object_Kind::Binary_Input, 0, false, 4, 1, 0, "Alarm"),
        Object(Object_Kind::Analog_Input, 6, false, 8, 1, 0, "Room temperature"),
    };
    return d;
}

// A request as a client sends it: BVLC original-unicast, an NPDU that
// expects a reply, then the APDU.
inline QByteArray Frame(const QByteArray &apdu, bool expecting_reply = true)
{
    QByteArray f = QByteArray::fromHex("810a0000");
    f.append(char(0x01));
    f.append(char(expecting_reply ? 0x04 : 0x00));
    f.append(apdu);
    f[2] = char(f.size() >> 8);
    f[3] = char(f.size() & 0xFF);
    return f;
}

// The APDU of a reply this device sent (BVLC and a local NPDU taken off).
inline QByteArray Apdu(const QByteArray &reply)
{
    return reply.mid(6);
}

} // namespace test
