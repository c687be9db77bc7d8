#pragma once

#include "bacnet/bacnet_value.h"
#include "bacnet/served_device.h"
#include "core/result.h"

#include <QHostAddress>
#include <QObject>
#include <memory>

class QUdpSocket;
class Device_Server;

// The converter's BACnet/IP side, run on this computer: the served device
// of a configuration on a UDP socket, answering as the converter will
// answer. The logic (the protocol, the data areas, the subscriptions) is
// Device_Server's; this class only carries its datagrams. Lives on the
// event loop of its thread.
class Virtual_Converter : public QObject
{
    Q_OBJECT

public:
    explicit Virtual_Converter(Served_Device device, QObject *parent = nullptr);
    ~Virtual_Converter() override;

    // Binds the socket (port 0 takes a free port) and starts answering.
    // Fails with the message to show when the address cannot be bound (a
    // port in use, say).
    Result<> Start(const QHostAddress &address, quint16 port);
    void Stop();
    bool Running() const;
    QHostAddress Address() const;
    quint16 Port() const; // the port bound, once started

    const Served_Device &Device() const;
    // The present value of object `index` of Device().objects, from the data
    // areas as they are now.
    BACnet_Value Present_Value(int index) const;
    // Sets the bytes of input-area object `index` (a Read object) from `raw`
    // by the value rule (value_rule.h), as if the converter had received
    // them over LoRaWAN. Fails for a Write object or a value that does not fit.
    Result<> Set_Input_Raw(int index, std::int64_t raw);

    // The line that opens the command's output: device, name and address.
    QString Serving_Line() const;

signals:
    // One line per request: who asked, what, and the answer.
    void Traffic(const QString &line);
    // The present value of object `index` changed (a write, or Set_Input_Raw).
    void Value_Changed(int index, const BACnet_Value &value);

private:
    void On_Ready_Read();
    void Send_Notifications();

    std::unique_ptr<Device_Server> server_;
    QUdpSocket *socket_ = nullptr;
};
