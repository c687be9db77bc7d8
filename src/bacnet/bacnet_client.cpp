#include "bacnet/bacnet_client.h"

#include "bacnet/bacnet_codec.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

namespace bacnet_client {

using namespace bacnet;

namespace {

using Kind = BACnet_Value::Kind;

constexpr std::uint8_t Service_I_Am = 0;
constexpr std::uint8_t Service_Who_Is = 8;
constexpr std::uint8_t Service_Read_Property = 12;
constexpr std::uint8_t Service_Read_Property_Multiple = 14;
constexpr int Device_Type = 8;

// BVLC original-unicast around an NPDU with no routing.
QByteArray Frame(const QByteArray &apdu, bool expecting_reply)
{
    QByteArray f;
    f.reserve(6 + apdu.size());
    const int length = 6 + int(apdu.size());
    f.append(char(0x81)).append(char(0x0A)).append(char(length >> 8)).append(char(length & 0xFF));
    f.append(char(0x01)).append(char(expecting_reply ? 0x04 : 0x00));
    f.append(apdu);
    return f;
}

// A confirmed request's header: no segmentation, up to 1476 octets accepted.
QByteArray Confirmed(std::uint8_t invoke, std::uint8_t service)
{
    QByteArray a;
    a.append(char(0x00)).append(char(0x05)).append(char(invoke)).append(char(service));
    return a;
}

std::optional<std::uint32_t> Read_Enumerated(Tag_Reader &r, int context)
{
    const auto v = r.Read_Context(context, Kind::Enumerated);
    if (!v)
        return std::nullopt;
    return std::uint32_t(v->u);
}

// Application values up to closing tag `number`, which is read.
bool Read_Values(Tag_Reader &r, int number, QList<BACnet_Value> &values)
{
    while (!r.Next_Is_Closing(number)) {
        const auto v = r.Read_Value();
        if (!v)
            return false;
        values.append(*v);
    }
    return r.Read_Closing(number);
}

} // namespace

QByteArray Who_Is()
{
    QByteArray apdu;
    apdu.append(char(0x10)).append(char(Service_Who_Is));
    return Frame(apdu, false);
}

QByteArray Read_Property(std::uint8_t invoke, std::uint32_t object, std::uint32_t property,
                         std::optional<std::uint32_t> index)
{
    QByteArray apdu = Confirmed(invoke, Service_Read_Property);
    Append_Context_Object_Id(apdu, 0, object);
    Append_Context_Enumerated(apdu, 1, property);
    if (index)
        Append_Context_Unsigned(apdu, 2, *index);
    return Frame(apdu, true);
}

QByteArray Read_Property_Multiple(std::uint8_t invoke, std::uint32_t object, const QList<std::uint32_t> &properties)
{
    QByteArray apdu = Confirmed(invoke, Service_Read_Property_Multiple);
    Append_Context_Object_Id(apdu, 0, object);
    Append_Opening(apdu, 1);
    for (const std::uint32_t p : properties)
        Append_Context_Enumerated(apdu, 0, p);
    Append_Closing(apdu, 1);
    return Frame(apdu, true);
}

std::optional<Reply> Parse_Reply(const QByteArray &d)
{
    const auto at = [&d](qsizetype i) { return std::uint8_t(d[i]); };
    if (d.size() < 6 || at(0) != 0x81 || ((at(2) << 8) | at(3)) != d.size())
        return std::nullopt;
    qsizetype pos = 4;
    if (at(1) == 0x04)
        pos = 10; // forwarded: the original sender's address first
    else if (at(1) != 0x0A && at(1) != 0x0B)
        return std::nullopt;
    if (pos + 2 > d.size() || at(pos) != 0x01)
        return std::nullopt;
    const std::uint8_t control = at(pos + 1);
    if (control & 0x80)
        return std::nullopt; // a network layer message
    pos += 2;
    for (const std::uint8_t flag : {std::uint8_t(0x20), std::uint8_t(0x08)})
        if (control & flag) {
            if (pos + 3 > d.size())
                return std::nullopt;
            pos += 3 + at(pos + 2);
        }
    if (control & 0x20)
        ++pos; // hop count
    if (pos >= d.size())
        return std::nullopt;
    Reply r;
    r.apdu = d.mid(pos);
    const auto byte = [&r](qsizetype i) { return std::uint8_t(r.apdu[i]); };
    const qsizetype n = r.apdu.size();
    switch (byte(0) >> 4) {
    case 1: { // unconfirmed request
        if (n < 2)
            return std::nullopt;
        r.service = byte(1);
        if (r.service != Service_I_Am)
            return r;
        Tag_Reader t(r.apdu, 2);
        const auto id = t.Read_Value();
        const auto max_apdu = t.Read_Value();
        const auto segmentation = t.Read_Value();
        const auto vendor = t.Read_Value();
        if (!id || id->kind != Kind::Object_Id || bacnet::Object_Id_Type(std::uint32_t(id->u)) != Device_Type ||
            !max_apdu || max_apdu->kind != Kind::Unsigned || !segmentation || segmentation->kind != Kind::Enumerated ||
            !vendor || vendor->kind != Kind::Unsigned || !t.At_End())
            return std::nullopt;
        r.kind = Reply::Kind::I_Am;
        r.device = bacnet::Object_Id_Instance(std::uint32_t(id->u));
        return r;
    }
    case 3: // complex ACK
        if (n < 3 || (byte(0) & 0x08))
            return std::nullopt; // segmented replies are not taken
        r.kind = Reply::Kind::Complex_Ack;
        r.invoke = byte(1);
        r.service = byte(2);
        r.body = 3;
        return r;
    case 5: { // error
        if (n < 3)
            return std::nullopt;
        r.kind = Reply::Kind::Error;
        r.invoke = byte(1);
        r.service = byte(2);
        Tag_Reader t(r.apdu, 3);
        const bool wrapped = t.Next_Is_Opening(0);
        if (wrapped)
            t.Read_Opening(0);
        const auto error_class = t.Read_Value();
        const auto code = t.Read_Value();
        if (!error_class || error_class->kind != Kind::Enumerated || !code || code->kind != Kind::Enumerated ||
            (wrapped && !t.Read_Closing(0)))
            return std::nullopt;
        r.error_class = int(error_class->u);
        r.reason = int(code->u);
        return r;
    }
    case 6: // reject
    case 7: // abort
        if (n < 3)
            return std::nullopt;
        r.kind = (byte(0) >> 4) == 6 ? Reply::Kind::Reject : Reply::Kind::Abort;
        r.invoke = byte(1);
        r.reason = byte(2);
        return r;
    default:
        return r;
    }
}

std::optional<Property_Result> Parse_Read_Property_Ack(const Reply &reply, std::uint32_t object, std::uint32_t property)
{
    if (reply.kind != Reply::Kind::Complex_Ack || reply.service != Service_Read_Property)
        return std::nullopt;
    Tag_Reader t(reply.apdu, reply.body);
    Property_Result p;
    const auto id = t.Read_Context_Object_Id(0);
    const auto prop = Read_Enumerated(t, 1);
    if (!id || *id != object || !prop || *prop != property)
        return std::nullopt;
    p.property = *prop;
    if (t.Next_Is_Context(2)) {
        const auto index = t.Read_Context_Unsigned(2);
        if (!index || *index > 0xFFFFFFFFu)
            return std::nullopt;
        p.index = std::uint32_t(*index);
    }
    if (!t.Read_Opening(3) || !Read_Values(t, 3, p.values) || !t.At_End())
        return std::nullopt;
    return p;
}

std::optional<QList<Property_Result>> Parse_Read_Property_Multiple_Ack(const Reply &reply, std::uint32_t object)
{
    if (reply.kind != Reply::Kind::Complex_Ack || reply.service != Service_Read_Property_Multiple)
        return std::nullopt;
    Tag_Reader t(reply.apdu, reply.body);
    const auto id = t.Read_Context_Object_Id(0);
    if (!id || *id != object || !t.Read_Opening(1))
        return std::nullopt;
    QList<Property_Result> results;
    while (!t.Next_Is_Closing(1)) {
        Property_Result p;
        const auto prop = Read_Enumerated(t, 2);
        if (!prop)
            return std::nullopt;
        p.property = *prop;
        if (t.Next_Is_Context(3)) {
            const auto index = t.Read_Context_Unsigned(3);
            if (!index || *index > 0xFFFFFFFFu)
                return std::nullopt;
            p.index = std::uint32_t(*index);
        }
        if (t.Next_Is_Opening(4)) {
            t.Read_Opening(4);
            if (!Read_Values(t, 4, p.values))
                return std::nullopt;
        } else if (t.Read_Opening(5)) {
            const auto error_class = t.Read_Value();
            const auto code = t.Read_Value();
            if (!error_class || !code || !t.Read_Closing(5))
                return std::nullopt;
            p.error = true;
        } else {
            return std::nullopt;
        }
        results.append(p);
    }
    if (!t.Read_Closing(1) || !t.At_End())
        return std::nullopt;
    return results;
}

} // namespace bacnet_client

