#include "bacnet/device_server.h"

#include "bacnet/bacnet_codec.h"
#include "bacnet/bacnet_messages.h"
#include "core/messages.h"
#include "core/object_catalogue.h"
#include "core/version.h"

using namespace bacnet;

namespace {

using Kind = BACnet_Value::Kind;

// Object types, properties, services, errors and reasons by their standard numbers.
constexpr int Device_Type = 8;
constexpr std::uint32_t Wildcard_Instance = 4194303;

enum Property : std::uint32_t {
    Prop_All = 8,
    Prop_Application_Software_Version = 12,
    Prop_APDU_Timeout = 11,
    Prop_Description = 28,
    Prop_Device_Address_Binding = 30,
    Prop_Event_State = 36,
    Prop_Firmware_Revision = 44,
    Prop_Max_APDU_Length_Accepted = 62,
    Prop_Model_Name = 70,
    Prop_Number_Of_APDU_Retries = 73,
    Prop_Number_Of_States = 74,
    Prop_Object_Identifier = 75,
    Prop_Object_List = 76,
    Prop_Object_Name = 77,
    Prop_Object_Type = 79,
    Prop_Optional = 80,
    Prop_Out_Of_Service = 81,
    Prop_Polarity = 84,
    Prop_Present_Value = 85,
    Prop_Priority_Array = 87,
    Prop_Protocol_Object_Types_Supported = 96,
    Prop_Protocol_Services_Supported = 97,
    Prop_Protocol_Version = 98,
    Prop_Relinquish_Default = 104,
    Prop_Required = 105,
    Prop_Segmentation_Supported = 107,
    Prop_Status_Flags = 111,
    Prop_System_Status = 112,
    Prop_Units = 117,
    Prop_Vendor_Identifier = 120,
    Prop_Vendor_Name = 121,
    Prop_Protocol_Revision = 139,
    Prop_Database_Revision = 155,
};

enum Service : int {
    Service_Subscribe_COV = 5,
    Service_Read_Property = 12,
    Service_Read_Property_Multiple = 14,
    Service_Write_Property = 15,
    Service_I_Am = 0,
    Service_I_Have = 1,
    Service_Unconfirmed_COV_Notification = 2,
    Service_Who_Has = 7,
    Service_Who_Is = 8,
};

enum Error_Class : std::uint32_t { Class_Object = 1, Class_Property = 2, Class_Resources = 3, Class_Services = 5 };
enum Error_Code : std::uint32_t {
    Code_Other = 0,
    Code_Invalid_Data_Type = 9,
    Code_No_Space_To_Add_List_Element = 19,
    Code_Unknown_Object = 31,
    Code_Unknown_Property = 32,
    Code_Value_Out_Of_Range = 37,
    Code_Write_Access_Denied = 40,
    Code_Invalid_Array_Index = 42,
    Code_Optional_Functionality_Not_Supported = 45,
    Code_Property_Is_Not_An_Array = 50,
};
enum Reject_Reason : int {
    Reject_Invalid_Tag = 4,
    Reject_Missing_Required_Parameter = 5,
    Reject_Parameter_Out_Of_Range = 6,
    Reject_Too_Many_Arguments = 7,
    Reject_Unrecognized_Service = 9,
};
constexpr int Abort_Segmentation_Not_Supported = 4;

// The sizes the two-bit-per-value max-APDU code of a confirmed request names.
int Max_APDU_Of(int code)
{
    static const int sizes[] = {50, 128, 206, 480, 1024, 1476};
    return code < 6 ? sizes[code] : 50;
}

QString Type_Name(int type)
{
    if (type == Device_Type)
        return QStringLiteral("device");
    for (const Object_Type &t : Object_Catalogue)
        if (t.bacnet_code == type)
            return QString::fromLatin1(t.device_text).toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
    return QStringLiteral("type-%1").arg(type);
}

QString Property_Name(std::uint32_t p)
{
    switch (p) {
    case Prop_All:
        return QStringLiteral("all");
    case Prop_Required:
        return QStringLiteral("required");
    case Prop_Optional:
        return QStringLiteral("optional");
    case Prop_Present_Value:
        return QStringLiteral("present-value");
    case Prop_Object_Name:
        return QStringLiteral("object-name");
    case Prop_Object_List:
        return QStringLiteral("object-list");
    case Prop_Priority_Array:
        return QStringLiteral("priority-array");
    default:
        return QStringLiteral("property-%1").arg(p);
    }
}

QString Error_Text(std::uint32_t error_class, std::uint32_t code)
{
    static const char *classes[] = {"device", "object", "property", "resources", "security", "services"};
    QString c = error_class < 6 ? QString::fromLatin1(classes[error_class]) : QString::number(error_class);
    QString n;
    switch (code) {
    case Code_Invalid_Data_Type:
        n = QStringLiteral("invalid-data-type");
        break;
    case Code_Unknown_Object:
        n = QStringLiteral("unknown-object");
        break;
    case Code_Unknown_Property:
        n = QStringLiteral("unknown-property");
        break;
    case Code_Value_Out_Of_Range:
        n = QStringLiteral("value-out-of-range");
        break;
    case Code_Write_Access_Denied:
        n = QStringLiteral("write-access-denied");
        break;
    case Code_Invalid_Array_Index:
        n = QStringLiteral("invalid-array-index");
        break;
    case Code_Optional_Functionality_Not_Supported:
        n = QStringLiteral("optional-functionality-not-supported");
        break;
    case Code_Property_Is_Not_An_Array:
        n = QStringLiteral("property-is-not-an-array");
        break;
    case Code_No_Space_To_Add_List_Element:
        n = QStringLiteral("no-space-to-add-list-element");
        break;
    default:
        n = QString::number(code);
    }
    return QStringLiteral("error %1/%2").arg(c, n);
}

QString Reject_Text(int reason)
{
    switch (reason) {
    case Reject_Invalid_Tag:
        return QStringLiteral("reject invalid-tag");
    case Reject_Missing_Required_Parameter:
        return QStringLiteral("reject missing-required-parameter");
    case Reject_Parameter_Out_Of_Range:
        return QStringLiteral("reject parameter-out-of-range");
    case Reject_Too_Many_Arguments:
        return QStringLiteral("reject too-many-arguments");
    case Reject_Unrecognized_Service:
        return QStringLiteral("reject unrecognized-service");
    default:
        return QStringLiteral("reject %1").arg(reason);
    }
}

QByteArray Bits(int count, std::initializer_list<int> set)
{
    QByteArray bytes((count + 7) / 8, '\0');
    for (const int bit : set)
        bytes[bit / 8] = char(std::uint8_t(bytes[bit / 8]) | (0x80 >> (bit % 8)));
    return bytes;
}

bool Is_Analog_Unit(Object_Kind k)
{
    switch (k) {
    case Object_Kind::Analog_Input:
    case Object_Kind::Analog_Out:
    case Object_Kind::Analog_Value:
    case Object_Kind::Large_Analog_Value:
    case Object_Kind::Integer_Value:
    case Object_Kind::Positive_Integer_Value:
    case Object_Kind::Accumulator:
        return true;
    default:
        return false;
    }
}

bool Is_Multi_State(Object_Kind k)
{
    return k == Object_Kind::Multi_State_Input || k == Object_Kind::Multi_State_Output ||
           k == Object_Kind::Multi_State_Value;
}

void Append_Present_Value(QByteArray &out, const BACnet_Value &v)
{
    if (v.kind == Kind::Date) { // a date-time value: date then time
        Append_Value(out, v);
        BACnet_Value time = v;
        time.kind = Kind::Time;
        Append_Value(out, time);
        return;
    }
    Append_Value(out, v);
}

} // namespace

