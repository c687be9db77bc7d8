#include "inspector/image_names.h"

#include "core/object_catalogue.h"
#include "core/text.h"
#include "params/lora_tables.h"

namespace {

const char *Two_Names(std::uint32_t code, const char *zero, const char *one)
{
    return code == 0 ? zero : code == 1 ? one : nullptr;
}

} // namespace

const char *Band_Name(std::uint32_t code)
{
    static const char *const names[] = {"AS923", "AU915", nullptr, nullptr, nullptr,
                                        "EU868", "KR920", "IN865", "US915", "US915-HYBRID"};
    return code < std::size(names) ? names[code] : nullptr;
}

const char *Network_Type_Name(std::uint32_t code)
{
    return Two_Names(code, "private", "public");
}

const char *Activation_Name(std::uint32_t code)
{
    return Two_Names(code, "ABP", "OTAA");
}

const char *Transmission_Name(std::uint32_t code)
{
    return Two_Names(code, "unconfirmed", "confirmed");
}

const char *Parity_Name(std::uint32_t code)
{
    return code == 0 ? "NONE" : code == 1 ? "EVEN" : code == 2 ? "ODD" : nullptr;
}

const char *Group_Name(std::uint32_t code)
{
    return Two_Names(code, "Read", "Write");
}

QString Data_Rate_Name(std::uint32_t band, std::uint32_t rate)
{
    const char *name = Band_Name(band);
    if (!name)
        return {};
    for (const LoRa_Band &b : LoRa_Bands()) {
        if (b.Name.compare(QLatin1StringView(name), Qt::CaseInsensitive) != 0)
            continue;
        for (const LoRa_DataRate_Item &item : b.Items) {
            const qsizetype dash = item.Text.indexOf(u'-');
            bool ok = false;
            if (dash > 0 && item.Text.left(dash).trimmed().toUInt(&ok) == rate && ok)
                return item.Text.toString();
        }
    }
    return {};
}

const char *Bacnet_Link_Name(const Decoded_Bank1 &bank1)
{
    const bool ip = bank1.bacnet_ip_port != 0 || bank1.bacnet_ip_device_identifier != 0;
    return ip ? "BACnet/IP" : bank1.serial_channels[0].baud_rate != 0 ? "BACnet MS/TP" : nullptr;
}

int Bacnet_Type_Number(int type)
{
    return Object_Catalogue[std::size_t(type)].bacnet_code;
}

QString Latin1_Text(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t max)
{
    QString text;
    for (std::size_t i = offset; i < offset + max && i < bytes.size() && bytes[i] != 0; ++i)
        text += QChar(char16_t(bytes[i]));
    return text;
}

QString Device_Name_Text(const Decoded_Bank1 &bank1)
{
    return Latin1_Text(bank1.device_name, 0, bank1.device_name.size());
}

QString Dotted(const Octets &a)
{
    return QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
}

QString Hex_Bytes(std::span<const std::uint8_t> bytes)
{
    QString text;
    for (const std::uint8_t b : bytes)
        text += QString::number(b, 16).toUpper().rightJustified(2, u'0');
    return text;
}

QString Hex32(quint32 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, u'0');
}

QString Hex_Offset(std::size_t offset)
{
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper().rightJustified(3, u'0');
}

QString Code_With_Name(qint64 code, const QString &name)
{
    const QString number = QString::number(code);
    return name.isEmpty() ? number : number + QStringLiteral(" (") + name.simplified() + u')';
}

QString Code_With_Name(qint64 code, const char *name)
{
    return Code_With_Name(code, name ? QString::fromLatin1(name) : QString());
}

QString Quoted(const QString &text)
{
    QString q = text;
    q.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + Controls_Escaped(q) + u'"';
}
