#include "compiler/encode_pargen.h"

#include "compiler/bank_layout.h"
#include "compiler/compiler_buffers.h"
#include "compiler/le_bytes.h"
#include "compiler/text_rules.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "params/pargen_document.h"

namespace {

using K = ParGen_Key;

// The compiler's own fallbacks apply where the document lacks a key; they
// differ from the window's defaults in places (the MS/TP device instance is 0
// here).
void Put_Octets(std::span<std::uint8_t> block, std::size_t offset, const ParGen_Document &d, const K (&keys)[4],
                const int (&fallbacks)[4])
{
    for (std::size_t i = 0; i < 4; ++i)
        le::Put_U8(block, offset + i, std::uint32_t(d.Int_Or(keys[i], fallbacks[i])));
}

void Put_No_Address(std::span<std::uint8_t> block, std::size_t offset)
{
    for (std::size_t i = 0; i < 4; ++i)
        le::Put_U8(block, offset + i, 255);
}

Failure Too_Long(ParGen_Key key, qsizetype length, int limit)
{
    return Fail(
        Messages().Get(Msg_Compile_Text_Too_Long).arg(Key_Name(key), QString::number(length), QString::number(limit)));
}

// Writes a hexadecimal key of the LoRa block, refusing a text longer than its
// field.
Result<> Put_Key(Compiler_Buffers &b, const ParGen_Document &d, ParGen_Key key, int digits, std::size_t offset)
{
    const QString text = d.Text_Or(key, QString());
    const std::span<std::uint8_t> field =
        std::span<std::uint8_t>(b.LoRa_Block).subspan(offset, std::size_t(digits / 2));
    if (!Hex_Field(text, digits, field))
        return Too_Long(key, text.size(), digits);
    return {};
}

// The device name: one byte per character (the low 8 bits of its UTF-16 code
// unit) from 0x050 on. Sixteen characters fill the field; more are refused.
Result<> Put_Device_Name(Compiler_Buffers &b, const ParGen_Document &d, ParGen_Key key)
{
    const QString name = d.Text_Or(key, QStringLiteral("devicename1"));
    if (name.size() > qsizetype(bank::Device_Name_Size))
        return Too_Long(key, name.size(), int(bank::Device_Name_Size));
    for (qsizetype i = 0; i < name.size(); ++i)
        le::Put_U8(b.Parameter_Block, bank::Device_Name + std::size_t(i), name[i].unicode());
    return {};
}

// The keys of the activation method in use; the others stay zero.
Result<> Put_LoRa_Keys(Compiler_Buffers &b, const ParGen_Document &d, bool otaa)
{
    using namespace bank;
    if (otaa)
        return Put_Key(b, d, K::LoRa_Application_Key, 32, LoRa_App_Key);
    for (const auto &[key, digits, offset] : {std::tuple{K::LoRa_Device_Address, 8, LoRa_Device_Address},
                                              std::tuple{K::LoRa_Application_Identifier, 16, LoRa_App_Identifier},
                                              std::tuple{K::LoRa_Network_Session_Key, 32, LoRa_Nwk_Session_Key},
                                              std::tuple{K::LoRa_Application_Session_Key, 32, LoRa_App_Session_Key}}) {
        if (Result<> put = Put_Key(b, d, key, digits, offset); !put)
            return put;
    }
    return {};
}

Result<> Encode_Loaded(Compiler_Buffers &b, const ParGen_Document &d)
{
    using namespace bank;
    auto &lora = b.LoRa_Block;
    auto &par = b.Parameter_Block;

    le::Put_U8(lora, LoRa_Band, Band_Code(d.Text_Or(K::LoRa_RF_Band, QString())));
    le::Put_U8(lora, LoRa_Network_Type, Upper_Trimmed(d.Text_Or(K::LoRa_Network_Type, QString())) == u"PUBLIC" ? 1 : 0);
    le::Put_U8(lora, LoRa_Adaptive_Rate, std::uint32_t(d.Int_Or(K::LoRa_Adaptive_DataRate, 0)));
    le::Put_U8(lora, LoRa_Data_Rate, std::uint32_t(Data_Rate_Number(d.Text_Or(K::LoRa_DataRate, QString()))));
    // Compared as written: only the window's own texts count.
    le::Put_U8(lora, LoRa_Transmission, d.Text_Or(K::LoRa_Transmission_Type, QString()) == u"Confirmed" ? 1 : 0);
    le::Put_U8(lora, LoRa_Max_Payload, std::uint32_t(d.Int_Or(K::LoRa_Payload_Size, 1)));
    le::Put_U32(lora, LoRa_Interval, std::uint32_t(Str_To_Int_Def(d.Transmit_Interval().value_or(QString()), 1)));
    const bool otaa =
        Upper_Trimmed(d.Text_Or(K::LoRa_Activation_Method, QString())) == u"OVER-THE-AIR ACTIVATION [OTAA]";
    le::Put_U8(lora, LoRa_Activation, otaa ? 1 : 0);
    if (Result<> keys = Put_LoRa_Keys(b, d, otaa); !keys)
        return keys;

    // Serial channel 5 is the converter's own service port.
    le::Put_U32(par, Serial_Baud_Rate + 5 * 4, 19200);
    le::Put_U8(par, Serial_Parity + 5, 0);
    le::Put_U8(par, Serial_Stop_Bits + 5, 1);
    le::Put_U8(par, Serial_Data_Bits + 5, 8);

    static constexpr K eth_ip[4] = {K::Ethernet_IP1, K::Ethernet_IP2, K::Ethernet_IP3, K::Ethernet_IP4};
    static constexpr K eth_sm[4] = {K::Ethernet_SM1, K::Ethernet_SM2, K::Ethernet_SM3, K::Ethernet_SM4};
    static constexpr K eth_gat[4] = {K::Ethernet_GAT1, K::Ethernet_GAT2, K::Ethernet_GAT3, K::Ethernet_GAT4};
    static constexpr K eth_dns[4] = {K::Ethernet_DNS1, K::Ethernet_DNS2, K::Ethernet_DNS3, K::Ethernet_DNS4};
    static constexpr int eth_ip_def[4] = {192, 168, 0, 10};
    static constexpr int mask_def[4] = {255, 255, 255, 0};
    static constexpr int gat_def[4] = {192, 168, 0, 1};
    Put_Octets(par, Ip_Address, d, eth_ip, eth_ip_def);
    Put_Octets(par, Subnet_Mask, d, eth_sm, mask_def);
    Put_Octets(par, Gateway, d, eth_gat, gat_def);
    if (!d.Flag(K::Ethernet_EN_GAT))
        Put_No_Address(par, Gateway);
    Put_Octets(par, Dns_Server, d, eth_dns, gat_def);
    if (!d.Flag(K::Ethernet_EN_DNS))
        Put_No_Address(par, Dns_Server);

    const int bacnet_type = d.Int_Or(K::BACnet_Type, 0);
    b.Desc_Limit = d.Flag(K::BACnet_Desc_Chars_Limit);

    if (bacnet_type == 0) {
        // BACnet/IP: the BACnet addresses replace the Ethernet ones.
        static constexpr K ip[4] = {K::BACnet_IP1, K::BACnet_IP2, K::BACnet_IP3, K::BACnet_IP4};
        static constexpr K sm[4] = {K::BACnet_SM1, K::BACnet_SM2, K::BACnet_SM3, K::BACnet_SM4};
        static constexpr K gat[4] = {K::BACnet_GAT1, K::BACnet_GAT2, K::BACnet_GAT3, K::BACnet_GAT4};
        static constexpr int ip_def[4] = {192, 168, 0, 5};
        Put_Octets(par, Ip_Address, d, ip, ip_def);
        Put_Octets(par, Subnet_Mask, d, sm, mask_def);
        Put_Octets(par, Gateway, d, gat, gat_def);
        if (!d.Flag(K::BACnet_EN_GAT))
            Put_No_Address(par, Gateway);
        le::Put_U16(par, Bacnet_Ip_Port, std::uint32_t(d.Int_Or(K::BACnet_PORT, 47808)));
        if (Result<> name = Put_Device_Name(b, d, K::BACnet_NAME_STA); !name)
            return name;
        le::Put_U32(par, Bacnet_Ip_Device_Id, std::uint32_t(d.Int_Or(K::BACnet_DEV_IDE, 1)));
    } else if (bacnet_type == 1) {
        // MS/TP on serial channels 3 and 0; the Ethernet address stays.
        const std::uint32_t baud = Baud_Rate_Of(d.Int_Or(K::BACnet_Ser_Baudrate, 3));
        le::Put_U32(par, Serial_Baud_Rate + 3 * 4, baud);
        le::Put_U32(par, Serial_Baud_Rate + 0 * 4, baud);
        const std::uint8_t parity = Parity_Code_Of(d.Int_Or(K::BACnet_Ser_Parity, 0));
        le::Put_U8(par, Serial_Parity + 3, parity);
        le::Put_U8(par, Serial_Parity + 0, parity);
        le::Put_U8(par, Mstp_Mac_Address, std::uint32_t(d.Int_Or(K::BACnet_Ser_ID, 0)));
        if (Result<> name = Put_Device_Name(b, d, K::BACnet_Ser_NAME_STA); !name)
            return name;
        le::Put_U8(par, Mstp_Max_Master, std::uint32_t(d.Int_Or(K::BACnet_Ser_Max_Master, 1)));
        le::Put_U8(par, Mstp_Max_Info_Frames, std::uint32_t(d.Int_Or(K::BACnet_Ser_Max_Info_Frames, 1)));
        le::Put_U32(par, Mstp_Device_Instance, std::uint32_t(d.Int_Or(K::BACnet_Ser_DEV_IDE, 0)));
        le::Put_U16(par, Mstp_Network, std::uint32_t(d.Int_Or(K::BACnet_Ser_Network, 1)));
    }
    return {};
}

} // namespace

