#include "inspector/bank_dump.h"

#include "compiler/bank_layout.h"
#include "compiler/checksum.h"
#include "inspector/json_writer.h"
#include "compiler/le_bytes.h"
#include "compiler/object_types.h"
#include "core/messages.h"
#include "params/lora_tables.h"
#include "tables/eng_units.h"

#include <algorithm>
#include <limits>
#include <span>

namespace {

using Bytes = std::span<const std::uint8_t>;

Bytes Span_Of(const QByteArray &image)
{
    return Bytes(reinterpret_cast<const std::uint8_t *>(image.constData()), std::size_t(image.size()));
}

QString Dotted(Bytes b, std::size_t offset)
{
    return QStringLiteral("%1.%2.%3.%4").arg(b[offset]).arg(b[offset + 1]).arg(b[offset + 2]).arg(b[offset + 3]);
}

QString Hex_Bytes(Bytes b, std::size_t offset, std::size_t count)
{
    QString text;
    for (std::size_t i = 0; i < count; ++i)
        text += QString::number(b[offset + i], 16).toUpper().rightJustified(2, u'0');
    return text;
}

// Bytes up to the first 0 (or `max`), one character per byte.
QString Latin1_Text(Bytes b, std::size_t offset, std::size_t max)
{
    QString text;
    for (std::size_t i = offset; i < offset + max && i < b.size() && b[i] != 0; ++i)
        text += QChar(char16_t(b[i]));
    return text;
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

// "0x" and the upper-case hexadecimal offset, at least three digits, as the
// list of non-zero reserved bytes shows it.
QString Hex_Offset(std::size_t offset)
{
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper().rightJustified(3, u'0');
}

// What an image holds that the compiler never writes, as the messages the
// inspector prints: the reader learns which field, what it holds and what
// belongs there.
class Findings
{
public:
    explicit Findings(QStringList &problems)
        : problems_(problems)
    {}

    void Fixed(const QString &field, const QString &value, const QString &expected)
    {
        if (value != expected)
            problems_ << Messages().Get(Msg_Dump_Fixed_Field).arg(field, value, expected);
    }
    void Fixed(const QString &field, std::uint32_t value, std::uint32_t expected)
    {
        Fixed(field, QString::number(value), QString::number(expected));
    }
    void Fixed_Address(const QString &field, std::uint32_t value, std::uint32_t expected)
    {
        Fixed(field, Hex32(value), Hex32(expected));
    }
    void In_Range(const QString &field, qint64 value, qint64 lowest, qint64 highest)
    {
        if (value < lowest || value > highest)
            problems_ << Messages()
                             .Get(Msg_Dump_Out_Of_Range)
                             .arg(field, QString::number(value), QString::number(lowest), QString::number(highest));
    }
    // A non-zero byte at `offset` where the layout holds only zeros.
    void Stray(std::size_t offset)
    {
        ++stray_;
        first_stray_ = std::min(first_stray_, offset);
    }
    void Add(const QString &problem) { problems_ << problem; }
    // The stray bytes found, as one message; called once, at the end.
    void Report_Stray()
    {
        if (stray_ > 0)
            problems_ << Messages().Get(Msg_Dump_Stray_Bytes).arg(QString::number(stray_), Hex_Offset(first_stray_));
    }

private:
    QStringList &problems_;
    qint64 stray_ = 0;
    std::size_t first_stray_ = std::numeric_limits<std::size_t>::max();
};

// The names people use beside the codes the images hold; null where a code
// has no name.
const char *Band_Name(std::uint32_t code)
{
    static const char *const names[] = {"AS923", "AU915", nullptr, nullptr, nullptr,
                                        "EU868", "KR920", "IN865", "US915", "US915-HYBRID"};
    return code < std::size(names) ? names[code] : nullptr;
}

const char *Two_Names(std::uint32_t code, const char *zero, const char *one)
{
    return code == 0 ? zero : code == 1 ? one : nullptr;
}

// The converter's parity codes: 0 none, 1 even, 2 odd.
const char *Parity_Name(std::uint32_t code)
{
    return code == 0 ? "NONE" : code == 1 ? "EVEN" : code == 2 ? "ODD" : nullptr;
}

// The band's data-rate text numbered `rate` (the number before its "-").
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

// The object type numbers of the BACnet standard, by the index of
// compiler::Object_Types.
constexpr int Bacnet_Type_Numbers[compiler::Object_Type_Count] = {0,  1,  3, 4, 46, 44, 48, 40, 45, 13,
                                                                  14, 19, 2, 5, 21, 22, 30, 23, 47};

QByteArray Dump_Bank2_With(const QByteArray &image, QStringList &problems, const std::uint32_t *counts);

} // namespace

Bank_Kind Bank_Kind_Of(qsizetype size)
{
    if (size == qsizetype(bank::Bank1_Size))
        return Bank_Kind::Bank1;
    if (size == qsizetype(bank::Bank2_Size))
        return Bank_Kind::Bank2;
    return Bank_Kind::Unknown;
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
    using namespace bank;
    const Bytes b = Span_Of(image);
    Findings found(problems);
    struct Fixed_Word
    {
        const char *field;
        std::size_t offset;
        std::size_t width;
        std::uint32_t value;
    };
    static constexpr Fixed_Word Fixed_Words[] = {
        {"fixed_0x000", Fixed_Word_0, 4, Fixed_Word_0_Value}, {"fixed_0x004", Fixed_Word_1, 4, Fixed_Word_1_Value},
        {"fixed_0x008", Fixed_Word_2, 4, Fixed_Word_2_Value}, {"fixed_0x00C", Fixed_Word_3, 4, Fixed_Word_3_Value},
        {"fixed_0x034", Fixed_Port_0, 2, Fixed_Port_0_Value}, {"fixed_0x036", Fixed_Port_1, 2, Fixed_Port_1_Value},
        {"fixed_0x038", Fixed_Port_2, 2, Fixed_Port_2_Value},
    };
    for (const Fixed_Word &w : Fixed_Words)
        found.Fixed(QLatin1StringView(w.field), w.width == 4 ? le::Get_U32(b, w.offset) : le::Get_U16(b, w.offset),
                    w.value);
    found.Fixed_Address(QStringLiteral("object_section_address"), le::Get_U32(b, Object_Section_Pointer),
                        Object_Section_Address);
    qint64 objects = 0;
    for (const compiler::Object_Type &type : compiler::Object_Types)
        objects += le::Get_U32(b, type.count_offset);
    // Even with 16-character descriptions the object section holds no more.
    found.In_Range(QStringLiteral("object_counts (sum)"), objects, 0, Records_Short_Descriptions);
    found.Fixed_Address(QStringLiteral("lorawan_section_address"), le::Get_U32(b, LoRa_Section_Pointer),
                        LoRa_Section_Address);

    Json_Writer j;
    j.Begin_Object();
    j.String("image", QStringLiteral("bank1"));
    j.Number("size", image.size());
    j.String("load_address", Hex32(Bank1_Address));
    j.Number("fixed_0x000", le::Get_U32(b, Fixed_Word_0));
    j.Number("fixed_0x004", le::Get_U32(b, Fixed_Word_1));
    j.Number("fixed_0x008", le::Get_U32(b, Fixed_Word_2));
    j.Number("fixed_0x00C", le::Get_U32(b, Fixed_Word_3));
    j.String("ip_address", Dotted(b, Ip_Address));
    j.String("subnet_mask", Dotted(b, Subnet_Mask));
    j.String("gateway", Dotted(b, Gateway));
    j.Number("fixed_0x034", le::Get_U16(b, Fixed_Port_0));
    j.Number("fixed_0x036", le::Get_U16(b, Fixed_Port_1));
    j.Number("fixed_0x038", le::Get_U16(b, Fixed_Port_2));
    j.Number("bacnet_ip_port", le::Get_U16(b, Bacnet_Ip_Port));
    j.String("device_name", Latin1_Text(b, Device_Name, Device_Name_Size));
    j.String("device_name_bytes", Hex_Bytes(b, Device_Name, Device_Name_Size));
    j.String("object_section_address", Hex32(le::Get_U32(b, Object_Section_Pointer)));
    j.Number("mstp_mac_address", le::Get_U8(b, Mstp_Mac_Address));
    j.Number("mstp_max_master", le::Get_U8(b, Mstp_Max_Master));
    j.Number("mstp_max_info_frames", le::Get_U8(b, Mstp_Max_Info_Frames));
    j.Number("mstp_network", le::Get_U16(b, Mstp_Network));
    j.Number("mstp_device_instance", le::Get_U32(b, Mstp_Device_Instance));
    j.Number("bacnet_ip_device_identifier", le::Get_U32(b, Bacnet_Ip_Device_Id));
    // BACnet/IP sets its port and identifier; MS/TP leaves them 0 and sets
    // the baud rate of serial channel 0 instead.
    const bool ip = le::Get_U16(b, Bacnet_Ip_Port) != 0 || le::Get_U32(b, Bacnet_Ip_Device_Id) != 0;
    Name(j, "bacnet_link", ip ? "BACnet/IP" : le::Get_U32(b, Serial_Baud_Rate) != 0 ? "BACnet MS/TP" : nullptr);
    j.Begin_Object("object_counts");
    for (const compiler::Object_Type &type : compiler::Object_Types)
        j.Number(type.text, le::Get_U32(b, type.count_offset));
    j.End_Object();
    j.Begin_Array("serial_channels");
    for (std::size_t ch = 0; ch < std::size_t(Serial_Channels); ++ch) {
        j.Begin_Object();
        j.Number("channel", qint64(ch));
        j.Number("baud_rate", le::Get_U32(b, Serial_Baud_Rate + 4 * ch));
        j.Number("parity", le::Get_U8(b, Serial_Parity + ch));
        Name(j, "parity_name", Parity_Name(le::Get_U8(b, Serial_Parity + ch)));
        j.Number("stop_bits", le::Get_U8(b, Serial_Stop_Bits + ch));
        j.Number("data_bits", le::Get_U8(b, Serial_Data_Bits + ch));
        j.End_Object();
    }
    j.End_Array();
    j.Begin_Array("data_bits_6_7");
    j.Number(nullptr, le::Get_U8(b, Serial_Data_Bits + 6));
    j.Number(nullptr, le::Get_U8(b, Serial_Data_Bits + 7));
    j.End_Array();
    j.String("dns_server", Dotted(b, Dns_Server));
    j.String("lorawan_section_address", Hex32(le::Get_U32(b, LoRa_Section_Pointer)));
    j.Begin_Array("nonzero_reserved_bytes");
    for (std::size_t i = 0; i < b.size(); ++i)
        if (b[i] != 0 && !In_Ranges(i, Bank1_Fields)) {
            j.String(nullptr, QStringLiteral("0x%1").arg(i, 3, 16, QLatin1Char('0')).toUpper().replace(u'X', u'x'));
            found.Stray(i);
        }
    j.End_Array();
    found.Report_Stray();
    const std::uint32_t stored = le::Get_U32(b, Checksum);
    const std::uint32_t computed = Parameter_Checksum(b);
    if (stored != computed)
        found.Add(Messages().Get(Msg_Dump_Checksum).arg(QString::number(stored), QString::number(computed)));
    j.Number("checksum_stored", stored);
    j.Number("checksum_computed", computed);
    j.Bool("checksum_ok", stored == computed);
    j.End_Object();
    return j.Text();
}

QByteArray Dump_Bank2(const QByteArray &image, QStringList &problems)
{
    return Dump_Bank2_With(image, problems, nullptr);
}

QByteArray Dump_Pair(const QByteArray &bank1, const QByteArray &bank2, QStringList &problems)
{
    const Bytes b1 = Span_Of(bank1);
    std::uint32_t counts[compiler::Object_Type_Count];
    for (int t = 0; t < compiler::Object_Type_Count; ++t)
        counts[t] = le::Get_U32(b1, compiler::Object_Types[std::size_t(t)].count_offset);
    Json_Writer j;
    j.Begin_Object();
    j.String("image", QStringLiteral("pair"));
    j.Raw("bank1", Dump_Bank1(bank1, problems));
    j.Raw("bank2", Dump_Bank2_With(bank2, problems, counts));
    j.End_Object();
    return j.Text();
}

namespace {

// Bank 2; with the 19 counts of bank 1, each object record also names its
// object type and instance, and the counts are checked against the records.
QByteArray Dump_Bank2_With(const QByteArray &image, QStringList &problems, const std::uint32_t *counts)
{
    using namespace bank;
    const Bytes b = Span_Of(image);
    const Bytes lora = b.subspan(0, LoRa_Block_Size);
    Findings found(problems);
    std::size_t stray = 0; // non-zero bytes where the layout has only zeros
    // Set while counting an object section that could not be decoded: its
    // bytes count in the dump, but the undecodable geometry is the problem
    // reported, not each of its bytes.
    bool undecoded = false;
    auto count_stray = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            if (b[i] != 0) {
                ++stray;
                if (!undecoded)
                    found.Stray(i);
            }
    };
    // The first record of each type, by the counts of bank 1 (records lie
    // sorted by type), and the records they account for.
    qint64 first_of[compiler::Object_Type_Count + 1] = {};
    for (int t = 0; counts && t < compiler::Object_Type_Count; ++t)
        first_of[t + 1] = first_of[t] + counts[t];
    const qint64 counted = first_of[compiler::Object_Type_Count];
    // The records could be read: an empty section, or one of known geometry.
    bool comparable = le::Get_U32(b, Object_Section_Offset + Record_Description) == 0;
    std::size_t records_found = 0; // the filled records, from record 0
    const std::uint32_t uplinks = le::Get_U16(lora, LoRa_Uplink_Count);
    const std::uint32_t downlinks = le::Get_U16(lora, LoRa_Downlink_Count);
    found.Fixed(QStringLiteral("lora.reserved_0x43"), le::Get_U8(lora, LoRa_Reserved), 0);
    found.Fixed_Address(QStringLiteral("lora.uplink_table_address"), le::Get_U32(lora, LoRa_Uplink_Pointer),
                        Uplink_Table_Address);
    found.Fixed_Address(QStringLiteral("lora.downlink_table_address"), le::Get_U32(lora, LoRa_Downlink_Pointer),
                        Downlink_Table_Address);
    found.In_Range(QStringLiteral("lora.uplink_count"), uplinks, 0, Rule_Entries);
    found.In_Range(QStringLiteral("lora.downlink_count"), downlinks, 0, Rule_Entries);

