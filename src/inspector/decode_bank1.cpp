#include "compiler/bank_layout.h"
#include "compiler/checksum.h"
#include "compiler/le_bytes.h"
#include "core/object_catalogue.h"
#include "inspector/findings.h"
#include "inspector/image_decode.h"

#include <span>

namespace {

using Bytes = std::span<const std::uint8_t>;

Octets Octets_At(Bytes b, std::size_t offset)
{
    return {b[offset], b[offset + 1], b[offset + 2], b[offset + 3]};
}

// The named ranges of bank 1; every other byte is reserved and must be 0.
struct Range
{
    std::size_t from, to; // inclusive, exclusive
};
constexpr Range Bank1_Fields[] = {
    {0x000, 0x010}, {0x028, 0x03C}, {0x050, 0x060}, {0x0F8, 0x0FC}, {0x100, 0x103}, {0x10E, 0x110}, {0x12C, 0x130},
    {0x134, 0x180}, {0x190, 0x1BC}, {0x58C, 0x590}, {0x65C, 0x660}, {0x700, 0x704}, {0x7FC, 0x800},
};

bool In_Ranges(std::size_t offset, std::span<const Range> ranges)
{
    for (const Range &r : ranges)
        if (offset >= r.from && offset < r.to)
            return true;
    return false;
}

void Check(const Decoded_Bank1 &d, Findings &found)
{
    using namespace bank;
    static constexpr const char *Fixed_Word_Fields[] = {"fixed_0x000", "fixed_0x004", "fixed_0x008", "fixed_0x00C"};
    static constexpr std::uint32_t Fixed_Word_Values[] = {Fixed_Word_0_Value, Fixed_Word_1_Value, Fixed_Word_2_Value,
                                                          Fixed_Word_3_Value};
    static constexpr const char *Fixed_Port_Fields[] = {"fixed_0x034", "fixed_0x036", "fixed_0x038"};
    static constexpr std::uint32_t Fixed_Port_Values[] = {Fixed_Port_0_Value, Fixed_Port_1_Value, Fixed_Port_2_Value};
    for (std::size_t i = 0; i < d.fixed_words.size(); ++i)
        found.Fixed(QLatin1StringView(Fixed_Word_Fields[i]), d.fixed_words[i], Fixed_Word_Values[i]);
    for (std::size_t i = 0; i < d.fixed_ports.size(); ++i)
        found.Fixed(QLatin1StringView(Fixed_Port_Fields[i]), d.fixed_ports[i], Fixed_Port_Values[i]);
    found.Fixed_Address(QStringLiteral("object_section_address"), d.object_section_address, Object_Section_Address);
    qint64 objects = 0;
    for (const std::uint32_t count : d.object_counts)
        objects += count;
    // Even with 16-character descriptions the object section holds no more.
    found.In_Range(QStringLiteral("object_counts (sum)"), objects, 0, Records_Short_Descriptions);
    found.Fixed_Address(QStringLiteral("lorawan_section_address"), d.lorawan_section_address, LoRa_Section_Address);
}

} // namespace

Bank_Kind Bank_Kind_Of(qsizetype size)
{
    if (size == qsizetype(bank::Bank1_Size))
        return Bank_Kind::Bank1;
    if (size == qsizetype(bank::Bank2_Size))
        return Bank_Kind::Bank2;
    return Bank_Kind::Unknown;
}

Decoded_Bank1 Decode_Bank1(const QByteArray &image, QStringList &problems)
{
    using namespace bank;
    const Bytes b(reinterpret_cast<const std::uint8_t *>(image.constData()), std::size_t(image.size()));
    Decoded_Bank1 d;
    d.size = image.size();
    d.fixed_words = {le::Get_U32(b, Fixed_Word_0), le::Get_U32(b, Fixed_Word_1), le::Get_U32(b, Fixed_Word_2),
                     le::Get_U32(b, Fixed_Word_3)};
    d.ip_address = Octets_At(b, Ip_Address);
    d.subnet_mask = Octets_At(b, Subnet_Mask);
    d.gateway = Octets_At(b, Gateway);
    d.fixed_ports = {std::uint16_t(le::Get_U16(b, Fixed_Port_0)), std::uint16_t(le::Get_U16(b, Fixed_Port_1)),
                     std::uint16_t(le::Get_U16(b, Fixed_Port_2))};
    d.bacnet_ip_port = std::uint16_t(le::Get_U16(b, Bacnet_Ip_Port));
    std::copy_n(b.begin() + Device_Name, Device_Name_Size, d.device_name.begin());
    d.object_section_address = le::Get_U32(b, Object_Section_Pointer);
    d.mstp_mac_address = std::uint8_t(le::Get_U8(b, Mstp_Mac_Address));
    d.mstp_max_master = std::uint8_t(le::Get_U8(b, Mstp_Max_Master));
    d.mstp_max_info_frames = std::uint8_t(le::Get_U8(b, Mstp_Max_Info_Frames));
    d.mstp_network = std::uint16_t(le::Get_U16(b, Mstp_Network));
    d.mstp_device_instance = le::Get_U32(b, Mstp_Device_Instance);
    d.bacnet_ip_device_identifier = le::Get_U32(b, Bacnet_Ip_Device_Id);
    for (std::size_t t = 0; t < d.object_counts.size(); ++t)
        d.object_counts[t] = le::Get_U32(b, Object_Catalogue[t].count_offset);
    for (std::size_t ch = 0; ch < d.serial_channels.size(); ++ch)
        d.serial_channels[ch] = {
            le::Get_U32(b, Serial_Baud_Rate + 4 * ch), std::uint8_t(le::Get_U8(b, Serial_Parity + ch)),
            std::uint8_t(le::Get_U8(b, Serial_Stop_Bits + ch)), std::uint8_t(le::Get_U8(b, Serial_Data_Bits + ch))};
    for (std::size_t i = 0; i < d.data_bits_6_7.size(); ++i)
        d.data_bits_6_7[i] = std::uint8_t(le::Get_U8(b, Serial_Data_Bits + Serial_Channels + i));
    d.dns_server = Octets_At(b, Dns_Server);
    d.lorawan_section_address = le::Get_U32(b, LoRa_Section_Pointer);
    d.checksum_stored = le::Get_U32(b, Checksum);
    d.checksum_computed = Parameter_Checksum(b);

    Findings found(problems);
    Check(d, found);
    for (std::size_t i = 0; i < b.size(); ++i)
        if (b[i] != 0 && !In_Ranges(i, Bank1_Fields)) {
            d.nonzero_reserved_bytes << std::uint32_t(i);
            found.Stray(i);
        }
    found.Report_Stray();
    if (d.checksum_stored != d.checksum_computed)
        found.Add(Messages()
                      .Get(Msg_Dump_Checksum)
                      .arg(QString::number(d.checksum_stored), QString::number(d.checksum_computed)));
    return d;
}