QString BIP_Address::Text() const
{
    return QStringLiteral("%1:%2").arg(address.toString()).arg(port);
}

// One confirmed request: where it came from, its header and its service
// data, and what is answered.
struct Device_Server::Request
{
    Request(const QByteArray &bytes, Route route)
        : apdu(bytes)
        , from(std::move(route))
    {}

    const QByteArray &apdu;
    Route from;
    int invoke = 0;
    int service = 0;
    int max_apdu = 50;
    int data = 0; // where the service data starts in apdu
    qint64 now_ms = 0;
    QByteArray answer; // the reply APDU; empty for none
    QString what;
    QString result;
    QList<QByteArray> after; // APDUs sent after the answer (the first COV notification)

    void Reject(int reason)
    {
        answer = QByteArray();
        answer.append(char(0x60));
        answer.append(char(invoke));
        answer.append(char(reason));
        result = Reject_Text(reason);
    }
    void Error(std::uint32_t error_class, std::uint32_t code)
    {
        answer = QByteArray();
        answer.append(char(0x50));
        answer.append(char(invoke));
        answer.append(char(service));
        Append_Value(answer, BACnet_Value::Of_Enumerated(error_class));
        Append_Value(answer, BACnet_Value::Of_Enumerated(code));
        result = Error_Text(error_class, code);
    }
    void Simple_Ack()
    {
        answer = QByteArray();
        answer.append(char(0x20));
        answer.append(char(invoke));
        answer.append(char(service));
        result = QStringLiteral("ok");
    }
    void Abort(int reason)
    {
        answer = QByteArray();
        answer.append(char(0x71)); // from the server
        answer.append(char(invoke));
        answer.append(char(reason));
        result = reason == Abort_Segmentation_Not_Supported ? QStringLiteral("abort segmentation-not-supported")
                                                            : QStringLiteral("abort %1").arg(reason);
    }
    QByteArray Complex_Ack_Header() const
    {
        QByteArray h;
        h.append(char(0x30));
        h.append(char(invoke));
        h.append(char(service));
        return h;
    }
};

Device_Server::Device_Server(Served_Device device)
    : device_(std::move(device))
{
    for (int i = 0; i < device_.objects.size(); ++i) {
        const Served_Object &o = device_.objects.at(i);
        by_id_.insert(Object_Id(o.type_code, o.instance), i);
    }
    priorities_.resize(std::size_t(device_.objects.size()));
    shown_.reserve(std::size_t(device_.objects.size()));
    for (int i = 0; i < device_.objects.size(); ++i)
        shown_.push_back(Present_Value(i));
}

BACnet_Value Device_Server::Present_Value(int index) const
{
    return Read_Present_Value(device_.objects.at(index), areas_);
}

Result<> Device_Server::Set_Input_Raw(int index, std::int64_t raw)
{
    if (index < 0 || index >= device_.objects.size())
        return Fail(Messages().Get(Msg_Serve_No_Object).arg(index));
    const Served_Object &o = device_.objects.at(index);
    if (o.write)
        return Fail(Messages().Get(Msg_Serve_Not_Input).arg(Object_Text(index)));
    if (Store_Raw(o, raw, areas_) != Store_Outcome::Stored)
        return Fail(Messages().Get(Msg_Serve_Raw_Out_Of_Range).arg(raw).arg(Object_Text(index)));
    dirty_ = true;
    return {};
}

QString Device_Server::Object_Text(int object) const
{
    if (object < 0)
        return QStringLiteral("device,%1").arg(device_.instance);
    const Served_Object &o = device_.objects.at(object);
    return QStringLiteral("%1,%2").arg(Type_Name(o.type_code)).arg(o.instance);
}

std::optional<int> Device_Server::Find(std::uint32_t id) const
{
    if (Object_Id_Type(id) == Device_Type) {
        const std::uint32_t instance = Object_Id_Instance(id);
        if (instance == device_.instance || instance == Wildcard_Instance)
            return -1;
        return std::nullopt;
    }
    const auto it = by_id_.constFind(id);
    if (it == by_id_.cend())
        return std::nullopt;
    return *it;
}

