#include "compiler/encode_bacnet_objects.h"

#include "compiler/compiler_buffers.h"
#include "compiler/le_bytes.h"
#include "compiler/object_types.h"
#include "lang/messages.h"
#include "shell/int_read.h"
#include "shell/xml_document.h"

#include <algorithm>
#include <vector>

namespace {

struct Object_Row
{
    pugi::xml_node node;
    int type;   // index into Object_Types, -1 for a type the converter does not know
    int row;    // 1-based place in its own group, for messages
    int number; // 1-based place in the Read group followed by the Write group
};

std::vector<Object_Row> Read_Group(pugi::xml_node group, int first_number)
{
    std::vector<Object_Row> rows;
    int index = 0;
    For_Each_Row(group, [&](pugi::xml_node node) {
        ++index;
        rows.push_back({node, Object_Type_Index(node.attribute("Data_Type").value()), index, first_number + index});
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
    {
    }

    bool Encode(const Object_Row &row, int group, QString *problem)
    {
        const int message_group = group == 0 ? 1508 : 1509; // "BACnet in Read", "BACnet in Write"
        int eng_unit = 0;
        int position = 0;
        int length = 0;
        for (auto [name, value] : {std::pair{"Eng_Unit", &eng_unit}, std::pair{"Position", &position},
                                   std::pair{"Length", &length}}) {
            const char *text = row.node.attribute(name).value();
            if (!Try_Utf8_To_Int(text, value)) {
                *problem = Messages()
                               .Get(Msg_Compile_Not_A_Number)
                               .arg(Messages().Get(message_group), QString::number(row.row),
                                    QLatin1StringView(name), QString::fromUtf8(text));
                return false;
            }
        }
        int bit = 0;
        if (!Try_Utf8_To_Int(row.node.attribute("Bit").value(), &bit))
            bit = 0;
        if (next_record_ >= records_)
            qFatal("object records overflow"); // the count was checked before encoding
        std::uint32_t description = text_base_;
        if (!Put_Description(row.node.attribute("Mnemonic").value(), &description)) {
            *problem = Messages()
                           .Get(Msg_Compile_Text_Area_Full)
                           .arg(Messages().Get(message_group), QString::number(row.row),
                                QString::number(bank::Text_Area_Size));
            return false;
        }
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
        return true;
    }

private:
    // The first `limit_` UTF-16 code units of the description, one byte each
    // (their low 8 bits), then a 0 byte. An empty description shares byte 0.
    bool Put_Description(const char *utf8, std::uint32_t *address)
    {
        unit_buffer_.clear();
        bool ascii = true;
        for (const char *p = utf8; *p && int(unit_buffer_.size()) < limit_; ++p) {
            if (static_cast<unsigned char>(*p) >= 0x80) {
                ascii = false;
                break;
            }
            unit_buffer_.push_back(static_cast<unsigned char>(*p));
        }
        if (!ascii) {
            const QString text = QString::fromUtf8(utf8);
            unit_buffer_.clear();
            for (qsizetype i = 0; i < text.size() && int(unit_buffer_.size()) < limit_; ++i)
                unit_buffer_.push_back(std::uint8_t(text[i].unicode() & 0xFF));
        }
        const std::size_t k = unit_buffer_.size();
        if (k == 0) {
            *address = text_base_;
            return true;
        }
        if (next_text_ + k + 1 > b_.Text_Area.size())
            return false;
        for (std::size_t i = 0; i < k; ++i)
            b_.Text_Area[next_text_ + i] = unit_buffer_[i];
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
    std::vector<std::uint8_t> unit_buffer_;
};

} // namespace

bool Try_Utf8_To_Int(const char *value, int *result)
{
    // Every character a number may hold is ASCII, so any other byte fails it.
    char16_t wide[64];
    qsizetype n = 0;
    for (const char *p = value; *p; ++p, ++n) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
        if (n == qsizetype(std::size(wide)))
            return Try_Str_To_Int(QString::fromLatin1(value), result);
        wide[n] = char16_t(*p);
    }
    return Try_Str_To_Int(QStringView(wide, n), result);
}

bool Encode_BACnet_Objects(Compiler_Buffers &b, std::uint32_t section_address, const QString &file_bacnet,
                           QString *problem)
{
    Xml_Document doc;
    switch (doc.Load(file_bacnet)) {
    case Xml_Document::State::Missing:
        return true;
    case Xml_Document::State::Damaged:
        *problem = doc.Problem();
        return false;
    case Xml_Document::State::Loaded:
        break;
    }
    // A missing group holds no objects (a null node has no children).
    const std::vector<Object_Row> read = Read_Group(doc.Root().child("BACnet_in_Read"), 0);
    const std::vector<Object_Row> write = Read_Group(doc.Root().child("BACnet_in_Write"), int(read.size()));

    // The converter reads only the first N records: refuse rather than drop objects.
    const auto known = [](const Object_Row &row) { return row.type >= 0; };
    const qsizetype objects = std::count_if(read.begin(), read.end(), known)
                              + std::count_if(write.begin(), write.end(), known);
    const int limit = bank::Object_Records(b.Desc_Limit);
    if (objects > limit) {
        *problem = Messages()
                       .Get(Msg_Compile_Too_Many_Objects)
                       .arg(Messages().Get(1508), Messages().Get(1509), QString::number(objects),
                            QString::number(limit));
        return false;
    }

    Object_Encoder encoder(b, section_address);
    for (int t = 0; t < Object_Type_Count; ++t) {
        for (const Object_Row &row : read)
            if (row.type == t && !encoder.Encode(row, 0, problem))
                return false;
        for (const Object_Row &row : write)
            if (row.type == t && !encoder.Encode(row, 1, problem))
                return false;
    }
    return true;
}
