#include "inspector/bank_dump.h"
#include "compiler/object_types.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

QString Text_Of(const QJsonValue &v)
{
    if (v.isString())
        return v.toString();
    if (v.isBool())
        return v.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
    if (v.isDouble())
        return QString::number(qint64(v.toDouble()));
    return QStringLiteral("-");
}

// A code with its name beside it: "5 (EU868)".
QString Coded(const QJsonObject &o, const char *code, const char *name)
{
    const QString text = Text_Of(o[QLatin1StringView(code)]);
    const QJsonValue n = o[QLatin1StringView(name)];
    // A data-rate text holds tabs between its parts.
    return n.isString() ? text + QStringLiteral(" (") + n.toString().simplified() + u')' : text;
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
        auto line = [&](const QStringList &cells) {
            QString text;
            for (qsizetype i = 0; i < cells.size(); ++i)
                text += i + 1 < cells.size() ? cells[i].leftJustified(widths[i] + 2) : cells[i];
            // An empty last cell leaves no blanks behind.
            while (text.endsWith(u' '))
                text.chop(1);
            out_ += text + u'\n';
        };
        line(header);
        for (const QStringList &row : rows)
            line(row);
    }
    QString Text() const { return out_; }

private:
    QString out_;
};

void Bank1(Report &r, const QJsonObject &b)
{
    r.Section(QStringLiteral("Bank 1: parameter block"));
    QList<std::pair<QString, QString>> f;
    for (const char *key : {"ip_address", "subnet_mask", "gateway", "dns_server", "bacnet_link", "bacnet_ip_port",
                            "bacnet_ip_device_identifier", "device_name", "mstp_mac_address", "mstp_max_master",
                            "mstp_max_info_frames", "mstp_network", "mstp_device_instance", "object_section_address",
                            "lorawan_section_address", "checksum_stored", "checksum_computed", "checksum_ok"})
        f << std::pair{QString::fromLatin1(key), Text_Of(b[QLatin1StringView(key)])};
    r.Fields(f);
    r.Section(QStringLiteral("Bank 1: object counts"));
    QList<std::pair<QString, QString>> counts;
    const QJsonObject c = b[QStringLiteral("object_counts")].toObject();
    // In the order the records lie, not the JSON object's sorted one.
    for (const compiler::Object_Type &type : compiler::Object_Types) {
        const QJsonValue count = c[QLatin1StringView(type.text)];
        if (count.toInteger() != 0)
            counts << std::pair{QString::fromLatin1(type.text), Text_Of(count)};
    }
    if (counts.isEmpty())
        counts << std::pair{QStringLiteral("(none)"), QString()};
    r.Fields(counts);
    r.Section(QStringLiteral("Bank 1: serial channels"));
    QList<QStringList> rows;
    for (const QJsonValue &v : b[QStringLiteral("serial_channels")].toArray()) {
        const QJsonObject o = v.toObject();
        rows << QStringList{Text_Of(o[QStringLiteral("channel")]), Text_Of(o[QStringLiteral("baud_rate")]),
                            Coded(o, "parity", "parity_name"), Text_Of(o[QStringLiteral("stop_bits")]),
                            Text_Of(o[QStringLiteral("data_bits")])};
    }
    r.Table({QStringLiteral("Channel"), QStringLiteral("Baud"), QStringLiteral("Parity"), QStringLiteral("Stop"),
             QStringLiteral("Data")},
            rows);
}

