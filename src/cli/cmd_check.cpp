#include "cli/commands.h"

#include "compiler/config_checks.h"
#include "params/pargen_check.h"
#include "params/pargen_document.h"
#include "params/pargen_form.h"
#include "tables/table_check.h"
#include "workspace/workspace.h"

#include <QTextStream>

int Command_Check(const Command_Context &c)
{
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(18);
        return 1;
    }
    bool failed = false;
    auto report = [&](const QStringList &texts) {
        for (const QString &text : texts)
            c.Message(text);
        failed = failed || !texts.isEmpty();
    };

    // The parameters as their window holds them after loading (the payload
    // recomputed), checked as its OK button checks them.
    const ParGen_Document document = Read_ParGen_Document(c.ws.File_ParGen);
    ParGen_Form form;
    form.Load(Load_ParGen(document));
    if (!document.Problem().isEmpty()) {
        report({document.Problem()});
    } else {
        const ParGen_Check check = Controllo_Dati(form);
        if (!check)
            report({check.Problem()});
    }

    // The rule and object tables as their windows load and check them.
    for (const Table_Check &table : {Check_LoRaWAN_Access(c.ws), Check_BACnet_Slave_Access(c.ws)}) {
        if (!table.Clean())
            report(table.Texts());
    }

    // The update step's own check.
    if (const Result<> checked = Check_Config_LoraWAN(c.ws); !checked)
        report({checked.Problem()});
    return failed ? 1 : 0;
}
