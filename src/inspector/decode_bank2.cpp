#include "compiler/bank_layout.h"
#include "compiler/le_bytes.h"
#include "core/object_catalogue.h"
#include "inspector/findings.h"
#include "inspector/image_decode.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace {

using Bytes = std::span<const std::uint8_t>;

template <std::size_t N> std::array<std::uint8_t, N> Bytes_At(Bytes b, std::size_t offset)
{
    std::array<std::uint8_t, N> bytes;
    std::copy_n(b.begin() + offset, N, bytes.begin());
    return bytes;
}

// Counts the non-zero bytes where the layout has only zeros. Those of an
// object section that could not be decoded count in the total, but it is the
// undecodable geometry that is reported, not each of its bytes.
class Stray_Counter
{
public:
    Stray_Counter(Bytes image, Findings &found)
        : b_(image)
        , found_(found)
    {}
    void Count(std::size_t from, std::size_t to)
    {
        // Most of the image is zeros: a block of them is passed over whole.
        static constexpr std::size_t Block = 256;
        static constexpr std::uint8_t Zeros[Block] = {};
        for (std::size_t at = from; at < to; at += Block) {
            const std::size_t end = std::min(to, at + Block);
            if (std::memcmp(b_.data() + at, Zeros, end - at) == 0)
                continue;
            for (std::size_t i = at; i < end; ++i)
                if (b_[i] != 0) {
                    ++total_;
                    if (!undecoded_)
                        found_.Stray(i);
                }
        }
    }
    void Set_Undecoded(bool undecoded) { undecoded_ = undecoded; }
    qint64 Total() const { return total_; }

private:
    Bytes b_;
    Findings &found_;
    qint64 total_ = 0;
    bool undecoded_ = false;
};

LoRa_Block Read_LoRa_Block(Bytes lora, Findings &found)
{
    using namespace bank;
    LoRa_Block l;
    l.band_code = std::uint8_t(le::Get_U8(lora, LoRa_Band));
    l.network_type = std::uint8_t(le::Get_U8(lora, LoRa_Network_Type));
    l.activation_method = std::uint8_t(le::Get_U8(lora, LoRa_Activation));
    l.data_rate = std::uint8_t(le::Get_U8(lora, LoRa_Data_Rate));
    l.device_address = Bytes_At<4>(lora, LoRa_Device_Address);
    l.application_identifier = Bytes_At<8>(lora, LoRa_App_Identifier);
    l.network_session_key = Bytes_At<16>(lora, LoRa_Nwk_Session_Key);
    l.application_session_key = Bytes_At<16>(lora, LoRa_App_Session_Key);
    l.application_key = Bytes_At<16>(lora, LoRa_App_Key);
    l.adaptive_data_rate = std::uint8_t(le::Get_U8(lora, LoRa_Adaptive_Rate));
    l.transmission_type = std::uint8_t(le::Get_U8(lora, LoRa_Transmission));
    l.max_payload_size = std::uint8_t(le::Get_U8(lora, LoRa_Max_Payload));
    l.reserved_0x43 = std::uint8_t(le::Get_U8(lora, LoRa_Reserved));
    l.transmit_interval = le::Get_U32(lora, LoRa_Interval);
    l.uplink_table_address = le::Get_U32(lora, LoRa_Uplink_Pointer);
    l.downlink_table_address = le::Get_U32(lora, LoRa_Downlink_Pointer);
    l.uplink_count = std::uint16_t(le::Get_U16(lora, LoRa_Uplink_Count));
    l.downlink_count = std::uint16_t(le::Get_U16(lora, LoRa_Downlink_Count));
    found.Fixed(QStringLiteral("lora.reserved_0x43"), l.reserved_0x43, 0);
    found.Fixed_Address(QStringLiteral("lora.uplink_table_address"), l.uplink_table_address, Uplink_Table_Address);
    found.Fixed_Address(QStringLiteral("lora.downlink_table_address"), l.downlink_table_address,
                        Downlink_Table_Address);
    found.In_Range(QStringLiteral("lora.uplink_count"), l.uplink_count, 0, Rule_Entries);
    found.In_Range(QStringLiteral("lora.downlink_count"), l.downlink_count, 0, Rule_Entries);
    return l;
}

