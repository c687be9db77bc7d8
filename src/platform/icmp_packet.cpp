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

bool Parse_Echo_Reply(const QByteArray &packet, bool with_ip_header, Echo_Reply *reply)
{
    qsizetype offset = 0;
    if (with_ip_header) {
        if (packet.size() < 20)
            return false;
        const uchar version_ihl = uchar(packet[0]);
        const int header = (version_ihl & 0x0F) * 4;
        if ((version_ihl >> 4) != 4 || header < 20 || header > packet.size())
            return false;
        offset = header;
    }
    const QByteArray icmp = packet.mid(offset);
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
