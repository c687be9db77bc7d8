#include "inspector/image_diff.h"

#include "core/messages.h"
#include "core/object_catalogue.h"
#include "core/text.h"
#include "inspector/image_decode.h"
#include "inspector/image_names.h"
#include "tables/eng_units.h"

#include <map>
#include <tuple>
#include <utility>

namespace {

// A field as a line shows it: its name in the dump and its value's text.
// Fields that follow from others (record numbers, description addresses, the
// trigger flags, the computed checksum), the names beside codes and what
// every image of its kind holds (size, load address) are not among them: a
// change of those that matters shows as a problem of the image.
struct Shown
{
    const char *key;
    QString text;
};
using Shown_Fields = QList<Shown>;

QString Number(qint64 value)
{
    return QString::number(value);
}

QString Or_None(const char *name)
{
    return name ? QString::fromLatin1(name) : QStringLiteral("none");
}

// A trigger code with its triggers: "5 (change, timer)".
QString Triggers_Text(std::uint8_t triggers)
{
    QStringList on;
    if (triggers & bank::Trigger_On_Change)
        on << QStringLiteral("change");
    if (triggers & bank::Trigger_On_Command)
        on << QStringLiteral("command");
    if (triggers & bank::Trigger_On_Timer)
        on << QStringLiteral("timer");
    return on.isEmpty() ? Number(triggers)
                        : Number(triggers) + QStringLiteral(" (") + on.join(QStringLiteral(", ")) + u')';
}

// "key value, key value": a record on one side only.
QString Summary(const Shown_Fields &fields)
{
    QStringList parts;
    for (const Shown &f : fields)
        parts << QLatin1StringView(f.key) + u' ' + f.text;
    return parts.join(QStringLiteral(", "));
}

void Line(QStringList &lines, const QString &path, const QString &was, const QString &now)
{
    if (was != now)
        lines << path + QStringLiteral(": ") + was + QStringLiteral(" -> ") + now;
}

// Two lists of the same fields, the same keys in the same order.
void Compare_Fields(const QString &path, const Shown_Fields &was, const Shown_Fields &now, QStringList &lines)
{
    for (qsizetype i = 0; i < was.size(); ++i)
        Line(lines, path + u'.' + QLatin1StringView(was[i].key), was[i].text, now[i].text);
}

// Where a record of a list lies and how a line names it: rule entries and
// serial channels by their number, object records by type and instance (the
// instances of a type count from 0), or by record number, after every typed
// record, when the counts of bank 1 do not reach them.
using Order = std::pair<qint64, qint64>;
struct Keyed
{
    Order order;
    QString name;
};

Keyed Key_Of(const Uplink_Rule &r)
{
    return {{0, r.entry}, Number(r.entry)};
}

Keyed Key_Of(const Downlink_Rule &r)
{
    return {{0, r.entry}, Number(r.entry)};
}

Keyed Key_Of(const Object_Record &o)
{
    if (o.place && o.place->type >= 0)
        return {{o.place->type, o.place->instance},
                QLatin1StringView(Object_Catalogue[std::size_t(o.place->type)].device_text) + u' ' +
                    Number(o.place->instance)};
    return {{Object_Kind_Count, o.record}, QStringLiteral("record ") + Number(o.record)};
}

Shown_Fields Fields_Of(const Uplink_Rule &r)
{
    return {{"start_byte", Number(r.start_byte)},
            {"num_bytes", Number(r.num_bytes)},
            {"triggers", Triggers_Text(r.triggers)},
            {"period", Number(r.period)}};
}

Shown_Fields Fields_Of(const Downlink_Rule &r)
{
    return {{"start_byte", Number(r.start_byte)}, {"num_bytes", Number(r.num_bytes)}};
}

Shown_Fields Fields_Of(const Object_Record &o)
{
    return {{"position", Number(o.position)},
            {"eng_unit", Code_With_Name(o.eng_unit, Desc_Unit(o.eng_unit))},
            {"length", Number(o.length)},
            {"group", Code_With_Name(o.group, Group_Name(o.group))},
            {"row", Number(o.row)},
            {"start_bit", Number(o.start_bit)},
            {"description", o.description ? Quoted(*o.description) : QStringLiteral("none")}};
}

Shown_Fields Fields_Of(const Serial_Channel &c)
{
    return {{"baud_rate", Number(c.baud_rate)},
            {"parity", Code_With_Name(c.parity, Parity_Name(c.parity))},
            {"stop_bits", Number(c.stop_bits)},
            {"data_bits", Number(c.data_bits)}};
}

Shown_Fields Fields_Of(const Object_Geometry &g)
{
    return {{"records", Number(g.records)},
            {"description_length", Number(g.description_length)},
            {"text_area_address", Hex32(g.text_area_address)}};
}

// The records of both sides matched by their keys, in key order: a record on
// one side only is added or removed, the others compared field by field.
template <typename Record>
void Compare_Records(const QString &path, const QList<Record> &was, const QList<Record> &now, QStringList &lines)
{
    if (was == now)
        return;
    std::map<Order, std::tuple<QString, const Record *, const Record *>> records;
    for (const Record &r : was) {
        const Keyed k = Key_Of(r);
        records[k.order] = {k.name, &r, nullptr};
    }
    for (const Record &r : now) {
        const Keyed k = Key_Of(r);
        auto &[name, before, after] = records[k.order];
        name = k.name;
        after = &r;
    }
    for (const auto &[order, record] : records) {
        const auto &[name, before, after] = record;
        const QString at = path + u'[' + name + u']';
        if (!before)
            lines << at + QStringLiteral(": added (") + Summary(Fields_Of(*after)) + u')';
        else if (!after)
            lines << at + QStringLiteral(": removed (") + Summary(Fields_Of(*before)) + u')';
        else if (!(*before == *after))
            Compare_Fields(at, Fields_Of(*before), Fields_Of(*after), lines);
    }
}

// The fields of bank 1 up to its object counts.
Shown_Fields Head_Of(const Decoded_Bank1 &b)
{
    return {{"fixed_0x000", Number(b.fixed_words[0])},
            {"fixed_0x004", Number(b.fixed_words[1])},
            {"fixed_0x008", Number(b.fixed_words[2])},
            {"fixed_0x00C", Number(b.fixed_words[3])},
            {"ip_address", Dotted(b.ip_address)},
            {"subnet_mask", Dotted(b.subnet_mask)},
            {"gateway", Dotted(b.gateway)},
            {"fixed_0x034", Number(b.fixed_ports[0])},
            {"fixed_0x036", Number(b.fixed_ports[1])},
            {"fixed_0x038", Number(b.fixed_ports[2])},
            {"bacnet_ip_port", Number(b.bacnet_ip_port)},
            {"device_name", Quoted(Device_Name_Text(b))},
            {"device_name_bytes", Hex_Bytes(b.device_name)},
            {"object_section_address", Hex32(b.object_section_address)},
            {"mstp_mac_address", Number(b.mstp_mac_address)},
            {"mstp_max_master", Number(b.mstp_max_master)},
            {"mstp_max_info_frames", Number(b.mstp_max_info_frames)},
            {"mstp_network", Number(b.mstp_network)},
            {"mstp_device_instance", Number(b.mstp_device_instance)},
            {"bacnet_ip_device_identifier", Number(b.bacnet_ip_device_identifier)},
            {"bacnet_link", Or_None(Bacnet_Link_Name(b))}};
}

// The fields of bank 1 after its serial channels.
Shown_Fields Tail_Of(const Decoded_Bank1 &b)
{
    QStringList reserved;
    for (const std::uint32_t offset : b.nonzero_reserved_bytes)
        reserved << Hex_Offset(offset);
    return {
        {"data_bits_6_7", Number(b.data_bits_6_7[0]) + QStringLiteral(", ") + Number(b.data_bits_6_7[1])},
        {"dns_server", Dotted(b.dns_server)},
        {"lorawan_section_address", Hex32(b.lorawan_section_address)},
        {"nonzero_reserved_bytes", reserved.isEmpty() ? QStringLiteral("none") : reserved.join(QStringLiteral(", "))},
        {"checksum_stored", Number(b.checksum_stored)}};
}

void Compare_Bank1(const Decoded_Bank1 &was, const Decoded_Bank1 &now, QStringList &lines)
{
    const QString path = QStringLiteral("bank1");
    Shown_Fields head_was = Head_Of(was);
    Shown_Fields head_now = Head_Of(now);
    // The bytes of the device name repeat its text: only a change beyond its
    // ending 0 is theirs to tell.
    if (Device_Name_Text(was) != Device_Name_Text(now))
        for (Shown_Fields *fields : {&head_was, &head_now})
            fields->removeIf([](const Shown &f) { return qstrcmp(f.key, "device_name_bytes") == 0; });
    Compare_Fields(path, head_was, head_now, lines);
    for (std::size_t t = 0; t < was.object_counts.size(); ++t)
        Line(lines, path + QStringLiteral(".object_counts.") + QLatin1StringView(Object_Catalogue[t].device_text),
             Number(was.object_counts[t]), Number(now.object_counts[t]));
    for (std::size_t ch = 0; ch < was.serial_channels.size(); ++ch)
        if (!(was.serial_channels[ch] == now.serial_channels[ch]))
            Compare_Fields(path + QStringLiteral(".serial_channels[") + Number(qint64(ch)) + u']',
                           Fields_Of(was.serial_channels[ch]), Fields_Of(now.serial_channels[ch]), lines);
    Compare_Fields(path, Tail_Of(was), Tail_Of(now), lines);
}

Shown_Fields Fields_Of(const LoRa_Block &l)
{
    return {{"band_code", Code_With_Name(l.band_code, Band_Name(l.band_code))},
            {"network_type", Code_With_Name(l.network_type, Network_Type_Name(l.network_type))},
            {"activation_method", Code_With_Name(l.activation_method, Activation_Name(l.activation_method))},
            {"data_rate", Code_With_Name(l.data_rate, Data_Rate_Name(l.band_code, l.data_rate))},
            {"device_address", Hex_Bytes(l.device_address)},
            {"application_identifier", Hex_Bytes(l.application_identifier)},
            {"network_session_key", Hex_Bytes(l.network_session_key)},
            {"application_session_key", Hex_Bytes(l.application_session_key)},
            {"application_key", Hex_Bytes(l.application_key)},
            {"adaptive_data_rate", Number(l.adaptive_data_rate)},
            {"transmission_type", Code_With_Name(l.transmission_type, Transmission_Name(l.transmission_type))},
            {"max_payload_size", Number(l.max_payload_size)},
            {"reserved_0x43", Number(l.reserved_0x43)},
            {"transmit_interval", Number(l.transmit_interval)},
            {"uplink_table_address", Hex32(l.uplink_table_address)},
            {"downlink_table_address", Hex32(l.downlink_table_address)},
            {"uplink_count", Number(l.uplink_count)},
            {"downlink_count", Number(l.downlink_count)}};
}

void Compare_Bank2(const Decoded_Bank2 &was, const Decoded_Bank2 &now, QStringList &lines)
{
    const QString path = QStringLiteral("bank2");
    if (!(was.lora == now.lora))
        Compare_Fields(path + QStringLiteral(".lora"), Fields_Of(was.lora), Fields_Of(now.lora), lines);
    Compare_Records(path + QStringLiteral(".uplink"), was.uplink, now.uplink, lines);
    Compare_Records(path + QStringLiteral(".downlink"), was.downlink, now.downlink, lines);
    const QString geometry = path + QStringLiteral(".geometry");
    if (was.geometry && now.geometry)
        Compare_Fields(geometry, Fields_Of(*was.geometry), Fields_Of(*now.geometry), lines);
    else if (was.geometry || now.geometry)
        Line(lines, geometry, was.geometry ? Summary(Fields_Of(*was.geometry)) : QStringLiteral("none"),
             now.geometry ? Summary(Fields_Of(*now.geometry)) : QStringLiteral("none"));
    Compare_Records(path + QStringLiteral(".objects"), was.objects, now.objects, lines);
    Line(lines, path + QStringLiteral(".stray_nonzero_bytes"), Number(was.stray_nonzero_bytes),
         Number(now.stray_nonzero_bytes));
}

bool Decodable(const Bank_Images &images)
{
    return Bank_Kind_Of(images.bank1.size()) == Bank_Kind::Bank1 &&
           Bank_Kind_Of(images.bank2.size()) == Bank_Kind::Bank2;
}

// What makes one side unsound and not the other, one line a problem, the
// side first.
QStringList Image_Problem_Lines(const QStringList &before, const QStringList &after)
{
    QStringList lines;
    for (const QString &p : before)
        if (!after.contains(p))
            lines << QStringLiteral("before: ") + p;
    for (const QString &p : after)
        if (!before.contains(p))
            lines << QStringLiteral("after: ") + p;
    return lines;
}

} // namespace