// The first `count` entries of the uplink table; the bytes of the others, and
// those between an entry's fields, must be 0.
QList<Uplink_Rule> Read_Uplink(Bytes b, std::size_t count, Findings &found, Stray_Counter &stray)
{
    using namespace bank;
    QList<Uplink_Rule> rules;
    for (std::size_t e = 0; e < std::size_t(Rule_Entries); ++e) {
        const std::size_t at = Uplink_Table_Offset + e * Rule_Entry_Size;
        if (e >= count) {
            stray.Count(at, at + Rule_Entry_Size);
            continue;
        }
        const Uplink_Rule r{int(e), std::uint16_t(le::Get_U16(b, at + Rule_Start_Byte)),
                            std::uint16_t(le::Get_U16(b, at + Rule_Num_Bytes)),
                            std::uint8_t(le::Get_U8(b, at + Rule_Triggers)), le::Get_U32(b, at + Rule_Period)};
        found.In_Range(QStringLiteral("uplink[%1].triggers").arg(e), r.triggers, 0,
                       Trigger_On_Change | Trigger_On_Command | Trigger_On_Timer);
        rules << r;
        stray.Count(at + 5, at + Rule_Period);
    }
    return rules;
}

QList<Downlink_Rule> Read_Downlink(Bytes b, std::size_t count, Stray_Counter &stray)
{
    using namespace bank;
    QList<Downlink_Rule> rules;
    for (std::size_t e = 0; e < std::size_t(Rule_Entries); ++e) {
        const std::size_t at = Downlink_Table_Offset + e * Rule_Entry_Size;
        if (e >= count) {
            stray.Count(at, at + Rule_Entry_Size);
            continue;
        }
        rules << Downlink_Rule{int(e), std::uint16_t(le::Get_U16(b, at + Rule_Start_Byte)),
                               std::uint16_t(le::Get_U16(b, at + Rule_Num_Bytes))};
        stray.Count(at + 4, at + Rule_Entry_Size);
    }
    return rules;
}

// The object section: its geometry, known from the first record's
// description address (the text base for an empty description, or one byte
// after it), and the filled records from record 0. `first_of` gives the first
// record of each type by the counts of bank 1 (null without bank 1). Returns
// whether the records could be read: an empty section, or one of known
// geometry.
bool Read_Objects(Bytes b, const qint64 *first_of, Decoded_Bank2 &d, Findings &found, Stray_Counter &stray)
{
    using namespace bank;
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
            stray.Set_Undecoded(true);
        }
        stray.Count(Object_Section_Offset, b.size());
        stray.Set_Undecoded(false);
        return first == 0;
    }
    const bool desc_limit = geometry == 1;
    const std::size_t records = std::size_t(Object_Records(desc_limit));
    const std::uint32_t base = Text_Area_Address(desc_limit);
    const Bytes text = section.subspan(records * Object_Record_Size, Text_Area_Size);
    d.geometry = Object_Geometry{int(records), int(Description_Limit(desc_limit)), base};
    // The empty description every blank Mnemonic points to.
    const std::size_t text_at = Object_Section_Offset + records * Object_Record_Size;
    stray.Count(text_at, text_at + 1);
    const std::uint32_t limit = std::uint32_t(Description_Limit(desc_limit));
    std::uint32_t previous = 0; // address of the last non-empty description
    const qint64 counted = first_of ? first_of[Object_Kind_Count] : 0;
    std::size_t type = 0;
    bool filled = true;
    for (std::size_t i = 0; i < records; ++i) {
        const std::size_t at = Object_Section_Offset + i * Object_Record_Size;
        const Bytes r = section.subspan(i * Object_Record_Size, Object_Record_Size);
        filled = filled && le::Get_U32(r, Record_Description) != 0;
        if (!filled) {
            stray.Count(at, at + Object_Record_Size);
            continue;
        }
        Object_Record o;
        o.record = qint64(i);
        o.position = le::Get_U32(r, Record_Position);
        if (first_of) {
            o.place = Object_Place{};
            if (qint64(i) < counted) {
                while (qint64(i) >= first_of[type + 1])
                    ++type;
                o.place = Object_Place{int(type), qint64(i) - first_of[type]};
            }
        }
        o.eng_unit = std::uint16_t(le::Get_U16(r, Record_Eng_Unit));
        o.length = std::uint8_t(le::Get_U8(r, Record_Length));
        o.group = std::uint8_t(le::Get_U8(r, Record_Group));
        o.row = std::uint16_t(le::Get_U16(r, Record_Row));
        o.start_bit = std::uint8_t(le::Get_U8(r, Record_Start_Bit));
        o.description_address = le::Get_U32(r, Record_Description);
        found.In_Range(QStringLiteral("objects[%1].group").arg(i), o.group, 0, 1);
        const std::uint32_t address = o.description_address;
        const bool in_area = address >= base && address - base < Text_Area_Size;
        if (in_area)
            o.description = Latin1_Text(text, address - base, Text_Area_Size);
        // The empty description is the text base; the others follow one
        // another in record order from the byte after it, each 1 to `limit`
        // bytes and its ending 0 after the one before. Only the ending 0 is
        // sure: a character whose low byte is 0 may sit inside.
        if (address != base) {
            const bool follows =
                previous == 0 ? address == base + 1 : address >= previous + 2 && address <= previous + limit + 1;
            if (!in_area || !follows || text[address - base - 1] != 0)
                found.Add(Messages().Get(Msg_Dump_Description_Lost).arg(QString::number(i), Hex32(address)));
            previous = address;
        }
        d.objects << o;
        stray.Count(at + 15, at + 16);
    }
    stray.Count(text_at + Text_Area_Size, b.size());
    return true;
}