void Bank2(Report &r, const QJsonObject &b)
{
    const QJsonObject l = b[QStringLiteral("lora")].toObject();
    r.Section(QStringLiteral("Bank 2: LoRaWAN"));
    r.Fields({
        {QStringLiteral("band"), Coded(l, "band_code", "band")},
        {QStringLiteral("network_type"), Coded(l, "network_type", "network_type_name")},
        {QStringLiteral("activation_method"), Coded(l, "activation_method", "activation_method_name")},
        {QStringLiteral("data_rate"), Coded(l, "data_rate", "data_rate_name")},
        {QStringLiteral("adaptive_data_rate"), Text_Of(l[QStringLiteral("adaptive_data_rate")])},
        {QStringLiteral("transmission_type"), Coded(l, "transmission_type", "transmission_type_name")},
        {QStringLiteral("max_payload_size"), Text_Of(l[QStringLiteral("max_payload_size")])},
        {QStringLiteral("transmit_interval"), Text_Of(l[QStringLiteral("transmit_interval")])},
        {QStringLiteral("device_address"), Text_Of(l[QStringLiteral("device_address")])},
        {QStringLiteral("application_identifier"), Text_Of(l[QStringLiteral("application_identifier")])},
        {QStringLiteral("uplink_count"), Text_Of(l[QStringLiteral("uplink_count")])},
        {QStringLiteral("downlink_count"), Text_Of(l[QStringLiteral("downlink_count")])},
    });
    r.Section(QStringLiteral("Bank 2: uplink rules"));
    QList<QStringList> rows;
    for (const QJsonValue &v : b[QStringLiteral("uplink")].toArray()) {
        const QJsonObject o = v.toObject();
        rows << QStringList{Text_Of(o[QStringLiteral("entry")]),     Text_Of(o[QStringLiteral("start_byte")]),
                            Text_Of(o[QStringLiteral("num_bytes")]), Text_Of(o[QStringLiteral("on_change")]),
                            Text_Of(o[QStringLiteral("on_cmd")]),    Text_Of(o[QStringLiteral("on_timer")]),
                            Text_Of(o[QStringLiteral("period")])};
    }
    r.Table({QStringLiteral("Entry"), QStringLiteral("Start"), QStringLiteral("Bytes"), QStringLiteral("Change"),
             QStringLiteral("Command"), QStringLiteral("Timer"), QStringLiteral("Period")},
            rows);
    r.Section(QStringLiteral("Bank 2: downlink rules"));
    rows.clear();
    for (const QJsonValue &v : b[QStringLiteral("downlink")].toArray()) {
        const QJsonObject o = v.toObject();
        rows << QStringList{Text_Of(o[QStringLiteral("entry")]), Text_Of(o[QStringLiteral("start_byte")]),
                            Text_Of(o[QStringLiteral("num_bytes")])};
    }
    r.Table({QStringLiteral("Entry"), QStringLiteral("Start"), QStringLiteral("Bytes")}, rows);
    r.Section(QStringLiteral("Bank 2: BACnet objects"));
    rows.clear();
    for (const QJsonValue &v : b[QStringLiteral("objects")].toArray()) {
        const QJsonObject o = v.toObject();
        rows << QStringList{Text_Of(o[QStringLiteral("record")]),    Text_Of(o[QStringLiteral("object_type")]),
                            Text_Of(o[QStringLiteral("instance")]),  Text_Of(o[QStringLiteral("group_name")]),
                            Text_Of(o[QStringLiteral("row")]),       Text_Of(o[QStringLiteral("position")]),
                            Text_Of(o[QStringLiteral("start_bit")]), Text_Of(o[QStringLiteral("length")]),
                            Coded(o, "eng_unit", "eng_unit_name"),   Text_Of(o[QStringLiteral("description")])};
    }
    r.Table({QStringLiteral("Record"), QStringLiteral("Type"), QStringLiteral("Instance"), QStringLiteral("Group"),
             QStringLiteral("Row"), QStringLiteral("Position"), QStringLiteral("Bit"), QStringLiteral("Length"),
             QStringLiteral("Unit"), QStringLiteral("Description")},
            rows);
}

} // namespace

QString Dump_Table(const QByteArray &json)
{
    const QJsonObject top = QJsonDocument::fromJson(json).object();
    Report r;
    const QString image = top[QStringLiteral("image")].toString();
    if (image == u"bank1")
        Bank1(r, top);
    else if (image == u"bank2")
        Bank2(r, top);
    else {
        Bank1(r, top[QStringLiteral("bank1")].toObject());
        Bank2(r, top[QStringLiteral("bank2")].toObject());
    }
    return r.Text();
}
