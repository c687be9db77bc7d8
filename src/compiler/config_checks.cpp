#include "compiler/config_checks.h"

#include "core/int_read.h"
#include "core/messages.h"
#include "core/xml_document.h"
#include "params/pargen_document.h"
#include "workspace/workspace.h"

Result<> Check_Config_LoraWAN(const QString &file_pargen, const QString &file_lorawan)
{
    const ParGen_Document pargen = Read_ParGen_Document(file_pargen);
    if (pargen.Is_Damaged())
        return Fail(pargen.Problem());
    // 64 bits: a stored payload near the 32-bit minimum must not wrap the limit.
    const qint64 payload = pargen.Int_Or(ParGen_Key::LoRa_Payload_Size, 0);

    Xml_Document rules;
    rules.Load(file_lorawan);
    return When_Loaded(rules, [&]() -> Result<> {
        bool ok = true;
        // A missing group holds no rules, as the compiler reads it.
        For_Each_Row(rules.Root().child("LoRaWAN_Uplink"), [&](pugi::xml_node row) {
            QString enable;
            if (!ok || !Attr_Text(row, "Enable", &enable) || enable != u"Y")
                return;
            const qint64 n = Str_To_Int_Def(Attr_Text_Def(row, "NumByte", QString()), -1);
            if (n < 0 || n > payload - 2)
                ok = false;
        });
        if (!ok)
            return Fail(Messages().Get(30));
        return {};
    });
}

Result<> Check_Config_LoraWAN(const Workspace &ws)
{
    return Check_Config_LoraWAN(ws.File_ParGen, ws.File_LoRaWAN_Access);
}

int Get_Type_BACnet(const QString &file_pargen)
{
    return Read_ParGen_Document(file_pargen).Int_Or(ParGen_Key::BACnet_Type, 0);
}

int Get_Type_BACnet(const Workspace &ws)
{
    return Get_Type_BACnet(ws.File_ParGen);
}
