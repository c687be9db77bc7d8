#include "platform/icmp_echo_client.h"

#include "platform/icmp_packet.h"

#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString System_Error(int error)
{
    return QString::fromLocal8Bit(strerror(error));
}

Echo_Status Failed(Echo_Status::Kind kind, QString system_error)
{
    return Echo_Status{kind, std::move(system_error)};
}

} // namespace

Icmp_Echo_Client::Icmp_Echo_Client(QObject *parent, int receive_timeout_ms)
    : Echo_Client(parent)
    , timer_(new QTimer(this))
    , identifier_(quint16(QRandomGenerator::global()->bounded(1, 0x10000)))
    , receive_timeout_ms_(receive_timeout_ms)
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &Icmp_Echo_Client::Time_Out);
}

Icmp_Echo_Client::~Icmp_Echo_Client()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

Echo_Status Icmp_Echo_Client::Open()
{
    if (fd_ >= 0)
        return {};
    const int flags = SOCK_NONBLOCK | SOCK_CLOEXEC;
    fd_ = ::socket(AF_INET, SOCK_DGRAM | flags, IPPROTO_ICMP);
    if (fd_ >= 0) {
        kind_ = Socket_Kind::Datagram;
        // Without it the kernel drops every ICMP error for an unconnected
        // datagram socket, and an unreachable address looks like silence.
        // Should the system refuse it, that is what the client still sees.
        const int on = 1;
        ::setsockopt(fd_, SOL_IP, IP_RECVERR, &on, sizeof on);
    } else {
        const int datagram_error = errno;
        fd_ = ::socket(AF_INET, SOCK_RAW | flags, IPPROTO_ICMP);
        if (fd_ < 0) {
            const int raw_error = errno;
            return Failed(Echo_Status::Kind::Not_Allowed,
                          QStringLiteral("(datagram socket: %1; raw socket: %2)")
                              .arg(System_Error(datagram_error), System_Error(raw_error)));
        }
        kind_ = Socket_Kind::Raw;
    }
    notifier_ = new QSocketNotifier(qintptr(fd_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &Icmp_Echo_Client::Read_Replies);
    return {};
}

Echo_Status Icmp_Echo_Client::Send(quint32 address, const QByteArray &data)
{
    if (Echo_Status opened = Open(); !opened.Ok())
        return opened;
    waiting_ = false;
    timer_->stop();
    ++sequence_;
    target_ = address;
    // A datagram socket puts its own identifier in; the kernel then hands it
    // only the replies that carry it.
    const QByteArray request = Build_Echo_Request(identifier_, sequence_, data, Packet_Size);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(address);
    ssize_t sent = -1;
    do
        sent =
            ::sendto(fd_, request.constData(), size_t(request.size()), 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
    while (sent < 0 && errno == EINTR);
    if (sent != request.size())
        return Failed(Echo_Status::Kind::Not_Sent, System_Error(sent < 0 ? errno : EMSGSIZE));
    waiting_ = true;
    timer_->start(receive_timeout_ms_);
    return {};
}

void Icmp_Echo_Client::Read_Replies()
{
    if (kind_ == Socket_Kind::Datagram)
        Read_Errors();
    char buffer[65536];
    int pending_errors = 0;
    for (;;) {
        sockaddr_in from{};
        socklen_t from_size = sizeof from;
        const ssize_t got = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &from_size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            // With IP_RECVERR an ICMP error is also given once as the error of
            // the next receive (EHOSTUNREACH, ENETUNREACH, ...): its details,
            // the request it answers included, are in the error queue.
            if (kind_ == Socket_Kind::Datagram && errno != EAGAIN && errno != EWOULDBLOCK && ++pending_errors < 8) {
                Read_Errors();
                continue;
            }
            return; // nothing more to read now (or a transient error: the time-out reports it)
        }
        if (!waiting_)
            continue;
        const quint32 sender = ntohl(from.sin_addr.s_addr);
        const QByteArray packet = QByteArray::fromRawData(buffer, qsizetype(got));
        // A raw socket sees every ICMP message of the host: only our own
        // identifier and the sequence of the waiting request count.
        if (kind_ == Socket_Kind::Raw) {
            Unreachable_Report unreachable;
            if (Parse_Unreachable(packet, true, &unreachable)) {
                if (unreachable.destination == target_ && unreachable.identifier == identifier_ &&
                    unreachable.sequence == sequence_)
                    Report_Unreachable(sender, unreachable.code);
                continue;
            }
        }
        if (sender != target_)
            continue;
        Echo_Reply reply;
        if (!Parse_Echo_Reply(packet, kind_ == Socket_Kind::Raw, &reply))
            continue;
        if (reply.sequence != sequence_ || (kind_ == Socket_Kind::Raw && reply.identifier != identifier_))
            continue;
        waiting_ = false;
        timer_->stop();
        emit Replied(reply.data_bytes);
    }
}

// The error queue of the datagram socket: each entry is our own request as
// sent (the kernel's identifier in it) with the ICMP error that answered it.
// Read to the end every time, as an entry left there keeps the socket
// signalling.
void Icmp_Echo_Client::Read_Errors()
{
    for (;;) {
        char request[64]; // only its header is read
        alignas(cmsghdr) char control[512];
        iovec data{request, sizeof request};
        sockaddr_in destination{};
        msghdr message{};
        message.msg_name = &destination;
        message.msg_namelen = sizeof destination;
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t got = ::recvmsg(fd_, &message, MSG_ERRQUEUE);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        for (cmsghdr *c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level != SOL_IP || c->cmsg_type != IP_RECVERR)
                continue;
            sock_extended_err error{};
            memcpy(&error, CMSG_DATA(c), sizeof error);
            if (error.ee_origin != SO_EE_ORIGIN_ICMP || error.ee_type != Icmp_Destination_Unreachable)
                continue;
            // The address that sent the ICMP error follows the error record.
            sockaddr_in offender{};
            if (c->cmsg_len >= CMSG_LEN(sizeof error + sizeof offender))
                memcpy(&offender, CMSG_DATA(c) + sizeof error, sizeof offender);
            const auto *sent = reinterpret_cast<const uchar *>(request);
            const quint16 sequence = quint16(sent[6] << 8 | sent[7]);
            if (!waiting_ || got < Icmp_Header_Size || sent[0] != Icmp_Echo_Request || sequence != sequence_ ||
                ntohl(destination.sin_addr.s_addr) != target_)
                continue;
            Report_Unreachable(offender.sin_family == AF_INET ? ntohl(offender.sin_addr.s_addr) : 0, error.ee_code);
        }
    }
}

void Icmp_Echo_Client::Report_Unreachable(quint32 router, int code)
{
    waiting_ = false;
    timer_->stop();
    emit Unreachable(router, code);
}

void Icmp_Echo_Client::Time_Out()
{
    if (!waiting_)
        return;
    waiting_ = false;
    emit Replied(0);
}
