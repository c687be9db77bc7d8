#include "bacnet/served_device.h"

#include "bacnet/bacnet_messages.h"
#include "core/messages.h"
#include "core/object_catalogue.h"
#include "gate/configuration_gate.h"
#include "inspector/image_decode.h"

bool Served_Object::Commandable() const
{
    const Object_Kind k = Object_Kind(kind);
    return k == Object_Kind::Analog_Out || k == Object_Kind::Binary_Out || k == Object_Kind::Multi_State_Output;
}

bool Served_Object::Has_Units() const
{
    switch (Object_Kind(kind)) {
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

Result<Served_Device> Served_Device_Of(const Decoded_Pair &pair)
{
    const Decoded_Bank1 &b1 = pair.bank1;
    Served_Device device;
    // An MS/TP image leaves the BACnet/IP port and identifier at 0 and has a
    // Max Master of at least 1; an image compiled without a parameter
    // document has neither link's settings (all 0), and is served as BACnet/IP.
    device.mstp = b1.bacnet_ip_port == 0 && b1.mstp_max_master != 0;
    device.instance = (device.mstp ? b1.mstp_device_instance : b1.bacnet_ip_device_identifier) & 0x3FFFFF;
    device.port = b1.bacnet_ip_port != 0 ? b1.bacnet_ip_port : 47808;
    QByteArray name;
    for (const std::uint8_t c : b1.device_name) {
        if (c == 0)
            break;
        name.append(char(c));
    }
    device.name = QString::fromLatin1(name);
    device.objects.reserve(pair.bank2.objects.size());
    for (const Object_Record &r : pair.bank2.objects) {
        if (!r.place || r.place->type < 0 || r.place->type >= Object_Kind_Count)
            return Fail(Messages().Get(Msg_Serve_No_Object_Type).arg(r.record));
        Served_Object o;
        o.kind = r.place->type;
        o.type_code = Object_Catalogue[std::size_t(o.kind)].bacnet_code;
        o.instance = std::uint32_t(r.place->instance) & 0x3FFFFF;
        o.name = r.description.value_or(QString());
        o.write = r.group == 1;
        o.position = r.position;
        o.length = r.length;
        o.start_bit = r.start_bit;
        o.units = r.eng_unit;
        device.objects.append(o);
    }
    return device;
}

Result<Served_Device> Load_Served_Device(const Configuration_Snapshot &configuration)
{
    const Gate_Report report = Check_Configuration(configuration, Output::Images);
    if (!report.Ok() || !report.Images)
        return Fail(report.Problem());
    QStringList problems;
    const Decoded_Pair pair = Decode_Pair(report.Images->bank1, report.Images->bank2, problems);
    if (!problems.isEmpty())
        return Fail(problems.join(QLatin1Char('\n')));
    Result<Served_Device> device = Served_Device_Of(pair);
    if (device)
        device->warnings = report.Problems.Texts(Severity::Warning);
    return device;
}