QByteArray Device_Server::Frame(const Route &route, const QByteArray &apdu) const
{
    QByteArray f;
    f.reserve(apdu.size() + 16);
    f.append(char(0x81));
    f.append(char(0x0A)); // original-unicast
    f.append(char(0));
    f.append(char(0));
    f.append(char(0x01)); // NPDU version
    if (route.network) {
        f.append(char(0x20)); // destination present
        f.append(char(*route.network >> 8));
        f.append(char(*route.network & 0xFF));
        f.append(char(route.mac.size()));
        f.append(route.mac);
        f.append(char(0xFF)); // hop count
    } else {
        f.append(char(0x00));
    }
    f.append(apdu);
    f[2] = char(f.size() >> 8);
    f[3] = char(f.size() & 0xFF);
    return f;
}

QByteArray Device_Server::I_Am() const
{
    QByteArray a;
    a.append(char(0x10));
    a.append(char(Service_I_Am));
    Append_Value(a, BACnet_Value::Of_Object_Id(Device_Type, device_.instance));
    Append_Value(a, BACnet_Value::Of_Unsigned(Max_APDU));
    Append_Value(a, BACnet_Value::Of_Enumerated(3)); // no-segmentation
    Append_Value(a, BACnet_Value::Of_Unsigned(Vendor_Identifier));
    return a;
}

Device_Server::Handled Device_Server::Handle(const QByteArray &datagram, const BIP_Address &from, qint64 now_ms)
{
    Handled out;
    const auto drop = [&](const char *why) {
        out.line =
            Messages()
                .Get(Msg_Serve_Traffic)
                .arg(from.Text(), QStringLiteral("?"), QStringLiteral("dropped: %1").arg(QLatin1StringView(why)));
        return out;
    };
    const int size = int(datagram.size());
    if (size < 4 || size > Max_Datagram || std::uint8_t(datagram[0]) != 0x81)
        return drop("not a BACnet/IP frame");
    const auto byte = [&](int at) { return std::uint8_t(datagram[at]); };
    if ((byte(2) << 8 | byte(3)) != size)
        return drop("BVLC length differs from the datagram");
    Route route;
    route.to = from;
    int at = 4;
    switch (byte(1)) {
    case 0x0A: // original-unicast
    case 0x0B: // original-broadcast
        break;
    case 0x04: // forwarded-NPDU: answered to the address it was first sent from
        if (size < 10)
            return drop("short forwarded-NPDU");
        route.to.address = QHostAddress(quint32(byte(4) << 24 | byte(5) << 16 | byte(6) << 8 | byte(7)));
        route.to.port = quint16(byte(8) << 8 | byte(9));
        at = 10;
        break;
    case 0x01:
    case 0x02:
    case 0x05:
    case 0x06:
    case 0x08:
    case 0x09: {
        // The broadcast-management functions of a BBMD, which this device is not.
        int nak = 0;
        switch (byte(1)) {
        case 0x01: // write-broadcast-distribution-table
            nak = 0x10;
            break;
        case 0x02: // read-broadcast-distribution-table
            nak = 0x20;
            break;
        case 0x05: // register-foreign-device
            nak = 0x30;
            break;
        case 0x06: // read-foreign-device-table
            nak = 0x40;
            break;
        case 0x08: // delete-foreign-device-table-entry
            nak = 0x50;
            break;
        default: // distribute-broadcast-to-network
            nak = 0x60;
        }
        const QByteArray result{"\x81\x00\x00\x06\x00", 5};
        QByteArray r = result;
        r.append(char(nak));
        out.replies.append({from, r});
        out.line = Messages()
                       .Get(Msg_Serve_Traffic)
                       .arg(from.Text(), QStringLiteral("BVLC function %1").arg(byte(1)),
                            QStringLiteral("result NAK %1").arg(nak));
        return out;
    }
    default:
        return drop("BVLC function not answered");
    }
    // The NPDU.
    if (size - at < 2 || byte(at) != 0x01)
        return drop("not an NPDU of version 1");
    const std::uint8_t control = byte(at + 1);
    at += 2;
    if (control & 0x80)
        return drop("network-layer message");
    bool for_others = false;
    if (control & 0x20) {
        if (size - at < 3 || size - at < 3 + byte(at + 2))
            return drop("short NPDU");
        const int dnet = byte(at) << 8 | byte(at + 1);
        for_others = dnet != 0xFFFF;
        at += 3 + byte(at + 2);
    }
    if (control & 0x08) {
        if (size - at < 3 || byte(at + 2) == 0 || size - at < 3 + byte(at + 2))
            return drop("short NPDU");
        route.network = std::uint16_t(byte(at) << 8 | byte(at + 1));
        route.mac = datagram.mid(at + 3, byte(at + 2));
        at += 3 + byte(at + 2);
    }
    if (control & 0x20) {
        if (size - at < 1)
            return drop("short NPDU");
        ++at; // hop count
    }
    if (for_others)
        return out; // for another network: no routing here
    if (size - at < 1)
        return drop("no APDU");
    const int type = byte(at) >> 4;
    if (type == 1) {
        Handle_Unconfirmed(datagram, at, route, out);
        return out;
    }
    if (type != 0)
        return drop("not a request");
    if (size - at < 4)
        return drop("short confirmed request");
    const QByteArray apdu = datagram.mid(at);
    Request r(apdu, route);
    r.invoke = std::uint8_t(apdu[2]);
    r.now_ms = now_ms;
    r.max_apdu = std::min(Max_APDU_Of(std::uint8_t(apdu[1]) & 0x0F), int(Max_APDU));
    if (std::uint8_t(apdu[0]) & 0x08) {
        // A segmented request, which this device cannot reassemble.
        r.service = apdu.size() > 5 ? std::uint8_t(apdu[5]) : 0;
        r.what = QStringLiteral("segmented request");
        r.Abort(Abort_Segmentation_Not_Supported);
    } else {
        r.service = std::uint8_t(apdu[3]);
        r.data = 4;
        Handle_Confirmed(r);
        if (r.answer.size() > r.max_apdu)
            r.Abort(Abort_Segmentation_Not_Supported);
    }
    out.replies.append({route.to, Frame(route, r.answer)});
    for (const QByteArray &apdu_after : r.after)
        out.replies.append({route.to, Frame(route, apdu_after)});
    out.line = Messages().Get(Msg_Serve_Traffic).arg(from.Text(), r.what, r.result);
    return out;
}

