// The virtual converter's request handler, fed any datagram: the BACnet/IP
// and network headers, then whatever APDU follows. The first byte chooses
// whether the rest goes as it is or behind a well-formed header (so that the
// service decoders are reached often); the rest may hold two datagrams,
// split at the first 0xFF 0xFF, handled in turn by one device (a
// subscription, then a write). Properties:
//  - every datagram sent is a whole original-unicast or BVLC-Result frame
//    whose length field is its size, at most a BACnet/IP frame;
//  - a confirmed request gets exactly one answer APDU (with its initial COV
//    notification, at most two datagrams), never more than 1476 octets;
//  - the present values stay readable and a change is reported once.

#include "bacnet/device_server.h"
#include "core/object_catalogue.h"
#include "fuzz_support.h"

namespace {

Served_Object Object(Object_Kind kind, std::uint32_t instance, bool write, std::uint32_t position, std::uint8_t length,
                     std::uint8_t start_bit, const char *name)
{
    Served_Object o;
    o.kind = int(kind);
    o.type_code = Object_Type_Of(kind).bacnet_code;
    o.instance = instance;
    o.write = write;
    o.position = position;
    o.length = length;
    o.start_bit = start_bit;
    o.units = 62;
    o.name = QString::fromLatin1(name);
    return o;
}

Served_Device Device()
{
    Served_Device d;
    d.instance = 1234;
    d.name = QStringLiteral("plant1");
    d.objects = {
        Object(Object_Kind::Analog_Input, 0, false, 0, 4, 0, "Temperature"),
        Object(Object_Kind::Analog_Out, 0, true, 0, 2, 0, "Valve"),
        Object(Object_Kind::Binary_Out, 0, true, 2, 1, 7, "Fan"),
        Object(Object_Kind::Binary_Value, 0, true, 4, 1, 3, "Pump"),
        Object(Object_Kind::Multi_State_Output, 0, true, 5, 1, 0, "Mode"),
        Object(Object_Kind::Integer_Value, 0, true, 6, 2, 0, "Offset"),
        Object(Object_Kind::Large_Analog_Value, 0, true, 8, 8, 0, "Energy"),
        Object(Object_Kind::Positive_Integer_Value, 0, true, 1496, 4, 0, "Edge"),
        Object(Object_Kind::Characterstring_Value, 0, true, 20, 8, 0, "Text"),
        Object(Object_Kind::Octet_String, 0, true, 30, 4, 0, "Octets"),
        Object(Object_Kind::Datetime_Value, 0, false, 0, 0, 0, "When"),
        Object(Object_Kind::Access_Door, 0, true, 40, 1, 0, "Door"),
        Object(Object_Kind::Analog_Input, 1, false, 1499, 4, 0, "Temperature"),
    };
    return d;
}

void Check_Replies(const Device_Server::Handled &handled, bool confirmed)
{
    for (const Outgoing &o : handled.replies) {
        const QByteArray &b = o.bytes;
        FUZZ_CHECK(b.size() >= 6 && b.size() <= Device_Server::Max_Datagram, "reply of %d bytes", int(b.size()));
        FUZZ_CHECK(std::uint8_t(b[0]) == 0x81 && (b[1] == 0x0A || b[1] == 0x00), "reply BVLC %02x", std::uint8_t(b[1]));
        FUZZ_CHECK(((std::uint8_t(b[2]) << 8) | std::uint8_t(b[3])) == b.size(), "BVLC length of %d bytes",
                   int(b.size()));
    }
    if (confirmed) {
        FUZZ_CHECK(!handled.replies.isEmpty() && handled.replies.size() <= 2, "%d replies to a confirmed request",
                   int(handled.replies.size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool framed = data[0] & 1;
    const QByteArray rest = fuzz::Bytes(data + 1, size - 1);
    const qsizetype split = rest.indexOf(QByteArray("\xFF\xFF", 2));
    const QList<QByteArray> payloads =
        split < 0 ? QList<QByteArray>{rest} : QList<QByteArray>{rest.left(split), rest.mid(split + 2)};

    Device_Server server(Device());
    const BIP_Address from{QHostAddress(QHostAddress::LocalHost), 47809};
    qint64 now = 0;
    for (const QByteArray &payload : payloads) {
        QByteArray datagram = payload;
        bool confirmed = false;
        if (framed) {
            datagram = QByteArray::fromHex("810a00000104") + payload;
            datagram[2] = char(datagram.size() >> 8);
            datagram[3] = char(datagram.size() & 0xFF);
            confirmed = !payload.isEmpty() && (std::uint8_t(payload[0]) >> 4) == 0 && payload.size() >= 4 &&
                        datagram.size() <= Device_Server::Max_Datagram;
        }
        const Device_Server::Handled handled = server.Handle(datagram, from, now);
        Check_Replies(handled, confirmed);
        now += 1000;
        const Device_Server::Changes first = server.Take_Changes(now);
        const Device_Server::Changes again = server.Take_Changes(now);
        FUZZ_CHECK(again.objects.isEmpty(), "a change reported twice");
        for (const Outgoing &n : first.notifications)
            FUZZ_CHECK(n.bytes.size() <= Device_Server::Max_Datagram, "notification of %d bytes", int(n.bytes.size()));
        for (int i = 0; i < server.Device().objects.size(); ++i)
            (void)server.Present_Value(i).Text();
    }
    return 0;
}
