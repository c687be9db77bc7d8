#include "compiler/encode_bacnet_objects.h"

#include "compiler/compiler_buffers.h"
#include "compiler/le_bytes.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "core/object_catalogue.h"
#include "tables/object_document.h"
#include "tables/table_messages.h"

#include <algorithm>
#include <vector>

namespace {

// One row, read once: its attributes point into the loaded document.
struct Object_Row
{
    Object_Row_Text attr; // UTF-8; a missing attribute reads as empty text
    int type;             // index into Object_Catalogue, -1 for a type the converter does not know
    int row;              // 1-based place in its own group, for messages
    int number;           // 1-based place in the Read group followed by the Write group
};

std::vector<Object_Row> Read_Group(const Object_Document &objects, Object_Group group, int first_number)
{
    std::vector<Object_Row> rows;
    int index = 0;
    objects.For_Each_Object(group, [&](const Object_Row_Text &attr) {
        ++index;
        rows.push_back({attr, Device_Kind_Index(attr.Raw(Obj_Data_Type)), index, first_number + index});
    });
    return rows;
}

// What one object puts into its record and the text area, or why it cannot.
class Object_Encoder
{
public:
    Object_Encoder(Compiler_Buffers &b, std::uint32_t section_address)
        : b_(b)
        , records_(bank::Object_Records(b.Desc_Limit))
        , limit_(bank::Description_Limit(b.Desc_Limit))
        , text_base_(section_address + std::uint32_t(records_) * std::uint32_t(bank::Object_Record_Size))
    {}

    Result<> Encode(const Object_Row &row, int group)
    {
        const int message_group = group == 0 ? Msg_BACnet_Read : Msg_BACnet_Write;
        const auto &attr = row.attr;
        int eng_unit = 0;
        int position = 0;
        int length = 0;
        for (auto [a, value] :
             {std::pair{Obj_Eng_Unit, &eng_unit}, std::pair{Obj_Position, &position}, std::pair{Obj_Length, &length}}) {
            const char *name = Object_Attributes[a];
            const char *text = attr.Raw(a);
            if (!Try_Utf8_To_Int(text, value))
                return Fail(Messages()
                                .Get(Msg_Compile_Not_A_Number)
                                .arg(Messages().Get(message_group), QString::number(row.row), QLatin1StringView(name),
                                     QString::fromUtf8(text)));
        }
        int bit = 0;
        if (!Try_Utf8_To_Int(attr.Raw(Obj_Bit), &bit))
            bit = 0;
        if (next_record_ >= records_)
            qFatal("object records overflow"); // the count was checked before encoding
        std::uint32_t description = text_base_;
        if (!Put_Description(attr.Raw(Obj_Mnemonic), &description))
            return Fail(Messages()
                            .Get(Msg_Compile_Text_Area_Full)
                            .arg(Messages().Get(message_group), QString::number(row.row),
                                 QString::number(bank::Text_Area_Size)));
        const std::span<std::uint8_t> record =
            std::span<std::uint8_t>(b_.Object_Records)
                .subspan(std::size_t(next_record_) * bank::Object_Record_Size, bank::Object_Record_Size);
        le::Put_U32(record, bank::Record_Position, std::uint32_t(position));
        le::Put_U16(record, bank::Record_Eng_Unit, std::uint32_t(eng_unit));
        le::Put_U8(record, bank::Record_Length, std::uint32_t(length));
        le::Put_U8(record, bank::Record_Group, std::uint32_t(group));
        le::Put_U32(record, bank::Record_Description, description);
        le::Put_U16(record, bank::Record_Row, std::uint32_t(row.number));
        le::Put_U8(record, bank::Record_Start_Bit, std::uint32_t(bit));
        ++b_.Object_Counts[std::size_t(row.type)];
        ++next_record_;
        return {};
    }

private:
    // The first `limit_` UTF-16 code units of the description, one byte each
    // (their low 8 bits), then a 0 byte. An empty description shares byte 0.
    bool Put_Description(const char *utf8, std::uint32_t *address)
    {
        std::array<std::uint8_t, bank::Long_Description> kept;
        std::size_t k = 0;
        bool ascii = true;
        for (const char *p = utf8; *p && int(k) < limit_; ++p) {
            if (static_cast<unsigned char>(*p) >= 0x80) {
                ascii = false;
                break;
            }
            kept[k++] = static_cast<unsigned char>(*p);
        }
        if (!ascii) {
            const QString text = QString::fromUtf8(utf8);
            k = 0;
            for (qsizetype i = 0; i < text.size() && int(k) < limit_; ++i)
                kept[k++] = std::uint8_t(text[i].unicode() & 0xFF);
        }
        if (k == 0) {
            *address = text_base_;
            return true;
        }
        if (next_text_ + k + 1 > b_.Text_Area.size())
            return false;
        for (std::size_t i = 0; i < k; ++i)
            b_.Text_Area[next_text_ + i] = kept[i];
        b_.Text_Area[next_text_ + k] = 0;
        *address = text_base_ + std::uint32_t(next_text_);
        next_text_ += k + 1;
        return true;
    }

    Compiler_Buffers &b_;
    const int records_;
    const int limit_;
    const std::uint32_t text_base_;
    int next_record_ = 0;
    std::size_t next_text_ = 1; // byte 0 is the empty description
};

Result<> Encode_Objects(Compiler_Buffers &b, std::uint32_t section_address, const Object_Document &objects)
{
    // A missing group holds no objects.
    const std::vector<Object_Row> read = Read_Group(objects, Object_Group::Read, 0);
    const std::vector<Object_Row> write = Read_Group(objects, Object_Group::Write, int(read.size()));

    // The converter reads only the first N records: refuse rather than drop objects.
    const auto known = [](const Object_Row &row) { return row.type >= 0; };
    const qsizetype served =
        std::count_if(read.begin(), read.end(), known) + std::count_if(write.begin(), write.end(), known);
    const int limit = bank::Object_Records(b.Desc_Limit);
    if (served > limit)
        return Fail(Messages()
                        .Get(Msg_Compile_Too_Many_Objects)
                        .arg(Messages().Get(Msg_BACnet_Read), Messages().Get(Msg_BACnet_Write), QString::number(served),
                             QString::number(limit)));

    // Records by type, within a type the Read group first, each in document
    // order: a stable counting sort on (type, group) instead of a scan of both
    // groups per type.
    constexpr int Slots = 2 * Object_Kind_Count;
    std::array<int, Slots + 1> start{};
    for (int group = 0; group < 2; ++group)
        for (const Object_Row &row : group == 0 ? read : write)
            if (row.type >= 0)
                ++start[std::size_t(2 * row.type + group + 1)];
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<std::pair<const Object_Row *, int>> order(static_cast<std::size_t>(served));
    for (int group = 0; group < 2; ++group)
        for (const Object_Row &row : group == 0 ? read : write)
            if (row.type >= 0)
                order[std::size_t(start[std::size_t(2 * row.type + group)]++)] = {&row, group};

    Object_Encoder encoder(b, section_address);
    for (const auto &[row, group] : order)
        if (Result<> encoded = encoder.Encode(*row, group); !encoded)
            return encoded;
    return {};
}

} // namespace

Result<> Encode_BACnet_Objects(Compiler_Buffers &b, std::uint32_t section_address, const Object_Document &objects)
{
    return When_Loaded(objects, [&] { return Encode_Objects(b, section_address, objects); });
}
