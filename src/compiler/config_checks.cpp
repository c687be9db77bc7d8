#include "compiler/config_checks.h"

#include "compiler/compiler_messages.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "params/pargen_document.h"
#include "tables/rule_document.h"

#include <cstring>

Result<> Check_Config_LoraWAN(const ParGen_Document &pargen, const Rule_Document &rules)
{
    if (pargen.Is_Damaged())
        return Fail(pargen.Problem());
    // 64 bits: a stored payload near the 32-bit minimum must not wrap the limit.
    const qint64 payload = pargen.Int_Or(ParGen_Key::LoRa_Payload_Size, 0);

    return When_Loaded(rules, [&]() -> Result<> {
        bool ok = true;
        // A missing group holds no rules, as the compiler reads it.
        rules.For_Each_Uplink([&](const Uplink_Row &row) {
            // Enabled only when exactly "Y": the update step compares as written.
            if (!ok || !row.Has(Up_Enable) || std::strcmp(row.Raw(Up_Enable), "Y") != 0)
                return;
            const qint64 n = Str_To_Int_Def(row.Text(Up_NumByte), -1);
            if (n < 0 || n > payload - 2)
                ok = false;
        });
        if (!ok)
            return Fail(Messages().Get(Msg_Num_Byte_Over_Payload));
        return {};
    });
}

int Get_Type_BACnet(const ParGen_Document &pargen)
{
    return pargen.Int_Or(ParGen_Key::BACnet_Type, 0);
}
