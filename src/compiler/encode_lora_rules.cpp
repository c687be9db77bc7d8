#include "compiler/encode_lora_rules.h"

#include "compiler/compiler_buffers.h"
#include "compiler/le_bytes.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "tables/rule_document.h"
#include "tables/table_messages.h"

#include <type_traits>

namespace {

// The compiler's own reading of a rule: a missing attribute is empty text, so
// a row without `Enable` is disabled and one without `Time` gets 30 s. The
// texts are read as the document holds them (UTF-8): every text that counts
// here is ASCII.

bool Is_Blank(char c)
{
    // Blanks and control characters, as the trimming of a text removes them.
    return static_cast<unsigned char>(c) <= 32 && c != 0;
}

// Enabled: the text trimmed and upper-cased is "Y".
bool Enabled(const char *text)
{
    while (Is_Blank(*text))
        ++text;
    if (*text != 'Y' && *text != 'y')
        return false;
    ++text;
    while (Is_Blank(*text))
        ++text;
    return *text == 0;
}

// The trigger flags are upper-cased but not trimmed: " Y" leaves the bit clear.
bool Trigger(const char *text)
{
    return (text[0] == 'Y' || text[0] == 'y') && text[1] == 0;
}

int Int_Def(const char *text, int fallback)
{
    int value = 0;
    return Try_Utf8_To_Int(text, &value) ? value : fallback;
}

// Fills one table, rule by rule as `for_each` gives them; an uplink row
// adds the triggers and the period. The enable, start byte and byte count
// columns are the first three of both directions.
template <class For_Each>
Result<> Encode_Group(For_Each &&for_each, std::span<std::uint8_t> table, int *count, int message)
{
    static_assert(int(Up_Enable) == int(Down_Enable) && int(Up_StartByte) == int(Down_StartByte) &&
                  int(Up_NumByte) == int(Down_NumByte));
    Result<> result;
    for_each([&](const auto &row) {
        if (!result)
            return;
        if (!Enabled(row.Raw(Up_Enable)))
            return;
        if (*count >= bank::Rule_Entries) {
            // Dropping the surplus would leave the converter without rules the user enabled.
            result = Fail(Messages()
                              .Get(Msg_Compile_Too_Many_Rules)
                              .arg(Messages().Get(message), QString::number(bank::Rule_Entries)));
            return;
        }
        const std::size_t at = std::size_t(*count) * bank::Rule_Entry_Size;
        le::Put_U16(table, at + bank::Rule_Start_Byte, std::uint32_t(Int_Def(row.Raw(Up_StartByte), 0)));
        le::Put_U16(table, at + bank::Rule_Num_Bytes, std::uint32_t(Int_Def(row.Raw(Up_NumByte), 0)));
        if constexpr (std::is_same_v<std::decay_t<decltype(row)>, Uplink_Row>) {
            std::uint32_t triggers = 0;
            if (Trigger(row.Raw(Up_OnChange)))
                triggers |= bank::Trigger_On_Change;
            if (Trigger(row.Raw(Up_OnCMD)))
                triggers |= bank::Trigger_On_Command;
            if (Trigger(row.Raw(Up_OnTimer)))
                triggers |= bank::Trigger_On_Timer;
            le::Put_U8(table, at + bank::Rule_Triggers, triggers);
            le::Put_U32(table, at + bank::Rule_Period, std::uint32_t(Int_Def(row.Raw(Up_Time), 30)));
        }
        ++*count;
    });
    return result;
}

} // namespace

Result<> Encode_LoRa_Rules(Compiler_Buffers &b, const Rule_Document &rules)
{
    using namespace bank;
    le::Put_U32(b.LoRa_Block, LoRa_Uplink_Pointer, Uplink_Table_Address);
    le::Put_U32(b.LoRa_Block, LoRa_Downlink_Pointer, Downlink_Table_Address);
    le::Put_U16(b.LoRa_Block, LoRa_Uplink_Count, 0);
    le::Put_U16(b.LoRa_Block, LoRa_Downlink_Count, 0);

    return When_Loaded(rules, [&]() -> Result<> {
        int uplinks = 0;
        int downlinks = 0;
        // A missing group holds no rules.
        const auto uplink_rows = [&](auto &&fn) { rules.For_Each_Uplink(fn); };
        const auto downlink_rows = [&](auto &&fn) { rules.For_Each_Downlink(fn); };
        if (Result<> up = Encode_Group(uplink_rows, b.Uplink_Table, &uplinks, Msg_LoRa_Uplink); !up)
            return up;
        if (Result<> down = Encode_Group(downlink_rows, b.Downlink_Table, &downlinks, Msg_LoRa_Downlink); !down)
            return down;
        le::Put_U16(b.LoRa_Block, LoRa_Uplink_Count, std::uint32_t(uplinks));
        le::Put_U16(b.LoRa_Block, LoRa_Downlink_Count, std::uint32_t(downlinks));
        return {};
    });
}