    Json_Writer j;
    j.Begin_Object();
    j.String("image", QStringLiteral("bank2"));
    j.Number("size", image.size());
    j.String("load_address", Hex32(LoRa_Section_Address));

    j.Begin_Object("lora");
    j.Number("band_code", le::Get_U8(lora, bank::LoRa_Band));
    Name(j, "band", Band_Name(le::Get_U8(lora, bank::LoRa_Band)));
    j.Number("network_type", le::Get_U8(lora, LoRa_Network_Type));
    Name(j, "network_type_name", Two_Names(le::Get_U8(lora, LoRa_Network_Type), "private", "public"));
    j.Number("activation_method", le::Get_U8(lora, LoRa_Activation));
    Name(j, "activation_method_name", Two_Names(le::Get_U8(lora, LoRa_Activation), "ABP", "OTAA"));
    j.Number("data_rate", le::Get_U8(lora, LoRa_Data_Rate));
    Name(j, "data_rate_name", Data_Rate_Name(le::Get_U8(lora, bank::LoRa_Band), le::Get_U8(lora, LoRa_Data_Rate)));
    j.String("device_address", Hex_Bytes(lora, LoRa_Device_Address, 4));
    j.String("application_identifier", Hex_Bytes(lora, LoRa_App_Identifier, 8));
    j.String("network_session_key", Hex_Bytes(lora, LoRa_Nwk_Session_Key, 16));
    j.String("application_session_key", Hex_Bytes(lora, LoRa_App_Session_Key, 16));
    j.String("application_key", Hex_Bytes(lora, LoRa_App_Key, 16));
    j.Number("adaptive_data_rate", le::Get_U8(lora, LoRa_Adaptive_Rate));
    j.Number("transmission_type", le::Get_U8(lora, LoRa_Transmission));
    Name(j, "transmission_type_name", Two_Names(le::Get_U8(lora, LoRa_Transmission), "unconfirmed", "confirmed"));
    j.Number("max_payload_size", le::Get_U8(lora, LoRa_Max_Payload));
    j.Number("reserved_0x43", le::Get_U8(lora, LoRa_Reserved));
    j.Number("transmit_interval", le::Get_U32(lora, LoRa_Interval));
    j.String("uplink_table_address", Hex32(le::Get_U32(lora, LoRa_Uplink_Pointer)));
    j.String("downlink_table_address", Hex32(le::Get_U32(lora, LoRa_Downlink_Pointer)));
    j.Number("uplink_count", uplinks);
    j.Number("downlink_count", downlinks);
    j.End_Object();
    count_stray(LoRa_Block_Size, Uplink_Table_Offset);

