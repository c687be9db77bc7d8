#include "platform/icmp_packet.h"

#include <QtEndian>
#include <cstring>

quint16 Icmp_Checksum(const QByteArray &data)
{
    quint32 sum = 0;
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    const qsizetype size = data.size();
    for (qsizetype i = 0; i + 1 < size; i += 2)
        sum += quint32(bytes[i] << 8 | bytes[i + 1]);
    if (size % 2)
        sum += quint32(bytes[size - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

QByteArray Build_Echo_Request(quint16 identifier, quint16 sequence, const QByteArray &data, int packet_size)
{
    QByteArray packet(qMax(packet_size, Icmp_Header_Size), '\0');
    auto *p = reinterpret_cast<uchar *>(packet.data());
    p[0] = Icmp_Echo_Request;
    p[1] = 0;
    qToBigEndian<quint16>(identifier, p + 4);
    qToBigEndian<quint16>(sequence, p + 6);
    const qsizetype room = packet.size() - Icmp_Header_Size;
    memcpy(p + Icmp_Header_Size, data.constData(), size_t(qMin(room, data.size())));
    qToBigEndian<quint16>(Icmp_Checksum(packet), p + 2);
    return packet;
}

namespace {

// The length of the IPv4 header at the start of `packet`; -1 when there is
// no whole IPv4 header.
qsizetype Ip_Header_Size(const QByteArray &packet)
{
    if (packet.size() < 20)
        return -1;
    const uchar version_ihl = uchar(packet[0]);
    const int header = (version_ihl & 0x0F) * 4;
    if ((version_ihl >> 4) != 4 || header < 20 || header > packet.size())
        return -1;
    return header;
}

// The ICMP message of a packet, after its IPv4 header when it has one; a
// null array when that header is broken.
QByteArray Icmp_Message(const QByteArray &packet, bool with_ip_header)
{
    if (!with_ip_header)
        return packet;
    const qsizetype header = Ip_Header_Size(packet);
    return header < 0 ? QByteArray() : packet.mid(header);
}

} // namespace

bool Parse_Echo_Reply(const QByteArray &packet, bool with_ip_header, Echo_Reply *reply)
{
    const QByteArray icmp = Icmp_Message(packet, with_ip_header);
    if (icmp.size() < Icmp_Header_Size || uchar(icmp[0]) != Icmp_Echo_Reply || icmp[1] != 0)
        return false;
    if (Icmp_Checksum(icmp) != 0)
        return false;
    const auto *p = reinterpret_cast<const uchar *>(icmp.constData());
    reply->identifier = qFromBigEndian<quint16>(p + 4);
    reply->sequence = qFromBigEndian<quint16>(p + 6);
    reply->data_bytes = int(icmp.size() - Icmp_Header_Size);
    return true;
}

bool Parse_Unreachable(const QByteArray &packet, bool with_ip_header, Unreachable_Report *report)
{
    const QByteArray icmp = Icmp_Message(packet, with_ip_header);
    if (icmp.size() < Icmp_Header_Size || uchar(icmp[0]) != Icmp_Destination_Unreachable)
        return false;
    if (Icmp_Checksum(icmp) != 0)
        return false;
    // The quote: the undelivered packet's IPv4 header, then our echo request's header.
    const QByteArray quoted = icmp.mid(Icmp_Header_Size);
    const qsizetype quoted_header = Ip_Header_Size(quoted);
    if (quoted_header < 0 || quoted.size() < quoted_header + Icmp_Header_Size)
        return false;
    const auto *q = reinterpret_cast<const uchar *>(quoted.constData());
    constexpr uchar Protocol_Icmp = 1;
    if (q[9] != Protocol_Icmp || q[quoted_header] != Icmp_Echo_Request)
        return false;
    report->code = uchar(icmp[1]);
    report->destination = qFromBigEndian<quint32>(q + 16);
    report->identifier = qFromBigEndian<quint16>(q + quoted_header + 4);
    report->sequence = qFromBigEndian<quint16>(q + quoted_header + 6);
    return true;
}
