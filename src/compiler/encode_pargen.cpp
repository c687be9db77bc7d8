#include "compiler/encode_pargen.h"

#include "compiler/bank_layout.h"
#include "compiler/compiler_buffers.h"
#include "compiler/le_bytes.h"
#include "compiler/text_rules.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "core/xml_document.h"

namespace {

// One key of the document, with the fallback that applies when it is missing.
struct Reader
{
    pugi::xml_node root;

    bool Has(const char *key, QString *text) const { return Child_Text(root, key, text); }
    QString Text(const char *key, const QString &fallback = QString()) const
    {
        return Child_Text_Def(root, key, fallback);
    }
    int Int(const char *key, int fallback) const
    {
        QString text;
        return Has(key, &text) ? Str_To_Int_Def(text, fallback) : fallback;
    }
    // Flags of the addresses: on only when the text is exactly "1".
    bool Flag(const char *key) const
    {
        QString text;
        return Has(key, &text) && text == u"1";
    }
};

void Put_Octets(std::span<std::uint8_t> block, std::size_t offset, const Reader &r, const char *const keys[4],
                const int fallbacks[4])
{
    for (std::size_t i = 0; i < 4; ++i)
        le::Put_U8(block, offset + i, std::uint32_t(r.Int(keys[i], fallbacks[int(i)])));
}

void Put_No_Address(std::span<std::uint8_t> block, std::size_t offset)
{
    for (std::size_t i = 0; i < 4; ++i)
        le::Put_U8(block, offset + i, 255);
}

QString Too_Long(const char *key, qsizetype length, int limit)
{
    return Messages()
        .Get(Msg_Compile_Text_Too_Long)
        .arg(QLatin1StringView(key), QString::number(length), QString::number(limit));
}

// Writes a hexadecimal key of the LoRa block, refusing a text longer than its
// field.
bool Put_Key(Compiler_Buffers &b, const Reader &r, const char *key, int digits, std::size_t offset, QString *problem)
{
    const QString text = r.Text(key);
    const std::span<std::uint8_t> field =
        std::span<std::uint8_t>(b.LoRa_Block).subspan(offset, std::size_t(digits / 2));
    if (!Hex_Field(text, digits, field)) {
        *problem = Too_Long(key, text.size(), digits);
        return false;
    }
    return true;
}

// The device name: one byte per character (the low 8 bits of its UTF-16 code
// unit) from 0x050 on. Sixteen characters fill the field; more are refused.
bool Put_Device_Name(Compiler_Buffers &b, const Reader &r, const char *key, QString *problem)
{
    const QString name = r.Text(key, QStringLiteral("devicename1"));
    if (name.size() > qsizetype(bank::Device_Name_Size)) {
        *problem = Too_Long(key, name.size(), int(bank::Device_Name_Size));
        return false;
    }
    for (qsizetype i = 0; i < name.size(); ++i)
        le::Put_U8(b.Parameter_Block, bank::Device_Name + std::size_t(i), name[i].unicode());
    return true;
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

bool Encode_ParGen(Compiler_Buffers &b, const QString &file_pargen, QString *problem)
{
    using namespace bank;
    b.Desc_Limit = false;
    Xml_Document doc;
    switch (doc.Load(file_pargen)) {
    case Xml_Document::State::Missing:
        return true;
    case Xml_Document::State::Damaged:
        *problem = doc.Problem();
        return false;
    case Xml_Document::State::Loaded:
        break;
    }
    const Reader r{doc.Root()};
    auto &lora = b.LoRa_Block;
    auto &par = b.Parameter_Block;

    le::Put_U8(lora, LoRa_Band, Band_Code(r.Text("LoRa_RF_Band")));
    le::Put_U8(lora, LoRa_Network_Type, Upper_Trimmed(r.Text("LoRa_Network_Type")) == u"PUBLIC" ? 1 : 0);
    le::Put_U8(lora, LoRa_Adaptive_Rate, std::uint32_t(r.Int("LoRa_Adaptive_DataRate", 0)));
    le::Put_U8(lora, LoRa_Data_Rate, std::uint32_t(Data_Rate_Number(r.Text("LoRa_DataRate"))));
    // Compared as written: only the window's own texts count.
    le::Put_U8(lora, LoRa_Transmission, r.Text("LoRa_Transmission_Type") == u"Confirmed" ? 1 : 0);
    le::Put_U8(lora, LoRa_Max_Payload, std::uint32_t(r.Int("LoRa_Payload_Size", 1)));
    le::Put_U32(lora, LoRa_Interval, std::uint32_t(r.Int("LoRa_Transmit_Interval", 1)));
    const bool otaa = Upper_Trimmed(r.Text("LoRa_Activation_Method")) == u"OVER-THE-AIR ACTIVATION [OTAA]";
    le::Put_U8(lora, LoRa_Activation, otaa ? 1 : 0);
    // Only the keys of the chosen method reach the converter; the others stay zero.
    if (otaa) {
        if (!Put_Key(b, r, "LoRa_Application_Key", 32, LoRa_App_Key, problem))
            return false;
    } else if (!Put_Key(b, r, "LoRa_Device_Address", 8, LoRa_Device_Address, problem) ||
               !Put_Key(b, r, "LoRa_Application_Identifier", 16, LoRa_App_Identifier, problem) ||
               !Put_Key(b, r, "LoRa_Network_Session_Key", 32, LoRa_Nwk_Session_Key, problem) ||
               !Put_Key(b, r, "LoRa_Application_Session_Key", 32, LoRa_App_Session_Key, problem)) {
        return false;
    }

    // Serial channel 5 is the converter's own service port.
    le::Put_U32(par, Serial_Baud_Rate + 5 * 4, 19200);
    le::Put_U8(par, Serial_Parity + 5, 0);
    le::Put_U8(par, Serial_Stop_Bits + 5, 1);
    le::Put_U8(par, Serial_Data_Bits + 5, 8);

    static const char *const eth_ip[4] = {"Ethernet_IP1", "Ethernet_IP2", "Ethernet_IP3", "Ethernet_IP4"};
    static const char *const eth_sm[4] = {"Ethernet_SM1", "Ethernet_SM2", "Ethernet_SM3", "Ethernet_SM4"};
    static const char *const eth_gat[4] = {"Ethernet_GAT1", "Ethernet_GAT2", "Ethernet_GAT3", "Ethernet_GAT4"};
    static const char *const eth_dns[4] = {"Ethernet_DNS1", "Ethernet_DNS2", "Ethernet_DNS3", "Ethernet_DNS4"};
    static const int eth_ip_def[4] = {192, 168, 0, 10};
    static const int mask_def[4] = {255, 255, 255, 0};
    static const int gat_def[4] = {192, 168, 0, 1};
    Put_Octets(par, Ip_Address, r, eth_ip, eth_ip_def);
    Put_Octets(par, Subnet_Mask, r, eth_sm, mask_def);
    Put_Octets(par, Gateway, r, eth_gat, gat_def);
    if (!r.Flag("Ethernet_EN_GAT"))
        Put_No_Address(par, Gateway);
    Put_Octets(par, Dns_Server, r, eth_dns, gat_def);
    if (!r.Flag("Ethernet_EN_DNS"))
        Put_No_Address(par, Dns_Server);

    const int bacnet_type = r.Int("BACnet_Type", 0);
    b.Desc_Limit = r.Flag("BACnet_Desc_Chars_Limit");

    if (bacnet_type == 0) {
        // BACnet/IP: the BACnet addresses replace the Ethernet ones.
        static const char *const ip[4] = {"BACnet_IP1", "BACnet_IP2", "BACnet_IP3", "BACnet_IP4"};
        static const char *const sm[4] = {"BACnet_SM1", "BACnet_SM2", "BACnet_SM3", "BACnet_SM4"};
        static const char *const gat[4] = {"BACnet_GAT1", "BACnet_GAT2", "BACnet_GAT3", "BACnet_GAT4"};
        static const int ip_def[4] = {192, 168, 0, 5};
        Put_Octets(par, Ip_Address, r, ip, ip_def);
        Put_Octets(par, Subnet_Mask, r, sm, mask_def);
        Put_Octets(par, Gateway, r, gat, gat_def);
        if (!r.Flag("BACnet_EN_GAT"))
            Put_No_Address(par, Gateway);
        le::Put_U16(par, Bacnet_Ip_Port, std::uint32_t(r.Int("BACnet_PORT", 47808)));
        if (!Put_Device_Name(b, r, "BACnet_NAME_STA", problem))
            return false;
        le::Put_U32(par, Bacnet_Ip_Device_Id, std::uint32_t(r.Int("BACnet_DEV_IDE", 1)));
    } else if (bacnet_type == 1) {
        // MS/TP on serial channels 3 and 0; the Ethernet address stays.
        const std::uint32_t baud = Baud_Rate_Of(r.Int("BACnet_Ser_Baudrate", 3));
        le::Put_U32(par, Serial_Baud_Rate + 3 * 4, baud);
        le::Put_U32(par, Serial_Baud_Rate + 0 * 4, baud);
        const std::uint8_t parity = Parity_Code_Of(r.Int("BACnet_Ser_Parity", 0));
        le::Put_U8(par, Serial_Parity + 3, parity);
        le::Put_U8(par, Serial_Parity + 0, parity);
        le::Put_U8(par, Mstp_Mac_Address, std::uint32_t(r.Int("BACnet_Ser_ID", 0)));
        if (!Put_Device_Name(b, r, "BACnet_Ser_NAME_STA", problem))
            return false;
        le::Put_U8(par, Mstp_Max_Master, std::uint32_t(r.Int("BACnet_Ser_Max_Master", 1)));
        le::Put_U8(par, Mstp_Max_Info_Frames, std::uint32_t(r.Int("BACnet_Ser_Max_Info_Frames", 1)));
        le::Put_U32(par, Mstp_Device_Instance, std::uint32_t(r.Int("BACnet_Ser_DEV_IDE", 0)));
        le::Put_U16(par, Mstp_Network, std::uint32_t(r.Int("BACnet_Ser_Network", 1)));
    }
    return true;
}