// Bank 2; with the counts of bank 1, each object record also gets its type
// and instance, and the counts are checked against the records.
Decoded_Bank2 Decode_Bank2_With(const QByteArray &image, QStringList &problems, const Decoded_Bank1 *bank1)
{
    using namespace bank;
    const Bytes b(reinterpret_cast<const std::uint8_t *>(image.constData()), std::size_t(image.size()));
    Findings found(problems);
    Stray_Counter stray(b, found);
    Decoded_Bank2 d;
    d.size = image.size();
    d.lora = Read_LoRa_Block(b.subspan(0, LoRa_Block_Size), found);
    stray.Count(LoRa_Block_Size, Uplink_Table_Offset);
    d.uplink = Read_Uplink(b, d.lora.uplink_count, found, stray);
    stray.Count(Uplink_Table_Offset + Rule_Table_Size, Downlink_Table_Offset);
    d.downlink = Read_Downlink(b, d.lora.downlink_count, stray);
    stray.Count(Downlink_Table_Offset + Rule_Table_Size, LoRa_Section_Size);
    // The first record of each type, by the counts of bank 1 (records lie
    // sorted by type), and the records they account for.
    qint64 first_of[Object_Kind_Count + 1] = {};
    for (int t = 0; bank1 && t < Object_Kind_Count; ++t)
        first_of[t + 1] = first_of[t] + bank1->object_counts[std::size_t(t)];
    const bool comparable = Read_Objects(b, bank1 ? first_of : nullptr, d, found, stray);
    d.stray_nonzero_bytes = stray.Total();
    found.Report_Stray();
    const qint64 counted = first_of[Object_Kind_Count];
    if (bank1 && comparable && qint64(d.objects.size()) != counted)
        found.Add(
            Messages().Get(Msg_Dump_Count_Mismatch).arg(QString::number(counted), QString::number(d.objects.size())));
    return d;
}

} // namespace

Decoded_Bank2 Decode_Bank2(const QByteArray &image, QStringList &problems)
{
    return Decode_Bank2_With(image, problems, nullptr);
}

Decoded_Pair Decode_Pair(const QByteArray &bank1, const QByteArray &bank2, QStringList &problems)
{
    Decoded_Pair pair;
    pair.bank1 = Decode_Bank1(bank1, problems);
    pair.bank2 = Decode_Bank2_With(bank2, problems, &pair.bank1);
    return pair;
}
