#pragma once

#include "bacnet/bacnet_value.h"
#include "bacnet/served_device.h"
#include "bacnet/value_rule.h"
#include "core/result.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <vector>

// A BACnet/IP address: the IPv4 address and UDP port of a peer.
struct BIP_Address
{
    QHostAddress address;
    quint16 port = 0;

    bool operator==(const BIP_Address &) const = default;
    QString Text() const;
};

// A datagram to send.
struct Outgoing
{
    BIP_Address to;
    QByteArray bytes;
};

// The protocol of the served device, without a socket: each datagram that
// arrives is handed to Handle, which answers it (the datagrams to send and
// one line saying who asked what and what was answered). It keeps the two
// data areas, the priority arrays of the commandable objects and the COV
// subscriptions. Nothing here reads a clock: the caller gives the time.
class Device_Server
{
public:
    // What became of one datagram.
    struct Handled
    {
        QList<Outgoing> replies;
        QString line; // empty for a datagram not meant for this device (no routing)
    };
    // Present values that changed since the last call, and the COV
    // notifications they make.
    struct Changes
    {
        QList<int> objects;
        QList<Outgoing> notifications;
    };

    // The largest datagram read: a BACnet/IP frame on Ethernet.
    static constexpr int Max_Datagram = 1497;
    static constexpr int Max_APDU = 1476;
    static constexpr int Max_Subscriptions = 256;
    static constexpr std::uint32_t Vendor_Identifier = 0;

    explicit Device_Server(Served_Device device);

    const Served_Device &Device() const { return device_; }
    const Data_Areas &Areas() const { return areas_; }
    BACnet_Value Present_Value(int index) const;
    // The bytes of Read object `index` set from its integer by the value rule.
    Result<> Set_Input_Raw(int index, std::int64_t raw);

    Handled Handle(const QByteArray &datagram, const BIP_Address &from, qint64 now_ms);
    Changes Take_Changes(qint64 now_ms);

    // How a peer is reached: its address, and the network and address it
    // sits behind when a router brought its request (empty when local).
    struct Route
    {
        BIP_Address to;
        std::optional<std::uint16_t> network;
        QByteArray mac;
    };

private:
    struct Subscription
    {
        Route subscriber;
        std::uint32_t process = 0;
        int object = 0;
        qint64 expires_ms = 0; // 0: never
    };
    struct Request; // one confirmed request while it is answered

    QByteArray Frame(const Route &route, const QByteArray &apdu) const;
    void Handle_Confirmed(Request &r);
    void Handle_Unconfirmed(const QByteArray &npdu, int at, const Route &from, Handled &out);
    void Read_Property(Request &r);
    void Read_Property_Multiple(Request &r);
    void Write_Property(Request &r);
    void Subscribe_COV(Request &r);
    QByteArray COV_Notification(const Subscription &s, qint64 now_ms) const;
    QByteArray I_Am() const;

    // Appends the value of property `property` (array element `index`) of
    // object `object` (-1 the device); false with the error class and code.
    bool Encode_Property(int object, std::uint32_t property, std::optional<std::uint32_t> index, QByteArray &out,
                         std::uint32_t *error_class, std::uint32_t *error_code) const;
    QList<std::uint32_t> Properties(int object, std::uint32_t which) const;
    // The object an identifier names: -1 the device, an index, or none.
    std::optional<int> Find(std::uint32_t id) const;
    QString Object_Text(int object) const;
    BACnet_Value Effective_Value(int object) const;

    Served_Device device_;
    Data_Areas areas_;
    QHash<std::uint32_t, int> by_id_;
    // Per object: the priority array (a commandable object's) and the value last shown.
    std::vector<std::array<std::optional<BACnet_Value>, 16>> priorities_;
    std::vector<BACnet_Value> shown_;
    bool dirty_ = false;
    QList<Subscription> subscriptions_;
};