QStringList Field_Differences(const Decoded_Pair &before, const Decoded_Pair &after)
{
    QStringList lines;
    if (!(before.bank1 == after.bank1))
        Compare_Bank1(before.bank1, after.bank1, lines);
    if (!(before.bank2 == after.bank2))
        Compare_Bank2(before.bank2, after.bank2, lines);
    return lines;
}

Image_Comparison Compare_Images(const Bank_Images &before, const Bank_Images &after)
{
    Image_Comparison c;
    if (!Decodable(before) || !Decodable(after)) {
        // No field can be read where a bank is not of its size.
        for (const auto &[images, problems] :
             {std::pair{&before, &c.Problems_Before}, std::pair{&after, &c.Problems_After}})
            for (const auto &[bank, bytes, size] : {std::tuple{"bank1", &images->bank1, bank::Bank1_Size},
                                                    std::tuple{"bank2", &images->bank2, bank::Bank2_Size}})
                if (bytes->size() != qsizetype(size))
                    *problems << Messages()
                                     .Get(Msg_Diff_Not_An_Image)
                                     .arg(QLatin1StringView(bank), QString::number(bytes->size()),
                                          QString::number(size));
        if (before.bank1 != after.bank1)
            c.Lines << QStringLiteral("bank1: the bytes differ");
        if (before.bank2 != after.bank2)
            c.Lines << QStringLiteral("bank2: the bytes differ");
        c.Lines = Image_Problem_Lines(c.Problems_Before, c.Problems_After) + c.Lines;
        return c;
    }
    const Decoded_Pair was = Decode_Pair(before.bank1, before.bank2, c.Problems_Before);
    const Decoded_Pair now = Decode_Pair(after.bank1, after.bank2, c.Problems_After);
    c.Lines = Image_Problem_Lines(c.Problems_Before, c.Problems_After) + Field_Differences(was, now);
    return c;
}

QStringList Image_Differences(const Bank_Images &before, const Bank_Images &after)
{
    return Compare_Images(before, after).Lines;
}
