#include "compiler/config_checks.h"

#include "compiler/compiler_messages.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "params/pargen_document.h"
#include "tables/rule_document.h"
#include "tables/uplink_fit.h"

Result<> Check_Config_LoraWAN(const ParGen_Document &pargen, const Rule_Document &rules)
{
    if (pargen.Is_Damaged())
        return Fail(pargen.Problem());
    // 64 bits: a stored payload near the 32-bit minimum must not wrap the limit.
    const qint64 payload = pargen.Int_Or(ParGen_Key::LoRa_Payload_Size, 0);

    return When_Loaded(rules, [&]() -> Result<> {
        if (!Uplink_Overruns(rules, payload).isEmpty())
            return Fail(Messages().Get(Msg_Num_Byte_Over_Payload));
        return {};
    });
}

int Get_Type_BACnet(const ParGen_Document &pargen)
{
    return pargen.Int_Or(ParGen_Key::BACnet_Type, 0);
}