void Device_Server::Handle_Unconfirmed(const QByteArray &npdu, int at, const Route &from, Handled &out)
{
    const QString who = from.to.Text();
    if (npdu.size() - at < 2) {
        out.line = Messages().Get(Msg_Serve_Traffic).arg(who, QStringLiteral("?"), QStringLiteral("dropped: short"));
        return;
    }
    const int service = std::uint8_t(npdu[at + 1]);
    Tag_Reader reader(npdu, at + 2);
    std::optional<std::uint64_t> low, high;
    if (service == Service_Who_Is || service == Service_Who_Has) {
        if (reader.Next_Is_Context(0)) {
            low = reader.Read_Context_Unsigned(0);
            high = reader.Read_Context_Unsigned(1);
            if (!low || !high || *low > Wildcard_Instance || *high > Wildcard_Instance) {
                out.line = Messages()
                               .Get(Msg_Serve_Traffic)
                               .arg(who, QStringLiteral("who-is/who-has"), QStringLiteral("dropped: malformed range"));
                return;
            }
        }
    }
    const bool in_range = !low || (device_.instance >= *low && device_.instance <= *high);
    const QString range = low ? QStringLiteral(" %1-%2").arg(*low).arg(*high) : QString();
    if (service == Service_Who_Is) {
        if (!reader.At_End()) {
            out.line = Messages()
                           .Get(Msg_Serve_Traffic)
                           .arg(who, QStringLiteral("who-is"), QStringLiteral("dropped: malformed"));
            return;
        }
        if (in_range)
            out.replies.append({from.to, Frame(from, I_Am())});
        out.line = Messages()
                       .Get(Msg_Serve_Traffic)
                       .arg(who, QStringLiteral("who-is") + range,
                            in_range ? QStringLiteral("i-am device,%1").arg(device_.instance)
                                     : QStringLiteral("not in range"));
        return;
    }
    if (service == Service_Who_Has) {
        std::optional<std::uint32_t> id;
        std::optional<BACnet_Value> name;
        if (reader.Next_Is_Context(2))
            id = reader.Read_Context_Object_Id(2);
        else
            name = reader.Read_Context(3, Kind::Character_String);
        if ((!id && !name) || !reader.At_End()) {
            out.line = Messages()
                           .Get(Msg_Serve_Traffic)
                           .arg(who, QStringLiteral("who-has"), QStringLiteral("dropped: malformed"));
            return;
        }
        QList<int> found;
        if (in_range) {
            if (id) {
                if (const auto object = Find(*id);
                    object && (Object_Id_Type(*id) != Device_Type || Object_Id_Instance(*id) == device_.instance))
                    found.append(*object);
            } else {
                if (name->text == device_.name)
                    found.append(-1);
                for (int i = 0; i < device_.objects.size(); ++i)
                    if (device_.objects.at(i).name == name->text)
                        found.append(i);
            }
        }
        QStringList names;
        for (const int object : found) {
            QByteArray a;
            a.append(char(0x10));
            a.append(char(Service_I_Have));
            Append_Value(a, BACnet_Value::Of_Object_Id(Device_Type, device_.instance));
            if (object < 0) {
                Append_Value(a, BACnet_Value::Of_Object_Id(Device_Type, device_.instance));
                Append_Value(a, BACnet_Value::Of_Text(device_.name));
            } else {
                const Served_Object &o = device_.objects.at(object);
                Append_Value(a, BACnet_Value::Of_Object_Id(o.type_code, o.instance));
                Append_Value(a, BACnet_Value::Of_Text(o.name));
            }
            out.replies.append({from.to, Frame(from, a)});
            names.append(QStringLiteral("i-have ") + Object_Text(object));
        }
        const QString what =
            QStringLiteral("who-has ") +
            (id ? QStringLiteral("%1,%2").arg(Type_Name(Object_Id_Type(*id))).arg(Object_Id_Instance(*id))
                : QLatin1Char('"') + name->text + QLatin1Char('"')) +
            range;
        out.line = Messages()
                       .Get(Msg_Serve_Traffic)
                       .arg(who, what, names.isEmpty() ? QStringLiteral("not here") : names.join(QStringLiteral(", ")));
        return;
    }
    out.line = Messages()
                   .Get(Msg_Serve_Traffic)
                   .arg(who, QStringLiteral("unconfirmed service %1").arg(service), QStringLiteral("ignored"));
}

void Device_Server::Handle_Confirmed(Request &r)
{
    switch (r.service) {
    case Service_Read_Property:
        Read_Property(r);
        return;
    case Service_Read_Property_Multiple:
        Read_Property_Multiple(r);
        return;
    case Service_Write_Property:
        Write_Property(r);
        return;
    case Service_Subscribe_COV:
        Subscribe_COV(r);
        return;
    default:
        r.what = QStringLiteral("confirmed service %1").arg(r.service);
        r.Reject(Reject_Unrecognized_Service);
    }
}

namespace {

// Why a request's parameters could not be read: the reject reason.
int Malformed_Reason(const Tag_Reader &reader)
{
    return reader.At_End() ? Reject_Missing_Required_Parameter : Reject_Invalid_Tag;
}

} // namespace