    j.Begin_Array("uplink");
    for (std::size_t e = 0; e < std::size_t(Rule_Entries); ++e) {
        const std::size_t at = Uplink_Table_Offset + e * Rule_Entry_Size;
        if (e >= uplinks) {
            count_stray(at, at + Rule_Entry_Size);
            continue;
        }
        const std::uint32_t triggers = le::Get_U8(b, at + Rule_Triggers);
        found.In_Range(QStringLiteral("uplink[%1].triggers").arg(e), triggers, 0,
                       Trigger_On_Change | Trigger_On_Command | Trigger_On_Timer);
        j.Begin_Object();
        j.Number("entry", qint64(e));
        j.Number("start_byte", le::Get_U16(b, at + Rule_Start_Byte));
        j.Number("num_bytes", le::Get_U16(b, at + Rule_Num_Bytes));
        j.Number("triggers", triggers);
        j.Bool("on_change", triggers & Trigger_On_Change);
        j.Bool("on_cmd", triggers & Trigger_On_Command);
        j.Bool("on_timer", triggers & Trigger_On_Timer);
        j.Number("period", le::Get_U32(b, at + Rule_Period));
        j.End_Object();
        count_stray(at + 5, at + Rule_Period);
    }
    j.End_Array();
    count_stray(Uplink_Table_Offset + Rule_Table_Size, Downlink_Table_Offset);

