#include "inspector/bank_dump.h"

#include "core/object_catalogue.h"
#include "inspector/image_names.h"
#include "inspector/json_writer.h"
#include "tables/eng_units.h"

namespace {

void Name(Json_Writer &j, const char *key, const char *name)
{
    if (name)
        j.String(key, QString::fromLatin1(name));
    else
        j.Null(key);
}

void Name(Json_Writer &j, const char *key, const QString &name)
{
    if (name.isEmpty())
        j.Null(key);
    else
        j.String(key, name);
}

void Write(Json_Writer &j, const char *key, const Decoded_Bank1 &d)
{
    j.Begin_Object(key);
    j.String("image", QStringLiteral("bank1"));
    j.Number("size", d.size);
    j.String("load_address", Hex32(bank::Bank1_Address));
    j.Number("fixed_0x000", d.fixed_words[0]);
    j.Number("fixed_0x004", d.fixed_words[1]);
    j.Number("fixed_0x008", d.fixed_words[2]);
    j.Number("fixed_0x00C", d.fixed_words[3]);
    j.String("ip_address", Dotted(d.ip_address));
    j.String("subnet_mask", Dotted(d.subnet_mask));
    j.String("gateway", Dotted(d.gateway));
    j.Number("fixed_0x034", d.fixed_ports[0]);
    j.Number("fixed_0x036", d.fixed_ports[1]);
    j.Number("fixed_0x038", d.fixed_ports[2]);
    j.Number("bacnet_ip_port", d.bacnet_ip_port);
    j.String("device_name", Device_Name_Text(d));
    j.String("device_name_bytes", Hex_Bytes(d.device_name));
    j.String("object_section_address", Hex32(d.object_section_address));
    j.Number("mstp_mac_address", d.mstp_mac_address);
    j.Number("mstp_max_master", d.mstp_max_master);
    j.Number("mstp_max_info_frames", d.mstp_max_info_frames);
    j.Number("mstp_network", d.mstp_network);
    j.Number("mstp_device_instance", d.mstp_device_instance);
    j.Number("bacnet_ip_device_identifier", d.bacnet_ip_device_identifier);
    Name(j, "bacnet_link", Bacnet_Link_Name(d));
    j.Begin_Object("object_counts");
    for (std::size_t t = 0; t < d.object_counts.size(); ++t)
        j.Number(Object_Catalogue[t].device_text, d.object_counts[t]);
    j.End_Object();
    j.Begin_Array("serial_channels");
    for (std::size_t ch = 0; ch < d.serial_channels.size(); ++ch) {
        const Serial_Channel &c = d.serial_channels[ch];
        j.Begin_Object();
        j.Number("channel", qint64(ch));
        j.Number("baud_rate", c.baud_rate);
        j.Number("parity", c.parity);
        Name(j, "parity_name", Parity_Name(c.parity));
        j.Number("stop_bits", c.stop_bits);
        j.Number("data_bits", c.data_bits);
        j.End_Object();
    }
    j.End_Array();
    j.Begin_Array("data_bits_6_7");
    for (const std::uint8_t bits : d.data_bits_6_7)
        j.Number(nullptr, bits);
    j.End_Array();
    j.String("dns_server", Dotted(d.dns_server));
    j.String("lorawan_section_address", Hex32(d.lorawan_section_address));
    j.Begin_Array("nonzero_reserved_bytes");
    for (const std::uint32_t offset : d.nonzero_reserved_bytes)
        j.String(nullptr, Hex_Offset(offset));
    j.End_Array();
    j.Number("checksum_stored", d.checksum_stored);
    j.Number("checksum_computed", d.checksum_computed);
    j.Bool("checksum_ok", d.checksum_stored == d.checksum_computed);
    j.End_Object();
}

void Write(Json_Writer &j, const LoRa_Block &l)
{
    j.Begin_Object("lora");
    j.Number("band_code", l.band_code);
    Name(j, "band", Band_Name(l.band_code));
    j.Number("network_type", l.network_type);
    Name(j, "network_type_name", Network_Type_Name(l.network_type));
    j.Number("activation_method", l.activation_method);
    Name(j, "activation_method_name", Activation_Name(l.activation_method));
    j.Number("data_rate", l.data_rate);
    Name(j, "data_rate_name", Data_Rate_Name(l.band_code, l.data_rate));
    j.String("device_address", Hex_Bytes(l.device_address));
    j.String("application_identifier", Hex_Bytes(l.application_identifier));
    j.String("network_session_key", Hex_Bytes(l.network_session_key));
    j.String("application_session_key", Hex_Bytes(l.application_session_key));
    j.String("application_key", Hex_Bytes(l.application_key));
    j.Number("adaptive_data_rate", l.adaptive_data_rate);
    j.Number("transmission_type", l.transmission_type);
    Name(j, "transmission_type_name", Transmission_Name(l.transmission_type));
    j.Number("max_payload_size", l.max_payload_size);
    j.Number("reserved_0x43", l.reserved_0x43);
    j.Number("transmit_interval", l.transmit_interval);
    j.String("uplink_table_address", Hex32(l.uplink_table_address));
    j.String("downlink_table_address", Hex32(l.downlink_table_address));
    j.Number("uplink_count", l.uplink_count);
    j.Number("downlink_count", l.downlink_count);
    j.End_Object();
}

void Write(Json_Writer &j, const Object_Record &o)
{
    j.Begin_Object();
    j.Number("record", o.record);
    j.Number("position", o.position);
    if (o.place) {
        if (o.place->type >= 0) {
            j.String("object_type", QString::fromLatin1(Object_Catalogue[std::size_t(o.place->type)].device_text));
            j.Number("bacnet_type", Bacnet_Type_Number(o.place->type));
            j.Number("instance", o.place->instance);
        } else {
            j.Null("object_type");
            j.Null("bacnet_type");
            j.Null("instance");
        }
    }
    j.Number("eng_unit", o.eng_unit);
    j.String("eng_unit_name", Desc_Unit(o.eng_unit));
    j.Number("length", o.length);
    j.Number("group", o.group);
    Name(j, "group_name", Group_Name(o.group));
    j.Number("row", o.row);
    j.Number("start_bit", o.start_bit);
    j.String("description_address", Hex32(o.description_address));
    if (o.description)
        j.String("description", *o.description);
    else
        j.Null("description");
    j.End_Object();
}

void Write(Json_Writer &j, const char *key, const Decoded_Bank2 &d)
{
    using namespace bank;
    j.Begin_Object(key);
    j.String("image", QStringLiteral("bank2"));
    j.Number("size", d.size);
    j.String("load_address", Hex32(LoRa_Section_Address));
    Write(j, d.lora);
    j.Begin_Array("uplink");
    for (const Uplink_Rule &r : d.uplink) {
        j.Begin_Object();
        j.Number("entry", r.entry);
        j.Number("start_byte", r.start_byte);
        j.Number("num_bytes", r.num_bytes);
        j.Number("triggers", r.triggers);
        j.Bool("on_change", r.triggers & Trigger_On_Change);
        j.Bool("on_cmd", r.triggers & Trigger_On_Command);
        j.Bool("on_timer", r.triggers & Trigger_On_Timer);
        j.Number("period", r.period);
        j.End_Object();
    }
    j.End_Array();
    j.Begin_Array("downlink");
    for (const Downlink_Rule &r : d.downlink) {
        j.Begin_Object();
        j.Number("entry", r.entry);
        j.Number("start_byte", r.start_byte);
        j.Number("num_bytes", r.num_bytes);
        j.End_Object();
    }
    j.End_Array();
    if (d.geometry) {
        j.Begin_Object("geometry");
        j.Number("records", d.geometry->records);
        j.Number("description_length", d.geometry->description_length);
        j.String("text_area_address", Hex32(d.geometry->text_area_address));
        j.End_Object();
    } else {
        j.Null("geometry");
    }
    j.Begin_Array("objects");
    for (const Object_Record &o : d.objects)
        Write(j, o);
    j.End_Array();
    j.Number("stray_nonzero_bytes", d.stray_nonzero_bytes);
    j.End_Object();
}

// About how long a dump of `bank2` is: its fixed fields, then so much a
// rule entry and an object record (a little more than a record takes).
std::size_t Expected_Size(const Decoded_Bank2 &bank2)
{
    return 2048 + 200 * std::size_t(bank2.uplink.size()) + 100 * std::size_t(bank2.downlink.size()) +
           400 * std::size_t(bank2.objects.size());
}

constexpr std::size_t Bank1_Expected_Size = 4096;

} // namespace

