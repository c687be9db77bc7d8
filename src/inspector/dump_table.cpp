#include "inspector/dump_table.h"

#include "core/object_catalogue.h"
#include "inspector/image_names.h"
#include "tables/eng_units.h"

#include <algorithm>

namespace {

QString Number(qint64 value)
{
    return QString::number(value);
}

QString Yes_No(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

QString Or_Dash(const char *name)
{
    return name ? QString::fromLatin1(name) : QStringLiteral("-");
}

class Report
{
public:
    void Section(const QString &title)
    {
        if (!out_.isEmpty())
            out_ += u'\n';
        out_ += title + u'\n' + QString(title.size(), u'=') + u'\n';
    }
    // "label  value" lines, the values in one column.
    void Fields(const QList<std::pair<QString, QString>> &fields)
    {
        qsizetype width = 0;
        for (const auto &[label, value] : fields)
            width = std::max(width, label.size());
        for (const auto &[label, value] : fields) {
            // An empty value (a blank device name, "(none)") leaves no blanks behind.
            out_ += value.isEmpty() ? label : label.leftJustified(width + 2) + value;
            out_ += u'\n';
        }
    }
    // A table with a header line; every column as wide as its widest cell.
    void Table(const QStringList &header, const QList<QStringList> &rows)
    {
        if (rows.isEmpty()) {
            out_ += QStringLiteral("(none)\n");
            return;
        }
        QList<qsizetype> widths;
        for (const QString &h : header)
            widths << h.size();
        for (const QStringList &row : rows)
            for (qsizetype i = 0; i < row.size(); ++i)
                widths[i] = std::max(widths[i], row[i].size());
        // Written straight into the report, padded in place.
        auto line = [&](const QStringList &cells) {
            const qsizetype start = out_.size();
            for (qsizetype i = 0; i < cells.size(); ++i) {
                out_ += cells[i];
                if (i + 1 < cells.size() && cells[i].size() < widths[i] + 2)
                    out_.resize(out_.size() + widths[i] + 2 - cells[i].size(), u' ');
            }
            // An empty last cell leaves no blanks behind.
            qsizetype end = out_.size();
            while (end > start && out_.at(end - 1) == u' ')
                --end;
            out_.truncate(end);
            out_ += u'\n';
        };
        line(header);
        for (const QStringList &row : rows)
            line(row);
    }
    QString Text() const { return out_; }

private:
    QString out_;
};

void Bank1(Report &r, const Decoded_Bank1 &b)
{
    r.Section(QStringLiteral("Bank 1: parameter block"));
    r.Fields({
        {QStringLiteral("ip_address"), Dotted(b.ip_address)},
        {QStringLiteral("subnet_mask"), Dotted(b.subnet_mask)},
        {QStringLiteral("gateway"), Dotted(b.gateway)},
        {QStringLiteral("dns_server"), Dotted(b.dns_server)},
        {QStringLiteral("bacnet_link"), Or_Dash(Bacnet_Link_Name(b))},
        {QStringLiteral("bacnet_ip_port"), Number(b.bacnet_ip_port)},
        {QStringLiteral("bacnet_ip_device_identifier"), Number(b.bacnet_ip_device_identifier)},
        {QStringLiteral("device_name"), Device_Name_Text(b)},
        {QStringLiteral("mstp_mac_address"), Number(b.mstp_mac_address)},
        {QStringLiteral("mstp_max_master"), Number(b.mstp_max_master)},
        {QStringLiteral("mstp_max_info_frames"), Number(b.mstp_max_info_frames)},
        {QStringLiteral("mstp_network"), Number(b.mstp_network)},
        {QStringLiteral("mstp_device_instance"), Number(b.mstp_device_instance)},
        {QStringLiteral("object_section_address"), Hex32(b.object_section_address)},
        {QStringLiteral("lorawan_section_address"), Hex32(b.lorawan_section_address)},
        {QStringLiteral("checksum_stored"), Number(b.checksum_stored)},
        {QStringLiteral("checksum_computed"), Number(b.checksum_computed)},
        {QStringLiteral("checksum_ok"), Yes_No(b.checksum_stored == b.checksum_computed)},
    });
    r.Section(QStringLiteral("Bank 1: object counts"));
    QList<std::pair<QString, QString>> counts;
    // In the order the records lie.
    for (std::size_t t = 0; t < b.object_counts.size(); ++t)
        if (b.object_counts[t] != 0)
            counts << std::pair{QString::fromLatin1(Object_Catalogue[t].device_text), Number(b.object_counts[t])};
    if (counts.isEmpty())
        counts << std::pair{QStringLiteral("(none)"), QString()};
    r.Fields(counts);
    r.Section(QStringLiteral("Bank 1: serial channels"));
    QList<QStringList> rows;
    for (std::size_t ch = 0; ch < b.serial_channels.size(); ++ch) {
        const Serial_Channel &c = b.serial_channels[ch];
        rows << QStringList{Number(qint64(ch)), Number(c.baud_rate), Code_With_Name(c.parity, Parity_Name(c.parity)),
                            Number(c.stop_bits), Number(c.data_bits)};
    }
    r.Table({QStringLiteral("Channel"), QStringLiteral("Baud"), QStringLiteral("Parity"), QStringLiteral("Stop"),
             QStringLiteral("Data")},
            rows);
}

QStringList Object_Row(const Object_Record &o)
{
    const bool typed = o.place && o.place->type >= 0;
    return {Number(o.record),
            typed ? QString::fromLatin1(Object_Catalogue[std::size_t(o.place->type)].device_text) : QStringLiteral("-"),
            typed ? Number(o.place->instance) : QStringLiteral("-"),
            Or_Dash(Group_Name(o.group)),
            Number(o.row),
            Number(o.position),
            Number(o.start_bit),
            Number(o.length),
            Code_With_Name(o.eng_unit, Desc_Unit(o.eng_unit)),
            o.description ? *o.description : QStringLiteral("-")};
}

void Bank2(Report &r, const Decoded_Bank2 &b)
{
    const LoRa_Block &l = b.lora;
    r.Section(QStringLiteral("Bank 2: LoRaWAN"));
    r.Fields({
        {QStringLiteral("band"), Code_With_Name(l.band_code, Band_Name(l.band_code))},
        {QStringLiteral("network_type"), Code_With_Name(l.network_type, Network_Type_Name(l.network_type))},
        {QStringLiteral("activation_method"),
         Code_With_Name(l.activation_method, Activation_Name(l.activation_method))},
        {QStringLiteral("data_rate"), Code_With_Name(l.data_rate, Data_Rate_Name(l.band_code, l.data_rate))},
        {QStringLiteral("adaptive_data_rate"), Number(l.adaptive_data_rate)},
        {QStringLiteral("transmission_type"),
         Code_With_Name(l.transmission_type, Transmission_Name(l.transmission_type))},
        {QStringLiteral("max_payload_size"), Number(l.max_payload_size)},
        {QStringLiteral("transmit_interval"), Number(l.transmit_interval)},
        {QStringLiteral("device_address"), Hex_Bytes(l.device_address)},
        {QStringLiteral("application_identifier"), Hex_Bytes(l.application_identifier)},
        {QStringLiteral("uplink_count"), Number(l.uplink_count)},
        {QStringLiteral("downlink_count"), Number(l.downlink_count)},
    });
    r.Section(QStringLiteral("Bank 2: uplink rules"));
    QList<QStringList> rows;
    for (const Uplink_Rule &u : b.uplink)
        rows << QStringList{Number(u.entry),
                            Number(u.start_byte),
                            Number(u.num_bytes),
                            Yes_No(u.triggers & bank::Trigger_On_Change),
                            Yes_No(u.triggers & bank::Trigger_On_Command),
                            Yes_No(u.triggers & bank::Trigger_On_Timer),
                            Number(u.period)};
    r.Table({QStringLiteral("Entry"), QStringLiteral("Start"), QStringLiteral("Bytes"), QStringLiteral("Change"),
             QStringLiteral("Command"), QStringLiteral("Timer"), QStringLiteral("Period")},
            rows);
    r.Section(QStringLiteral("Bank 2: downlink rules"));
    rows.clear();
    for (const Downlink_Rule &d : b.downlink)
        rows << QStringList{Number(d.entry), Number(d.start_byte), Number(d.num_bytes)};
    r.Table({QStringLiteral("Entry"), QStringLiteral("Start"), QStringLiteral("Bytes")}, rows);
    r.Section(QStringLiteral("Bank 2: BACnet objects"));
    rows.clear();
    for (const Object_Record &o : b.objects)
        rows << Object_Row(o);
    r.Table({QStringLiteral("Record"), QStringLiteral("Type"), QStringLiteral("Instance"), QStringLiteral("Group"),
             QStringLiteral("Row"), QStringLiteral("Position"), QStringLiteral("Bit"), QStringLiteral("Length"),
             QStringLiteral("Unit"), QStringLiteral("Description")},
            rows);
}

} // namespace

QString Dump_Table(const Decoded_Bank1 &bank1)
{
    Report r;
    Bank1(r, bank1);
    return r.Text();
}

QString Dump_Table(const Decoded_Bank2 &bank2)
{
    Report r;
    Bank2(r, bank2);
    return r.Text();
}

QString Dump_Table(const Decoded_Pair &pair)
{
    Report r;
    Bank1(r, pair.bank1);
    Bank2(r, pair.bank2);
    return r.Text();
}