    j.Begin_Array("downlink");
    for (std::size_t e = 0; e < std::size_t(Rule_Entries); ++e) {
        const std::size_t at = Downlink_Table_Offset + e * Rule_Entry_Size;
        if (e >= downlinks) {
            count_stray(at, at + Rule_Entry_Size);
            continue;
        }
        j.Begin_Object();
        j.Number("entry", qint64(e));
        j.Number("start_byte", le::Get_U16(b, at + Rule_Start_Byte));
        j.Number("num_bytes", le::Get_U16(b, at + Rule_Num_Bytes));
        j.End_Object();
        count_stray(at + 4, at + Rule_Entry_Size);
    }
    j.End_Array();
    count_stray(Downlink_Table_Offset + Rule_Table_Size, LoRa_Section_Size);

    // Geometry: the first record's description lies at the text base (empty
    // description) or one byte after it.
    const Bytes section = b.subspan(Object_Section_Offset, Object_Section_Size);
    const std::uint32_t first = le::Get_U32(section, Record_Description);
    int geometry = -1; // -1 unknown, else 0 short (2047 records) or 1 long (1023 records)
    for (const bool desc_limit : {true, false})
        if (first == Text_Area_Address(desc_limit) || first == Text_Area_Address(desc_limit) + 1)
            geometry = desc_limit ? 1 : 0;