QByteArray Dump_Json(const Decoded_Bank1 &bank1)
{
    Json_Writer j;
    j.Reserve(Bank1_Expected_Size);
    Write(j, nullptr, bank1);
    return j.Text();
}

QByteArray Dump_Json(const Decoded_Bank2 &bank2)
{
    Json_Writer j;
    j.Reserve(Expected_Size(bank2));
    Write(j, nullptr, bank2);
    return j.Text();
}

QByteArray Dump_Json(const Decoded_Pair &pair)
{
    Json_Writer j;
    j.Reserve(Bank1_Expected_Size + Expected_Size(pair.bank2));
    j.Begin_Object();
    j.String("image", QStringLiteral("pair"));
    Write(j, "bank1", pair.bank1);
    Write(j, "bank2", pair.bank2);
    j.End_Object();
    return j.Text();
}

QByteArray Dump_Bank1(const QByteArray &image)
{
    QStringList ignored;
    return Dump_Bank1(image, ignored);
}

QByteArray Dump_Bank2(const QByteArray &image)
{
    QStringList ignored;
    return Dump_Bank2(image, ignored);
}

QByteArray Dump_Bank1(const QByteArray &image, QStringList &problems)
{
    return Dump_Json(Decode_Bank1(image, problems));
}

QByteArray Dump_Bank2(const QByteArray &image, QStringList &problems)
{
    return Dump_Json(Decode_Bank2(image, problems));
}

QByteArray Dump_Pair(const QByteArray &bank1, const QByteArray &bank2, QStringList &problems)
{
    return Dump_Json(Decode_Pair(bank1, bank2, problems));
}
