#pragma once

#include "bacnet/bacnet_value.h"
#include "bacnet/device_server.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

class QTimer;
class QUdpSocket;

// The client side of the protocol: the requests the configurator sends to a
// converter and the reading of its replies. Every reply is read through the
// codec's Tag_Reader, every length and tag checked; a reply that does not
// parse is garbage, never half-trusted.
namespace bacnet_client {

// A BVLC original-unicast Who-Is with no range: whoever has the address answers.
QByteArray Who_Is();
// A confirmed ReadProperty of `property` (element `index` when given).
QByteArray Read_Property(std::uint8_t invoke, std::uint32_t object, std::uint32_t property,
                         std::optional<std::uint32_t> index = std::nullopt);
// A confirmed ReadPropertyMultiple of `properties` of one object.
QByteArray Read_Property_Multiple(std::uint8_t invoke, std::uint32_t object, const QList<std::uint32_t> &properties);

// One datagram as read: what kind of APDU it holds and where.
struct Reply
{
    enum class Kind { I_Am, Complex_Ack, Error, Reject, Abort, Other };
    Kind kind = Kind::Other;
    std::uint8_t invoke = 0;
    std::uint8_t service = 0;
    int reason = 0;           // a reject's or an abort's reason; an error's code
    int error_class = 0;      // an error's class
    std::uint32_t device = 0; // an I-Am's device identifier
    QByteArray apdu;          // the whole APDU
    int body = 0;             // where the service's own data starts in apdu
};
// The reply a datagram carries; none when it is not a well-formed BACnet/IP
// frame (its BVLC length, NPDU header and APDU header all checked).
std::optional<Reply> Parse_Reply(const QByteArray &datagram);

// One property value as a ReadProperty-ACK or a ReadPropertyMultiple-ACK
// gives it: its values, or the error the device gave for it.
struct Property_Result
{
    std::uint32_t property = 0;
    std::optional<std::uint32_t> index;
    QList<BACnet_Value> values;
    bool error = false;
};
// The values of a ReadProperty-ACK of `object`'s `property`; none when the
// ACK is malformed or names another object or property.
std::optional<Property_Result> Parse_Read_Property_Ack(const Reply &reply, std::uint32_t object,
                                                       std::uint32_t property);
// The results of a ReadPropertyMultiple-ACK for `object`; none when malformed
// or about another object.
std::optional<QList<Property_Result>> Parse_Read_Property_Multiple_Ack(const Reply &reply, std::uint32_t object);

} // namespace bacnet_client

// An object as the device on the wire describes it.
struct Wire_Object
{
    std::uint32_t id = 0;               // from the device's object-list
    std::optional<int> type;            // object-type; none when the device gave none
    std::optional<QString> name;        // object-name
    std::optional<std::uint32_t> units; // units; none when the object has none
};

struct Wire_Device
{
    std::uint32_t instance = 0;
    BIP_Address address; // where its I-Am came from
    QString name;
    QList<Wire_Object> objects; // the object-list's order, the device itself left out
};

// How long the client waits, as BACnet clients count it: each confirmed
// request waits `apdu_timeout_ms` and is sent again up to `retries` times;
// the Who-Is is repeated every `apdu_timeout_ms` until `find_ms` has passed.
struct Client_Timing
{
    int apdu_timeout_ms = 3000;
    int retries = 3;
    int find_ms = 12000;
};

// Reads a device over BACnet/IP: a directed Who-Is to its address, then its
// object-name and object-list (element by element when the whole list does
// not fit one reply), then each object's object-type, object-name and units
// (ReadPropertyMultiple, or ReadProperty when the device does not take it).
// One request at a time, on the event loop: nothing blocks. It ends with
// Finished once, after which it sends nothing more.
class Device_Reader : public QObject
{
    Q_OBJECT

public:
    enum class Failure {
        None,
        No_Answer,    // no I-Am within find_ms, or a request unanswered after its retries
        Other_Device, // the address answered with another device instance
        Garbage,      // a reply that does not parse, or not what was asked
        Refused,      // an error, a reject or an abort where no other way is left
        Socket,       // the socket cannot be opened
        Cancelled,
    };
    struct Outcome
    {
        Failure failure = Failure::None;
        QString detail; // what failed, for people (not translated: protocol terms)
        Wire_Device device;
    };

    // The most objects read: more than any converter serves.
    static constexpr int Max_Objects = 4096;

    explicit Device_Reader(QObject *parent = nullptr);
    ~Device_Reader() override;

    void Set_Timing(const Client_Timing &timing) { timing_ = timing; }
    // Starts reading the device at `to`; `expected` is the instance it must answer with.
    void Start(const BIP_Address &to, std::optional<std::uint32_t> expected);
    void Cancel();
    bool Running() const { return step_ != Step::Idle && step_ != Step::Done; }

signals:
    // A Who-Is went out (`attempt` from 1) while the device is being looked for.
    void Looking(int attempt, int elapsed_ms);
    // The device answered; `done` of `total` objects read so far.
    void Reading(int done, int total);
    void Finished(const Device_Reader::Outcome &outcome);

private:
    enum class Step { Idle, Finding, Name, List_Whole, List_Count, List_Item, Objects, Done };

    void On_Ready_Read();
    void On_Timer();
    void Handle(const bacnet_client::Reply &reply, const BIP_Address &from);
    void Send_Request();
    void Next_Request();
    void Finish(Failure failure, const QString &detail = {});
    void Advance_Object();
    bool Take_Object_Result(const bacnet_client::Reply &reply);

    QUdpSocket *socket_ = nullptr;
    QTimer *timer_ = nullptr;
    Client_Timing timing_;
    BIP_Address to_;
    std::optional<std::uint32_t> expected_;
    Step step_ = Step::Idle;
    QElapsedTimer clock_;
    int attempts_ = 0;
    std::uint8_t invoke_ = 0;
    QByteArray request_;
    std::uint32_t list_count_ = 0;
    std::uint32_t list_index_ = 0;
    int object_ = 0;       // the object being read
    int object_part_ = 0;  // with ReadProperty: 0 type, 1 name, 2 units
    bool multiple_ = true; // the device takes ReadPropertyMultiple
    Wire_Device device_;
};