    if (geometry < 0) {
        // A first record without a description address is no object: the
        // section must then be empty, and a byte in it is a stray one.
        if (first != 0) {
            found.Add(Messages()
                          .Get(Msg_Dump_No_Geometry)
                          .arg(Hex32(first), Hex32(Text_Area_Address(true)), Hex32(Text_Area_Address(false))));
            undecoded = true;
        }
        j.Null("geometry");
        j.Begin_Array("objects");
        j.End_Array();
        count_stray(Object_Section_Offset, b.size());
        undecoded = false;
    } else {
        const bool desc_limit = geometry == 1;
        const std::size_t records = std::size_t(Object_Records(desc_limit));
        const std::uint32_t base = Text_Area_Address(desc_limit);
        const Bytes text = section.subspan(records * Object_Record_Size, Text_Area_Size);
        j.Begin_Object("geometry");
        j.Number("records", qint64(records));
        j.Number("description_length", Description_Limit(desc_limit));
        j.String("text_area_address", Hex32(base));
        j.End_Object();
        // The empty description every blank Mnemonic points to.
        count_stray(Object_Section_Offset + records * Object_Record_Size,
                    Object_Section_Offset + records * Object_Record_Size + 1);
        const std::uint32_t limit = std::uint32_t(Description_Limit(desc_limit));
        std::uint32_t previous = 0; // address of the last non-empty description
        j.Begin_Array("objects");
        bool filled = true;
        comparable = true;
        for (std::size_t i = 0; i < records; ++i) {
            const Bytes r = section.subspan(i * Object_Record_Size, Object_Record_Size);
            filled = filled && le::Get_U32(r, Record_Description) != 0;
            if (!filled) {
                count_stray(Object_Section_Offset + i * Object_Record_Size,
                            Object_Section_Offset + (i + 1) * Object_Record_Size);
                continue;
            }
            ++records_found;
            const std::uint32_t address = le::Get_U32(r, Record_Description);
            const std::uint32_t group = le::Get_U8(r, Record_Group);
            j.Begin_Object();
            j.Number("record", qint64(i));
            j.Number("position", le::Get_U32(r, Record_Position));
            if (counts) {
                if (i < std::size_t(counted)) {
                    std::size_t t = 0;
                    while (i >= std::size_t(first_of[t + 1]))
                        ++t;
                    j.String("object_type", QString::fromLatin1(compiler::Object_Types[t].text));
                    j.Number("bacnet_type", Bacnet_Type_Numbers[t]);
                    j.Number("instance", qint64(i) - first_of[t]);
                } else {
                    j.Null("object_type");
                    j.Null("bacnet_type");
                    j.Null("instance");
                }
            }
            j.Number("eng_unit", le::Get_U16(r, Record_Eng_Unit));
            j.String("eng_unit_name", Desc_Unit(le::Get_U16(r, Record_Eng_Unit)));
            j.Number("length", le::Get_U8(r, Record_Length));
            j.Number("group", group);
            Name(j, "group_name", Two_Names(group, "Read", "Write"));
            j.Number("row", le::Get_U16(r, Record_Row));
            j.Number("start_bit", le::Get_U8(r, Record_Start_Bit));
            j.String("description_address", Hex32(address));
            found.In_Range(QStringLiteral("objects[%1].group").arg(i), group, 0, 1);
            const bool in_area = address >= base && address - base < Text_Area_Size;
            if (in_area)
                j.String("description", Latin1_Text(text, address - base, Text_Area_Size));
            else
                j.Null("description");
            // The empty description is the text base; the others follow one
            // another in record order from the byte after it, each 1 to
            // `limit` bytes and its ending 0 after the one before. Only the
            // ending 0 is sure: a character whose low byte is 0 may sit inside.
            if (address != base) {
                const bool follows =
                    previous == 0 ? address == base + 1 : address >= previous + 2 && address <= previous + limit + 1;
                if (!in_area || !follows || text[address - base - 1] != 0)
                    found.Add(Messages().Get(Msg_Dump_Description_Lost).arg(QString::number(i), Hex32(address)));
                previous = address;
            }
            j.End_Object();
            count_stray(Object_Section_Offset + i * Object_Record_Size + 15,
                        Object_Section_Offset + i * Object_Record_Size + 16);
        }
        j.End_Array();
        count_stray(Object_Section_Offset + records * Object_Record_Size + Text_Area_Size, b.size());
    }
    j.Number("stray_nonzero_bytes", qint64(stray));
    j.End_Object();
    found.Report_Stray();
    if (counts && comparable && qint64(records_found) != counted)
        found.Add(
            Messages().Get(Msg_Dump_Count_Mismatch).arg(QString::number(counted), QString::number(records_found)));
    return j.Text();
}

} // namespace
