#include "compiler/encode_lora_rules.h"

#include "compiler/compiler_buffers.h"
#include "compiler/le_bytes.h"
#include "compiler/text_rules.h"
#include "lang/messages.h"
#include "shell/int_read.h"
#include "shell/xml_document.h"

namespace {

// The compiler's own reading of a rule: a missing attribute is empty text, so
// a row without `Enable` is disabled and one without `Time` gets 30 s.
QString Attr(pugi::xml_node row, const char *name)
{
    return Attr_Text_Def(row, name, QString());
}

bool Enabled(pugi::xml_node row)
{
    return Upper_Trimmed(Attr(row, "Enable")) == u"Y";
}

// The trigger flags are upper-cased but not trimmed: " Y" leaves the bit clear.
bool Trigger(pugi::xml_node row, const char *name)
{
    return Ascii_Upper(Attr(row, name)) == u"Y";
}

// Fills one table from a group; `uplink` adds the triggers and the period.
bool Encode_Group(pugi::xml_node group, bool uplink, std::span<std::uint8_t> table, int *count, int message,
                  QString *problem)
{
    bool ok = true;
    For_Each_Row(group, [&](pugi::xml_node row) {
        if (!ok || !Enabled(row))
            return;
        if (*count >= bank::Rule_Entries) {
            // Dropping the surplus would leave the converter without rules the user enabled.
            *problem = Messages().Get(Msg_Compile_Too_Many_Rules)
                           .arg(Messages().Get(message), QString::number(bank::Rule_Entries));
            ok = false;
            return;
        }
        const std::size_t at = std::size_t(*count) * bank::Rule_Entry_Size;
        le::Put_U16(table, at + bank::Rule_Start_Byte, std::uint32_t(Str_To_Int_Def(Attr(row, "StartByte"), 0)));
        le::Put_U16(table, at + bank::Rule_Num_Bytes, std::uint32_t(Str_To_Int_Def(Attr(row, "NumByte"), 0)));
        if (uplink) {
            std::uint32_t triggers = 0;
            if (Trigger(row, "OnChange"))
                triggers |= bank::Trigger_On_Change;
            if (Trigger(row, "OnCMD"))
                triggers |= bank::Trigger_On_Command;
            if (Trigger(row, "OnTimer"))
                triggers |= bank::Trigger_On_Timer;
            le::Put_U8(table, at + bank::Rule_Triggers, triggers);
            le::Put_U32(table, at + bank::Rule_Period, std::uint32_t(Str_To_Int_Def(Attr(row, "Time"), 30)));
        }
        ++*count;
    });
    return ok;
}

} // namespace

bool Encode_LoRa_Rules(Compiler_Buffers &b, const QString &file_lorawan, QString *problem)
{
    using namespace bank;
    le::Put_U32(b.LoRa_Block, LoRa_Uplink_Pointer, Uplink_Table_Address);
    le::Put_U32(b.LoRa_Block, LoRa_Downlink_Pointer, Downlink_Table_Address);
    le::Put_U16(b.LoRa_Block, LoRa_Uplink_Count, 0);
    le::Put_U16(b.LoRa_Block, LoRa_Downlink_Count, 0);

    Xml_Document doc;
    switch (doc.Load(file_lorawan)) {
    case Xml_Document::State::Missing:
        return true;
    case Xml_Document::State::Damaged:
        *problem = doc.Problem();
        return false;
    case Xml_Document::State::Loaded:
        break;
    }
    const pugi::xml_node root = doc.Root();
    int uplinks = 0;
    int downlinks = 0;
    // A missing group holds no rules (a null node has no children).
    if (!Encode_Group(root.child("LoRaWAN_Uplink"), true, b.Uplink_Table, &uplinks, 1214, problem)
        || !Encode_Group(root.child("LoRaWAN_Downlink"), false, b.Downlink_Table, &downlinks, 1215, problem))
        return false;
    le::Put_U16(b.LoRa_Block, LoRa_Uplink_Count, std::uint32_t(uplinks));
    le::Put_U16(b.LoRa_Block, LoRa_Downlink_Count, std::uint32_t(downlinks));
    return true;
}