namespace {

using namespace bacnet_client;

constexpr std::uint32_t Prop_Object_List = 76;
constexpr std::uint32_t Prop_Object_Name = 77;
constexpr std::uint32_t Prop_Object_Type = 79;
constexpr std::uint32_t Prop_Units = 117;
constexpr int Abort_Segmentation_Not_Supported = 4;
constexpr int Device_Type_Code = 8;

// The one value of a property, when it is of `kind`.
std::optional<BACnet_Value> Single(const Property_Result &p, BACnet_Value::Kind kind)
{
    if (p.error || p.values.size() != 1 || p.values[0].kind != kind)
        return std::nullopt;
    return p.values[0];
}

} // namespace

Device_Reader::Device_Reader(QObject *parent)
    : QObject(parent)
    , timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &Device_Reader::On_Timer);
}

Device_Reader::~Device_Reader() = default;

void Device_Reader::Start(const BIP_Address &to, std::optional<std::uint32_t> expected)
{
    delete socket_;
    socket_ = new QUdpSocket(this);
    to_ = to;
    expected_ = expected;
    device_ = {};
    multiple_ = true;
    step_ = Step::Finding;
    if (!socket_->bind(QHostAddress(QHostAddress::AnyIPv4), 0)) {
        Finish(Failure::Socket, socket_->errorString());
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, &Device_Reader::On_Ready_Read);
    clock_.start();
    attempts_ = 1;
    socket_->writeDatagram(Who_Is(), to_.address, to_.port);
    emit Looking(attempts_, 0);
    timer_->start(std::min(timing_.apdu_timeout_ms, timing_.find_ms));
}

