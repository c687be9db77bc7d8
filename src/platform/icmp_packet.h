#pragma once

#include <QByteArray>

// ICMP echo messages over IPv4, built and read without any socket.

inline constexpr int Icmp_Header_Size = 8;
inline constexpr quint8 Icmp_Echo_Request = 8;
inline constexpr quint8 Icmp_Echo_Reply = 0;
inline constexpr quint8 Icmp_Destination_Unreachable = 3;

// The Internet checksum (RFC 1071) of `data`.
quint16 Icmp_Checksum(const QByteArray &data);

// An echo request of exactly `packet_size` bytes (header included): `data`
// first, zeros after it, cut when it does not fit. Identifier and sequence are
// written in network order and the checksum is filled in.
QByteArray Build_Echo_Request(quint16 identifier, quint16 sequence, const QByteArray &data, int packet_size);

struct Echo_Reply
{
    quint16 identifier = 0;
    quint16 sequence = 0;
    int data_bytes = 0; // bytes after the ICMP header
};

// Reads an echo reply. A raw socket delivers the IPv4 header in front of the
// ICMP message (`with_ip_header`), a datagram socket does not. False for
// anything that is not a whole echo reply with a correct checksum: an echo
// request (a raw socket on loopback also sees its own), another ICMP type, a
// truncated or corrupted packet.
bool Parse_Echo_Reply(const QByteArray &packet, bool with_ip_header, Echo_Reply *reply);

// A "destination unreachable" that a router (or this computer) sent back for
// an echo request: what it says and which request it quotes.
struct Unreachable_Report
{
    quint8 code = 0;         // the ICMP code: 0 network, 1 host, 13 prohibited, ...
    quint32 destination = 0; // the quoted request's destination (host order)
    quint16 identifier = 0;  // the quoted echo request's identifier and sequence
    quint16 sequence = 0;
};

// Reads a destination unreachable as a raw socket receives it (the IPv4
// header in front when `with_ip_header`). Its data quotes the IPv4 header of
// the packet that could not be delivered and at least its first 8 bytes; only
// a quoted ICMP echo request is accepted. False for any other message, a
// wrong checksum, or a quote cut short.
bool Parse_Unreachable(const QByteArray &packet, bool with_ip_header, Unreachable_Report *report);