void Device_Server::Read_Property(Request &r)
{
    r.what = QStringLiteral("read-property");
    Tag_Reader reader(r.apdu, r.data);
    const auto id = reader.Read_Context_Object_Id(0);
    if (!id)
        return r.Reject(Malformed_Reason(reader));
    const auto property = reader.Read_Context(1, Kind::Enumerated);
    if (!property)
        return r.Reject(Malformed_Reason(reader));
    std::optional<std::uint32_t> index;
    if (reader.Next_Is_Context(2)) {
        const auto i = reader.Read_Context_Unsigned(2);
        if (!i || *i > 0xFFFFFFFFu)
            return r.Reject(Reject_Parameter_Out_Of_Range);
        index = std::uint32_t(*i);
    }
    if (!reader.At_End())
        return r.Reject(Reject_Too_Many_Arguments);
    r.what =
        QStringLiteral("read-property %1,%2 %3%4")
            .arg(Type_Name(Object_Id_Type(*id)))
            .arg(Object_Id_Instance(*id))
            .arg(Property_Name(std::uint32_t(property->u)), index ? QStringLiteral("[%1]").arg(*index) : QString());
    const auto object = Find(*id);
    if (!object)
        return r.Error(Class_Object, Code_Unknown_Object);
    QByteArray value;
    std::uint32_t error_class = 0, error_code = 0;
    if (property->u == Prop_All || property->u == Prop_Required || property->u == Prop_Optional ||
        !Encode_Property(*object, std::uint32_t(property->u), index, value, &error_class, &error_code)) {
        if (error_class == 0)
            error_class = Class_Property, error_code = Code_Unknown_Property;
        return r.Error(error_class, error_code);
    }
    r.answer = r.Complex_Ack_Header();
    // The identifier as this device names itself (the wildcard instance answered).
    const std::uint32_t own = *object < 0 ? Object_Id(Device_Type, device_.instance) : *id;
    Append_Context_Object_Id(r.answer, 0, own);
    Append_Context_Enumerated(r.answer, 1, std::uint32_t(property->u));
    if (index)
        Append_Context_Unsigned(r.answer, 2, *index);
    Append_Opening(r.answer, 3);
    r.answer.append(value);
    Append_Closing(r.answer, 3);
    Tag_Reader shown(value);
    const auto first = shown.Read_Value();
    r.result = first && shown.At_End() ? first->Text() : QStringLiteral("%1 bytes").arg(value.size());
}

void Device_Server::Read_Property_Multiple(Request &r)
{
    r.what = QStringLiteral("read-property-multiple");
    struct Reference
    {
        std::uint32_t property;
        std::optional<std::uint32_t> index;
    };
    struct Specification
    {
        std::uint32_t id;
        QList<Reference> references;
    };
    QList<Specification> specifications;
    Tag_Reader reader(r.apdu, r.data);
    int references = 0;
    do {
        Specification s;
        const auto id = reader.Read_Context_Object_Id(0);
        if (!id || !reader.Read_Opening(1))
            return r.Reject(Malformed_Reason(reader));
        s.id = *id;
        while (!reader.Next_Is_Closing(1)) {
            const auto property = reader.Read_Context(0, Kind::Enumerated);
            if (!property)
                return r.Reject(Malformed_Reason(reader));
            Reference ref{std::uint32_t(property->u), std::nullopt};
            if (reader.Next_Is_Context(1)) {
                const auto i = reader.Read_Context_Unsigned(1);
                if (!i || *i > 0xFFFFFFFFu)
                    return r.Reject(Reject_Parameter_Out_Of_Range);
                ref.index = std::uint32_t(*i);
            }
            s.references.append(ref);
            ++references;
        }
        reader.Read_Closing(1);
        if (s.references.isEmpty())
            return r.Reject(Reject_Missing_Required_Parameter);
        specifications.append(s);
    } while (!reader.At_End());

    r.answer = r.Complex_Ack_Header();
    int errors = 0;
    for (const Specification &s : specifications) {
        const auto object = Find(s.id);
        const std::uint32_t own = object && *object < 0 ? Object_Id(Device_Type, device_.instance) : s.id;
        Append_Context_Object_Id(r.answer, 0, own);
        Append_Opening(r.answer, 1);
        for (const Reference &ref : s.references) {
            const bool group =
                ref.property == Prop_All || ref.property == Prop_Required || ref.property == Prop_Optional;
            const auto error = [&](std::uint32_t property, std::uint32_t error_class, std::uint32_t code) {
                Append_Context_Enumerated(r.answer, 2, property);
                if (ref.index && !group)
                    Append_Context_Unsigned(r.answer, 3, *ref.index);
                Append_Opening(r.answer, 5);
                Append_Value(r.answer, BACnet_Value::Of_Enumerated(error_class));
                Append_Value(r.answer, BACnet_Value::Of_Enumerated(code));
                Append_Closing(r.answer, 5);
                ++errors;
            };
            if (!object) {
                error(ref.property, Class_Object, Code_Unknown_Object);
                continue;
            }
            const QList<std::uint32_t> properties = group ? Properties(*object, ref.property) : QList{ref.property};
            for (const std::uint32_t p : properties) {
                QByteArray value;
                std::uint32_t error_class = 0, error_code = 0;
                if (!Encode_Property(*object, p, group ? std::nullopt : ref.index, value, &error_class, &error_code)) {
                    error(p, error_class, error_code);
                    continue;
                }
                Append_Context_Enumerated(r.answer, 2, p);
                if (ref.index && !group)
                    Append_Context_Unsigned(r.answer, 3, *ref.index);
                Append_Opening(r.answer, 4);
                r.answer.append(value);
                Append_Closing(r.answer, 4);
            }
        }
        Append_Closing(r.answer, 1);
    }
    r.what = QStringLiteral("read-property-multiple %1 object(s), %2 reference(s)")
                 .arg(specifications.size())
                 .arg(references);
    r.result = errors ? QStringLiteral("ack, %1 error(s)").arg(errors) : QStringLiteral("ack");
}