void Device_Reader::Cancel()
{
    if (Running())
        Finish(Failure::Cancelled);
}

void Device_Reader::Finish(Failure failure, const QString &detail)
{
    step_ = Step::Done;
    timer_->stop();
    if (socket_)
        socket_->close();
    const Outcome outcome{failure, detail, device_};
    // Told on the event loop, so that a caller that starts and then waits
    // always hears it.
    QMetaObject::invokeMethod(
        this, [this, outcome] { emit Finished(outcome); }, Qt::QueuedConnection);
}

void Device_Reader::On_Timer()
{
    if (step_ == Step::Finding) {
        const qint64 elapsed = clock_.elapsed();
        if (elapsed >= timing_.find_ms) {
            Finish(Failure::No_Answer);
            return;
        }
        ++attempts_;
        socket_->writeDatagram(Who_Is(), to_.address, to_.port);
        emit Looking(attempts_, int(elapsed));
        timer_->start(int(std::min<qint64>(timing_.apdu_timeout_ms, timing_.find_ms - elapsed)));
        return;
    }
    if (!Running())
        return;
    if (attempts_ > timing_.retries) {
        Finish(Failure::No_Answer, QStringLiteral("no answer to request %1").arg(invoke_));
        return;
    }
    ++attempts_;
    socket_->writeDatagram(request_, device_.address.address, device_.address.port);
    timer_->start(timing_.apdu_timeout_ms);
}

