#include "compiler/compile_project.h"

#include "compiler/checksum.h"
#include "compiler/compiler_buffers.h"
#include "compiler/encode_bacnet_objects.h"
#include "compiler/encode_lora_rules.h"
#include "compiler/encode_pargen.h"
#include "compiler/le_bytes.h"
#include "core/object_catalogue.h"
#include "params/pargen_document.h"
#include "tables/object_document.h"
#include "tables/rule_document.h"
#include "workspace/workspace.h"

#include <cstring>

namespace {

void Append(QByteArray &out, std::span<const std::uint8_t> bytes)
{
    out.append(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray Store_Bank1(Compiler_Buffers &b)
{
    Store_Checksum(b.Parameter_Block);
    QByteArray out;
    Append(out, b.Parameter_Block);
    return out;
}

// Bank 2, built where it ends up. The LoRaWAN section: the LoRa block, the
// uplink table at 0x400, the downlink table at 0x1000, zero everywhere else.
// The object section: the first N records, the text area, zero to the end.
QByteArray Store_Bank2(const Compiler_Buffers &b)
{
    QByteArray out(qsizetype(bank::Bank2_Size), '\0');
    char *lora = out.data();
    std::memcpy(lora, b.LoRa_Block.data(), b.LoRa_Block.size());
    std::memcpy(lora + bank::Uplink_Table_Offset, b.Uplink_Table.data(), b.Uplink_Table.size());
    std::memcpy(lora + bank::Downlink_Table_Offset, b.Downlink_Table.data(), b.Downlink_Table.size());
    char *objects = out.data() + bank::Object_Section_Offset;
    const std::size_t records = std::size_t(bank::Object_Records(b.Desc_Limit)) * bank::Object_Record_Size;
    std::memcpy(objects, b.Object_Records.data(), records);
    std::memcpy(objects + records, b.Text_Area.data(), b.Text_Area.size());
    return out;
}

} // namespace

Result<Bank_Images> Compile_Project(const ParGen_Document &pargen, const Rule_Document &rules,
                                    const Object_Document &objects)
{
    const std::unique_ptr<Compiler_Buffers> b = Make_Initial_Buffers();

    if (const Result<> encoded = Encode_ParGen(*b, pargen); !encoded)
        return Fail(encoded.Problem());
    le::Put_U32(b->Parameter_Block, bank::LoRa_Section_Pointer, bank::LoRa_Section_Address);
    le::Put_U32(b->Parameter_Block, bank::Object_Section_Pointer, bank::Object_Section_Address);
    if (const Result<> encoded = Encode_LoRa_Rules(*b, rules); !encoded)
        return Fail(encoded.Problem());
    if (const Result<> encoded = Encode_BACnet_Objects(*b, bank::Object_Section_Address, objects); !encoded)
        return Fail(encoded.Problem());
    for (int t = 0; t < Object_Kind_Count; ++t)
        le::Put_U32(b->Parameter_Block, Object_Catalogue[std::size_t(t)].count_offset,
                    b->Object_Counts[std::size_t(t)]);

    Bank_Images images;
    images.bank1 = Store_Bank1(*b);
    images.bank2 = Store_Bank2(*b);
    return images;
}

Result<Bank_Images> Compile_Project(const QString &file_pargen, const QString &file_lorawan, const QString &file_bacnet)
{
    return Compile_Project(Read_ParGen_Document(file_pargen), Read_Rule_Document(file_lorawan),
                           Read_Object_Document(file_bacnet));
}

Result<Bank_Images> Compile_Project(const Workspace &ws)
{
    return Compile_Project(ws.File_ParGen, ws.File_LoRaWAN_Access, ws.File_BACnet_Slave_Access);
}