void Device_Server::Write_Property(Request &r)
{
    r.what = QStringLiteral("write-property");
    Tag_Reader reader(r.apdu, r.data);
    const auto id = reader.Read_Context_Object_Id(0);
    if (!id)
        return r.Reject(Malformed_Reason(reader));
    const auto property = reader.Read_Context(1, Kind::Enumerated);
    if (!property)
        return r.Reject(Malformed_Reason(reader));
    std::optional<std::uint32_t> index;
    if (reader.Next_Is_Context(2)) {
        const auto i = reader.Read_Context_Unsigned(2);
        if (!i || *i > 0xFFFFFFFFu)
            return r.Reject(Reject_Parameter_Out_Of_Range);
        index = std::uint32_t(*i);
    }
    if (!reader.Read_Opening(3))
        return r.Reject(Malformed_Reason(reader));
    QList<BACnet_Value> values;
    bool constructed = false; // a constructed or context-tagged value: no served property takes one
    while (!reader.Next_Is_Closing(3)) {
        if (const auto v = reader.Read_Value()) {
            values.append(*v);
            continue;
        }
        if (!reader.Skip())
            return r.Reject(Malformed_Reason(reader));
        constructed = true;
    }
    reader.Read_Closing(3);
    std::optional<std::uint64_t> priority;
    if (reader.Next_Is_Context(4)) {
        priority = reader.Read_Context_Unsigned(4);
        if (!priority || *priority < 1 || *priority > 16)
            return r.Reject(Reject_Parameter_Out_Of_Range);
    }
    if (!reader.At_End())
        return r.Reject(Reject_Too_Many_Arguments);
    r.what = QStringLiteral("write-property %1,%2 %3 = %4%5")
                 .arg(Type_Name(Object_Id_Type(*id)))
                 .arg(Object_Id_Instance(*id))
                 .arg(Property_Name(std::uint32_t(property->u)),
                      values.size() == 1 ? values.first().Text() : QStringLiteral("%1 values").arg(values.size()),
                      priority ? QStringLiteral(" @%1").arg(*priority) : QString());
    const auto object = Find(*id);
    if (!object)
        return r.Error(Class_Object, Code_Unknown_Object);
    const bool known = Properties(*object, Prop_All).contains(std::uint32_t(property->u));
    if (!known)
        return r.Error(Class_Property, Code_Unknown_Property);
    if (*object < 0 || property->u != Prop_Present_Value || !device_.objects.at(*object).write)
        return r.Error(Class_Property, Code_Write_Access_Denied);
    if (index)
        return r.Error(Class_Property, Code_Property_Is_Not_An_Array);
    if (constructed || values.size() != 1)
        return r.Error(Class_Property, Code_Invalid_Data_Type);
    const Served_Object &o = device_.objects.at(*object);
    const BACnet_Value &value = values.first();
    if (o.Commandable()) {
        const int slot = int(priority.value_or(16)) - 1;
        if (slot == 5) // priority 6, minimum on/off, is the device's own
            return r.Error(Class_Property, Code_Write_Access_Denied);
        if (value.kind != Kind::Null) {
            Data_Areas trial = areas_;
            const Store_Outcome outcome = Store_Present_Value(o, value, trial);
            if (outcome == Store_Outcome::Wrong_Type)
                return r.Error(Class_Property, Code_Invalid_Data_Type);
            if (outcome == Store_Outcome::Out_Of_Range)
                return r.Error(Class_Property, Code_Value_Out_Of_Range);
            priorities_[std::size_t(*object)][std::size_t(slot)] = value;
        } else {
            priorities_[std::size_t(*object)][std::size_t(slot)].reset();
        }
        const Store_Outcome outcome = Store_Present_Value(o, Effective_Value(*object), areas_);
        Q_UNUSED(outcome); // each value in the array was tried before it went in
    } else {
        const Store_Outcome outcome = Store_Present_Value(o, value, areas_);
        if (outcome == Store_Outcome::Wrong_Type)
            return r.Error(Class_Property, Code_Invalid_Data_Type);
        if (outcome == Store_Outcome::Out_Of_Range)
            return r.Error(Class_Property, Code_Value_Out_Of_Range);
    }
    dirty_ = true;
    r.Simple_Ack();
}

BACnet_Value Device_Server::Effective_Value(int object) const
{
    for (const auto &slot : priorities_[std::size_t(object)])
        if (slot)
            return *slot;
    return Relinquish_Default(device_.objects.at(object));
}

void Device_Server::Subscribe_COV(Request &r)
{
    r.what = QStringLiteral("subscribe-cov");
    Tag_Reader reader(r.apdu, r.data);
    const auto process = reader.Read_Context_Unsigned(0);
    if (!process)
        return r.Reject(Malformed_Reason(reader));
    if (*process > 0xFFFFFFFFu)
        return r.Reject(Reject_Parameter_Out_Of_Range);
    const auto id = reader.Read_Context_Object_Id(1);
    if (!id)
        return r.Reject(Malformed_Reason(reader));
    std::optional<BACnet_Value> confirmed;
    std::optional<std::uint64_t> lifetime;
    if (reader.Next_Is_Context(2)) {
        confirmed = reader.Read_Context(2, Kind::Boolean);
        if (!confirmed)
            return r.Reject(Reject_Invalid_Tag);
    }
    if (reader.Next_Is_Context(3)) {
        lifetime = reader.Read_Context_Unsigned(3);
        if (!lifetime || *lifetime > 0xFFFFFFFFu)
            return r.Reject(Reject_Parameter_Out_Of_Range);
    }
    if (!reader.At_End())
        return r.Reject(Reject_Too_Many_Arguments);
    if (confirmed.has_value() != lifetime.has_value() && !confirmed)
        return r.Reject(Reject_Missing_Required_Parameter);
    const bool cancel = !confirmed && !lifetime;
    r.what = QStringLiteral("subscribe-cov %1,%2 process %3%4")
                 .arg(Type_Name(Object_Id_Type(*id)))
                 .arg(Object_Id_Instance(*id))
                 .arg(*process)
                 .arg(cancel ? QStringLiteral(" cancel") : QStringLiteral(" for %1 s").arg(lifetime.value_or(0)));
    const auto object = Find(*id);
    if (!object)
        return r.Error(Class_Object, Code_Unknown_Object);
    if (*object < 0)
        return r.Error(Class_Object, Code_Optional_Functionality_Not_Supported);
    const auto same = [&](const Subscription &s) {
        return s.subscriber.to == r.from.to && s.subscriber.network == r.from.network &&
               s.subscriber.mac == r.from.mac && s.process == *process && s.object == *object;
    };
    subscriptions_.removeIf(
        [&](const Subscription &s) { return same(s) || (s.expires_ms != 0 && s.expires_ms <= r.now_ms); });
    if (cancel)
        return r.Simple_Ack();
    if (confirmed->u)
        return r.Error(Class_Services, Code_Optional_Functionality_Not_Supported);
    if (subscriptions_.size() >= Max_Subscriptions)
        return r.Error(Class_Resources, Code_No_Space_To_Add_List_Element);
    Subscription s{r.from, std::uint32_t(*process), *object, *lifetime == 0 ? 0 : r.now_ms + qint64(*lifetime) * 1000};
    subscriptions_.append(s);
    r.Simple_Ack();
    r.after.append(COV_Notification(s, r.now_ms));
}

