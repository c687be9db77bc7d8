#include "platform/icmp_echo_client.h"

#include "platform/icmp_packet.h"

#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QTimer>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
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
    char buffer[65536];
    for (;;) {
        sockaddr_in from{};
        socklen_t from_size = sizeof from;
        const ssize_t got = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &from_size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return; // nothing more to read now (or a transient error: the time-out reports it)
        }
        if (!waiting_ || ntohl(from.sin_addr.s_addr) != target_)
            continue;
        // A raw socket sees every ICMP message of the host: only our own
        // identifier and the sequence of the waiting request count.
        Echo_Reply reply;
        if (!Parse_Echo_Reply(QByteArray::fromRawData(buffer, qsizetype(got)), kind_ == Socket_Kind::Raw, &reply))
            continue;
        if (reply.sequence != sequence_ || (kind_ == Socket_Kind::Raw && reply.identifier != identifier_))
            continue;
        waiting_ = false;
        timer_->stop();
        emit Replied(reply.data_bytes);
    }
}

void Icmp_Echo_Client::Time_Out()
{
    if (!waiting_)
        return;
    waiting_ = false;
    emit Replied(0);
}