void Device_Reader::On_Ready_Read()
{
    while (Running() && socket_->hasPendingDatagrams()) {
        const QNetworkDatagram d = socket_->receiveDatagram(Device_Server::Max_Datagram + 1);
        // Only the converter's address is heard; anything else on the port is not its answer.
        if (d.senderAddress().toIPv4Address() != to_.address.toIPv4Address())
            continue;
        if (step_ != Step::Finding && quint16(d.senderPort()) != device_.address.port)
            continue;
        const QByteArray bytes = d.data();
        const auto reply = bytes.size() > Device_Server::Max_Datagram ? std::nullopt : Parse_Reply(bytes);
        if (!reply) {
            Finish(Failure::Garbage, QStringLiteral("a datagram that is not a BACnet/IP reply (%1 octets: %2)")
                                         .arg(bytes.size())
                                         .arg(QString::fromLatin1(bytes.left(32).toHex(' '))));
            return;
        }
        Handle(*reply, {d.senderAddress(), quint16(d.senderPort())});
    }
}

void Device_Reader::Handle(const Reply &reply, const BIP_Address &from)
{
    if (step_ == Step::Finding) {
        if (reply.kind != Reply::Kind::I_Am)
            return;
        device_.instance = reply.device;
        device_.address = from;
        if (expected_ && reply.device != *expected_) {
            Finish(Failure::Other_Device, QString::number(reply.device));
            return;
        }
        step_ = Step::Name;
        Send_Request();
        return;
    }
    if (reply.kind == Reply::Kind::I_Am || reply.kind == Reply::Kind::Other)
        return; // a repeated I-Am, or a request of its own
    if (reply.invoke != invoke_)
        return; // the late answer to a request sent again
    const std::uint32_t device_id = bacnet::Object_Id(Device_Type_Code, device_.instance);
    const auto refused = [&](const QString &what) {
        const QString why = reply.kind == Reply::Kind::Error
                                ? QStringLiteral("error %1/%2").arg(reply.error_class).arg(reply.reason)
                            : reply.kind == Reply::Kind::Reject ? QStringLiteral("reject %1").arg(reply.reason)
                            : reply.kind == Reply::Kind::Abort  ? QStringLiteral("abort %1").arg(reply.reason)
                                                                : QStringLiteral("a malformed reply");
        Finish(reply.kind == Reply::Kind::Complex_Ack ? Failure::Garbage : Failure::Refused,
               QStringLiteral("%1: %2").arg(what, why));
    };
    switch (step_) {
    case Step::Name: {
        const auto p = Parse_Read_Property_Ack(reply, device_id, Prop_Object_Name);
        const auto name = p ? Single(*p, BACnet_Value::Kind::Character_String) : std::nullopt;
        if (!name)
            return refused(QStringLiteral("device object-name"));
        device_.name = name->text;
        step_ = Step::List_Whole;
        break;
    }
    case Step::List_Whole: {
        if (reply.kind == Reply::Kind::Abort && reply.reason == Abort_Segmentation_Not_Supported) {
            step_ = Step::List_Count;
            break;
        }
        const auto p = Parse_Read_Property_Ack(reply, device_id, Prop_Object_List);
        if (!p || p->error || p->index || p->values.size() > Max_Objects + 1)
            return refused(QStringLiteral("device object-list"));
        for (const BACnet_Value &v : p->values) {
            if (v.kind != BACnet_Value::Kind::Object_Id)
                return refused(QStringLiteral("device object-list"));
            if (bacnet::Object_Id_Type(std::uint32_t(v.u)) != Device_Type_Code)
                device_.objects.append({std::uint32_t(v.u), {}, {}, {}});
        }
        step_ = Step::Objects;
        break;
    }
    case Step::List_Count: {
        const auto p = Parse_Read_Property_Ack(reply, device_id, Prop_Object_List);
        const auto count = p ? Single(*p, BACnet_Value::Kind::Unsigned) : std::nullopt;
        if (!count || count->u > Max_Objects + 1)
            return refused(QStringLiteral("device object-list length"));
        list_count_ = std::uint32_t(count->u);
        list_index_ = 1;
        step_ = list_count_ == 0 ? Step::Objects : Step::List_Item;
        break;
    }
    case Step::List_Item: {
        const auto p = Parse_Read_Property_Ack(reply, device_id, Prop_Object_List);
        const auto id = p && p->index == list_index_ ? Single(*p, BACnet_Value::Kind::Object_Id) : std::nullopt;
        if (!id)
            return refused(QStringLiteral("device object-list[%1]").arg(list_index_));
        if (bacnet::Object_Id_Type(std::uint32_t(id->u)) != Device_Type_Code)
            device_.objects.append({std::uint32_t(id->u), {}, {}, {}});
        if (++list_index_ > list_count_)
            step_ = Step::Objects;
        break;
    }
    case Step::Objects:
        if (!Take_Object_Result(reply))
            return refused(QStringLiteral("object %1,%2")
                               .arg(bacnet::Object_Id_Type(device_.objects[object_].id))
                               .arg(bacnet::Object_Id_Instance(device_.objects[object_].id)));
        if (!Running())
            return;
        break;
    default:
        return;
    }
    Next_Request();
}