QByteArray Device_Server::COV_Notification(const Subscription &s, qint64 now_ms) const
{
    const Served_Object &o = device_.objects.at(s.object);
    QByteArray a;
    a.append(char(0x10));
    a.append(char(Service_Unconfirmed_COV_Notification));
    Append_Context_Unsigned(a, 0, s.process);
    Append_Context_Object_Id(a, 1, Object_Id(Device_Type, device_.instance));
    Append_Context_Object_Id(a, 2, Object_Id(o.type_code, o.instance));
    Append_Context_Unsigned(a, 3,
                            s.expires_ms == 0 ? 0 : std::uint64_t(std::max<qint64>(0, s.expires_ms - now_ms) / 1000));
    Append_Opening(a, 4);
    for (const std::uint32_t p : {std::uint32_t(Prop_Present_Value), std::uint32_t(Prop_Status_Flags)}) {
        QByteArray value;
        std::uint32_t c = 0, e = 0;
        if (!Encode_Property(s.object, p, std::nullopt, value, &c, &e))
            continue;
        Append_Context_Enumerated(a, 0, p);
        Append_Opening(a, 2);
        a.append(value);
        Append_Closing(a, 2);
    }
    Append_Closing(a, 4);
    return a;
}

Device_Server::Changes Device_Server::Take_Changes(qint64 now_ms)
{
    Changes changes;
    subscriptions_.removeIf([&](const Subscription &s) { return s.expires_ms != 0 && s.expires_ms <= now_ms; });
    if (!dirty_)
        return changes;
    dirty_ = false;
    for (int i = 0; i < device_.objects.size(); ++i) {
        BACnet_Value now = Present_Value(i);
        if (now == shown_[std::size_t(i)])
            continue;
        shown_[std::size_t(i)] = std::move(now);
        changes.objects.append(i);
    }
    for (const Subscription &s : std::as_const(subscriptions_))
        if (changes.objects.contains(s.object))
            changes.notifications.append({s.subscriber.to, Frame(s.subscriber, COV_Notification(s, now_ms))});
    return changes;
}

QList<std::uint32_t> Device_Server::Properties(int object, std::uint32_t which) const
{
    QList<std::uint32_t> required;
    QList<std::uint32_t> optional;
    if (object < 0) {
        required = {Prop_Object_Identifier,
                    Prop_Object_Name,
                    Prop_Object_Type,
                    Prop_System_Status,
                    Prop_Vendor_Name,
                    Prop_Vendor_Identifier,
                    Prop_Model_Name,
                    Prop_Firmware_Revision,
                    Prop_Application_Software_Version,
                    Prop_Protocol_Version,
                    Prop_Protocol_Revision,
                    Prop_Protocol_Services_Supported,
                    Prop_Protocol_Object_Types_Supported,
                    Prop_Object_List,
                    Prop_Max_APDU_Length_Accepted,
                    Prop_Segmentation_Supported,
                    Prop_APDU_Timeout,
                    Prop_Number_Of_APDU_Retries,
                    Prop_Device_Address_Binding,
                    Prop_Database_Revision};
    } else {
        const Served_Object &o = device_.objects.at(object);
        const Object_Kind k = Object_Kind(o.kind);
        required = {Prop_Object_Identifier, Prop_Object_Name, Prop_Object_Type,   Prop_Present_Value,
                    Prop_Status_Flags,      Prop_Event_State, Prop_Out_Of_Service};
        if (Is_Analog_Unit(k))
            required.append(Prop_Units);
        if (k == Object_Kind::Binary_Input || k == Object_Kind::Binary_Out)
            required.append(Prop_Polarity);
        if (Is_Multi_State(k))
            required.append(Prop_Number_Of_States);
        if (o.Commandable())
            required.append({Prop_Priority_Array, Prop_Relinquish_Default});
        optional.append(Prop_Description);
        if (k == Object_Kind::Binary_Value)
            optional.append(Prop_Polarity);
    }
    if (which == Prop_Required)
        return required;
    if (which == Prop_Optional)
        return optional;
    return required + optional;
}

