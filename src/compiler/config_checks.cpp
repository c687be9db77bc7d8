#include "compiler/config_checks.h"

#include "core/int_read.h"
#include "core/messages.h"
#include "core/xml_document.h"
#include "workspace/workspace.h"

bool Check_Config_LoraWAN(const QString &file_pargen, const QString &file_lorawan, QString *problem)
{
    auto fail = [problem](const QString &text) {
        if (problem)
            *problem = text;
        return false;
    };

    // 64 bits: a stored payload near the 32-bit minimum must not wrap the limit.
    qint64 payload = 0;
    Xml_Document pargen;
    if (pargen.Load(file_pargen) == Xml_Document::State::Damaged)
        return fail(pargen.Problem());
    payload = Str_To_Int_Def(Child_Text_Def(pargen.Root(), "LoRa_Payload_Size", QString()), 0);

    Xml_Document rules;
    switch (rules.Load(file_lorawan)) {
    case Xml_Document::State::Missing:
        return true;
    case Xml_Document::State::Damaged:
        return fail(rules.Problem());
    case Xml_Document::State::Loaded:
        break;
    }
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
    return ok || fail(Messages().Get(30));
}

bool Check_Config_LoraWAN(const Workspace &ws, QString *problem)
{
    return Check_Config_LoraWAN(ws.File_ParGen, ws.File_LoRaWAN_Access, problem);
}

int Get_Type_BACnet(const QString &file_pargen)
{
    Xml_Document doc;
    if (doc.Load(file_pargen) != Xml_Document::State::Loaded)
        return 0;
    return Str_To_Int_Def(Child_Text_Def(doc.Root(), "BACnet_Type", QString()), 0);
}

int Get_Type_BACnet(const Workspace &ws)
{
    return Get_Type_BACnet(ws.File_ParGen);
}