// One answer about the object being read; false when it cannot be taken.
bool Device_Reader::Take_Object_Result(const Reply &reply)
{
    Wire_Object &o = device_.objects[object_];
    if (multiple_) {
        if (reply.kind == Reply::Kind::Reject || reply.kind == Reply::Kind::Abort ||
            (reply.kind == Reply::Kind::Error && reply.service == 14)) {
            // A device without ReadPropertyMultiple: one property at a time.
            multiple_ = false;
            object_part_ = 0;
            return true;
        }
        const auto results = Parse_Read_Property_Multiple_Ack(reply, o.id);
        if (!results)
            return false;
        for (const Property_Result &p : *results) {
            if (p.property == Prop_Object_Type) {
                if (const auto v = Single(p, BACnet_Value::Kind::Enumerated))
                    o.type = int(v->u);
            } else if (p.property == Prop_Object_Name) {
                if (const auto v = Single(p, BACnet_Value::Kind::Character_String))
                    o.name = v->text;
            } else if (p.property == Prop_Units) {
                if (const auto v = Single(p, BACnet_Value::Kind::Enumerated))
                    o.units = std::uint32_t(v->u);
            }
        }
        Advance_Object();
        return true;
    }
    if (reply.kind == Reply::Kind::Error) {
        // This object has not that property: it stays none.
    } else {
        const std::uint32_t property = object_part_ == 0   ? Prop_Object_Type
                                       : object_part_ == 1 ? Prop_Object_Name
                                                           : Prop_Units;
        const auto p = Parse_Read_Property_Ack(reply, o.id, property);
        if (!p)
            return false;
        if (object_part_ == 1) {
            if (const auto v = Single(*p, BACnet_Value::Kind::Character_String))
                o.name = v->text;
        } else if (const auto v = Single(*p, BACnet_Value::Kind::Enumerated)) {
            if (object_part_ == 0)
                o.type = int(v->u);
            else
                o.units = std::uint32_t(v->u);
        }
    }
    if (++object_part_ == 3) {
        object_part_ = 0;
        Advance_Object();
    }
    return true;
}

void Device_Reader::Advance_Object()
{
    ++object_;
    emit Reading(object_, int(device_.objects.size()));
}

void Device_Reader::Next_Request()
{
    if (step_ == Step::Objects && object_ >= device_.objects.size()) {
        Finish(Failure::None);
        return;
    }
    Send_Request();
}

void Device_Reader::Send_Request()
{
    const std::uint32_t device_id = bacnet::Object_Id(Device_Type_Code, device_.instance);
    ++invoke_;
    switch (step_) {
    case Step::Name:
        request_ = Read_Property(invoke_, device_id, Prop_Object_Name);
        break;
    case Step::List_Whole:
        request_ = Read_Property(invoke_, device_id, Prop_Object_List);
        break;
    case Step::List_Count:
        request_ = Read_Property(invoke_, device_id, Prop_Object_List, 0);
        break;
    case Step::List_Item:
        request_ = Read_Property(invoke_, device_id, Prop_Object_List, list_index_);
        break;
    case Step::Objects: {
        const std::uint32_t id = device_.objects[object_].id;
        if (multiple_)
            request_ = Read_Property_Multiple(invoke_, id, {Prop_Object_Type, Prop_Object_Name, Prop_Units});
        else
            request_ = Read_Property(invoke_, id,
                                     object_part_ == 0   ? Prop_Object_Type
                                     : object_part_ == 1 ? Prop_Object_Name
                                                         : Prop_Units);
        break;
    }
    default:
        return;
    }
    attempts_ = 1;
    socket_->writeDatagram(request_, device_.address.address, device_.address.port);
    timer_->start(timing_.apdu_timeout_ms);
}
