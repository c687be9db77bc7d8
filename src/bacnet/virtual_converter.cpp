#include "bacnet/virtual_converter.h"

#include "bacnet/bacnet_messages.h"
#include "bacnet/device_server.h"
#include "core/messages.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace {

qint64 Now_Ms()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

} // namespace

Virtual_Converter::Virtual_Converter(Served_Device device, QObject *parent)
    : QObject(parent)
    , server_(std::make_unique<Device_Server>(std::move(device)))
{}

Virtual_Converter::~Virtual_Converter() = default;

Result<> Virtual_Converter::Start(const QHostAddress &address, quint16 port)
{
    Stop();
    auto *socket = new QUdpSocket(this);
    // Not shared: a port another program holds is refused, not joined.
    if (!socket->bind(address, port, QAbstractSocket::DontShareAddress)) {
        const QString reason = socket->errorString();
        delete socket;
        return Fail(Messages().Get(Msg_Serve_Cannot_Bind).arg(address.toString()).arg(port).arg(reason));
    }
    socket_ = socket;
    connect(socket_, &QUdpSocket::readyRead, this, &Virtual_Converter::On_Ready_Read);
    return {};
}

void Virtual_Converter::Stop()
{
    if (!socket_)
        return;
    socket_->close();
    socket_->deleteLater();
    socket_ = nullptr;
}

bool Virtual_Converter::Running() const
{
    return socket_ != nullptr;
}

QHostAddress Virtual_Converter::Address() const
{
    return socket_ ? socket_->localAddress() : QHostAddress();
}

quint16 Virtual_Converter::Port() const
{
    return socket_ ? socket_->localPort() : 0;
}

const Served_Device &Virtual_Converter::Device() const
{
    return server_->Device();
}

BACnet_Value Virtual_Converter::Present_Value(int index) const
{
    return server_->Present_Value(index);
}

Result<> Virtual_Converter::Set_Input_Raw(int index, std::int64_t raw)
{
    Result<> set = server_->Set_Input_Raw(index, raw);
    if (set)
        Send_Notifications();
    return set;
}

QString Virtual_Converter::Serving_Line() const
{
    return Messages()
        .Get(Msg_Serve_Serving)
        .arg(Device().instance)
        .arg(Device().name, Address().toString())
        .arg(Port());
}

void Virtual_Converter::On_Ready_Read()
{
    while (socket_ && socket_->hasPendingDatagrams()) {
        // Bounded: a datagram longer than a BACnet/IP frame is cut, and then
        // dropped because its BVLC length no longer matches.
        const QNetworkDatagram datagram = socket_->receiveDatagram(Device_Server::Max_Datagram + 1);
        if (!datagram.isValid())
            continue;
        BIP_Address from{datagram.senderAddress(), quint16(datagram.senderPort())};
        if (from.address.protocol() == QAbstractSocket::IPv6Protocol) {
            bool ok = false;
            const quint32 v4 = from.address.toIPv4Address(&ok);
            if (ok)
                from.address = QHostAddress(v4);
        }
        const Device_Server::Handled handled = server_->Handle(datagram.data(), from, Now_Ms());
        for (const Outgoing &reply : handled.replies)
            socket_->writeDatagram(reply.bytes, reply.to.address, reply.to.port);
        if (!handled.line.isEmpty())
            emit Traffic(handled.line);
        Send_Notifications();
    }
}

void Virtual_Converter::Send_Notifications()
{
    const Device_Server::Changes changes = server_->Take_Changes(Now_Ms());
    if (socket_)
        for (const Outgoing &n : changes.notifications)
            socket_->writeDatagram(n.bytes, n.to.address, n.to.port);
    for (const int index : changes.objects)
        emit Value_Changed(index, server_->Present_Value(index));
}