std::uint8_t Band_Code(QStringView text)
{
    static const struct
    {
        const char16_t *text;
        std::uint8_t code;
    } bands[] = {{u"AS923", 0}, {u"AU915", 1}, {u"EU868", 5},       {u"KR920", 6},
                 {u"IN865", 7}, {u"US915", 8}, {u"US915-HYBRID", 9}};
    const QString upper = Upper_Trimmed(text);
    for (const auto &band : bands)
        if (upper == QStringView(band.text))
            return band.code;
    return 0;
}

int Data_Rate_Number(QStringView text)
{
    const qsizetype dash = text.indexOf(u'-');
    if (dash < 0)
        return 0;
    return Str_To_Int_Def(Trim_Controls(text.left(dash)), 0);
}

std::uint32_t Baud_Rate_Of(int code)
{
    static const std::uint32_t rates[] = {9600, 19200, 38400, 57600, 76800, 115200};
    return code >= 0 && code < 6 ? rates[code] : 9600;
}

std::uint8_t Parity_Code_Of(int index)
{
    // The converter takes NONE as 0 and ODD as 2, the usual none/even/odd
    // numbering, which leaves 1 for EVEN. An index outside the list is NONE,
    // as an unknown baud rate index is the first rate.
    switch (index) {
    case 1:
        return 2;
    case 2:
        return 1;
    default:
        return 0;
    }
}

bool Hex_Field(QStringView text, int digits, std::span<std::uint8_t> destination)
{
    if (text.size() > digits)
        return false;
    const QString padded = QString(digits - text.size(), u'0') + text;
    std::size_t at = 0;
    for (qsizetype i = 0; i < padded.size(); i += 2, ++at) {
        const QString piece = QStringLiteral("0x") + padded.mid(i, 2);
        le::Put_U8(destination, at, std::uint32_t(Str_To_Int_Def(piece, 0)));
    }
    return true;
}

Result<> Encode_ParGen(Compiler_Buffers &b, const ParGen_Document &document)
{
    b.Desc_Limit = false;
    return When_Loaded(document, [&] { return Encode_Loaded(b, document); });
}