bool Device_Server::Encode_Property(int object, std::uint32_t property, std::optional<std::uint32_t> index,
                                    QByteArray &out, std::uint32_t *error_class, std::uint32_t *error_code) const
{
    if (!Properties(object, Prop_All).contains(property)) {
        *error_class = Class_Property;
        *error_code = Code_Unknown_Property;
        return false;
    }
    const bool array = (object < 0 && property == Prop_Object_List) || property == Prop_Priority_Array;
    if (index && !array) {
        *error_class = Class_Property;
        *error_code = Code_Property_Is_Not_An_Array;
        return false;
    }
    if (array) {
        const std::uint32_t length = property == Prop_Object_List ? std::uint32_t(device_.objects.size() + 1) : 16;
        const auto element = [&](std::uint32_t i) { // from 0
            if (property == Prop_Object_List) {
                if (i == 0)
                    return Append_Value(out, BACnet_Value::Of_Object_Id(Device_Type, device_.instance));
                const Served_Object &o = device_.objects.at(int(i - 1));
                return Append_Value(out, BACnet_Value::Of_Object_Id(o.type_code, o.instance));
            }
            const auto &slot = priorities_[std::size_t(object)][i];
            Append_Value(out, slot ? *slot : BACnet_Value::Null_Value());
        };
        if (!index) {
            for (std::uint32_t i = 0; i < length; ++i)
                element(i);
        } else if (*index == 0) {
            Append_Value(out, BACnet_Value::Of_Unsigned(length));
        } else if (*index <= length) {
            element(*index - 1);
        } else {
            *error_class = Class_Property;
            *error_code = Code_Invalid_Array_Index;
            return false;
        }
        return true;
    }
    if (object < 0) {
        switch (property) {
        case Prop_Object_Identifier:
            Append_Value(out, BACnet_Value::Of_Object_Id(Device_Type, device_.instance));
            break;
        case Prop_Object_Name:
            Append_Value(out, BACnet_Value::Of_Text(device_.name));
            break;
        case Prop_Object_Type:
            Append_Value(out, BACnet_Value::Of_Enumerated(Device_Type));
            break;
        case Prop_System_Status:
            Append_Value(out, BACnet_Value::Of_Enumerated(0)); // operational
            break;
        case Prop_Vendor_Name:
            Append_Value(out, BACnet_Value::Of_Text(QString::fromLatin1(Software_Code)));
            break;
        case Prop_Vendor_Identifier:
            Append_Value(out, BACnet_Value::Of_Unsigned(Vendor_Identifier));
            break;
        case Prop_Model_Name:
            Append_Value(out, BACnet_Value::Of_Text(QStringLiteral("52K31 BACnet Slave / LoRaWAN - Converter")));
            break;
        case Prop_Firmware_Revision:
        case Prop_Application_Software_Version:
            Append_Value(out, BACnet_Value::Of_Text(QString::fromLatin1(Program_Version)));
            break;
        case Prop_Protocol_Version:
            Append_Value(out, BACnet_Value::Of_Unsigned(1));
            break;
        case Prop_Protocol_Revision:
            Append_Value(out, BACnet_Value::Of_Unsigned(14));
            break;
        case Prop_Protocol_Services_Supported:
            // What Handle answers: subscribe-cov, read-property,
            // read-property-multiple, write-property, who-has, who-is.
            Append_Value(out, BACnet_Value::Of_Bits(
                                  48, Bits(48, {Service_Subscribe_COV, Service_Read_Property,
                                                Service_Read_Property_Multiple, Service_Write_Property, 33, 34})));
            break;
        case Prop_Protocol_Object_Types_Supported: {
            QByteArray bits(8, '\0');
            const auto set = [&](int type) {
                bits[type / 8] = char(std::uint8_t(bits[type / 8]) | (0x80 >> (type % 8)));
            };
            set(Device_Type);
            for (const Served_Object &o : device_.objects)
                if (o.type_code < 64)
                    set(o.type_code);
            Append_Value(out, BACnet_Value::Of_Bits(60, bits));
            break;
        }
        case Prop_Max_APDU_Length_Accepted:
            Append_Value(out, BACnet_Value::Of_Unsigned(Max_APDU));
            break;
        case Prop_Segmentation_Supported:
            Append_Value(out, BACnet_Value::Of_Enumerated(3)); // no-segmentation
            break;
        case Prop_APDU_Timeout:
            Append_Value(out, BACnet_Value::Of_Unsigned(3000));
            break;
        case Prop_Number_Of_APDU_Retries:
            Append_Value(out, BACnet_Value::Of_Unsigned(3));
            break;
        case Prop_Device_Address_Binding:
            break; // an empty list
        case Prop_Database_Revision:
            Append_Value(out, BACnet_Value::Of_Unsigned(1));
            break;
        }
        return true;
    }
    const Served_Object &o = device_.objects.at(object);
    switch (property) {
    case Prop_Object_Identifier:
        Append_Value(out, BACnet_Value::Of_Object_Id(o.type_code, o.instance));
        break;
    case Prop_Object_Name:
    case Prop_Description:
        Append_Value(out, BACnet_Value::Of_Text(o.name));
        break;
    case Prop_Object_Type:
        Append_Value(out, BACnet_Value::Of_Enumerated(std::uint32_t(o.type_code)));
        break;
    case Prop_Present_Value:
        Append_Present_Value(out, Present_Value(object));
        break;
    case Prop_Status_Flags:
        Append_Value(out, BACnet_Value::Of_Bits(4, QByteArray(1, '\0')));
        break;
    case Prop_Event_State:
        Append_Value(out, BACnet_Value::Of_Enumerated(0)); // normal
        break;
    case Prop_Out_Of_Service:
        Append_Value(out, BACnet_Value::Of_Boolean(false));
        break;
    case Prop_Units:
        Append_Value(out, BACnet_Value::Of_Enumerated(o.units));
        break;
    case Prop_Polarity:
        Append_Value(out, BACnet_Value::Of_Enumerated(0)); // normal
        break;
    case Prop_Number_Of_States:
        Append_Value(out, BACnet_Value::Of_Unsigned(Number_Of_States(o)));
        break;
    case Prop_Relinquish_Default:
        Append_Value(out, Relinquish_Default(o));
        break;
    }
    return true;
}
