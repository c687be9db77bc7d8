#pragma once

#include "platform/echo_client.h"

class QSocketNotifier;
class QTimer;

// The system's ICMP echo over IPv4. It uses an unprivileged ICMP datagram
// socket where the system allows one (net.ipv4.ping_group_range), else a raw
// socket (root or CAP_NET_RAW). Every request is a message of
// `Packet_Size` bytes whose data begins with the bytes it is given; a reply
// not seen within the receive time-out (`Receive_Timeout_Ms` unless a test
// gives a shorter one) is reported as 0 bytes. A "destination unreachable"
// that quotes the waiting request is reported as Unreachable: a raw socket
// receives it as a packet; a datagram socket, asked with IP_RECVERR, finds
// it in its error queue.
class Icmp_Echo_Client final : public Echo_Client
{
    Q_OBJECT

public:
    static constexpr int Packet_Size = 1024;
    static constexpr int Receive_Timeout_Ms = 400;

    enum class Socket_Kind { None, Datagram, Raw };

    explicit Icmp_Echo_Client(QObject *parent = nullptr, int receive_timeout_ms = Receive_Timeout_Ms);
    ~Icmp_Echo_Client() override;

    Echo_Status Open() override;
    Echo_Status Send(quint32 address, const QByteArray &data) override;

    Socket_Kind Kind() const { return kind_; }

private:
    void Read_Replies();
    void Read_Errors();
    void Report_Unreachable(quint32 router, int code);
    void Time_Out();

    int fd_ = -1;
    Socket_Kind kind_ = Socket_Kind::None;
    QSocketNotifier *notifier_ = nullptr;
    QTimer *timer_ = nullptr;
    quint16 identifier_ = 0;
    quint16 sequence_ = 0;
    quint32 target_ = 0;
    int receive_timeout_ms_;
    bool waiting_ = false;
};
