#include "gate/configuration_gate.h"

#include "compiler/compile_project.h"
#include "compiler/config_checks.h"
#include "core/messages.h"
#include "params/pargen_check.h"
#include "params/pargen_document.h"
#include "params/pargen_form.h"
#include "tables/table_check.h"
#include "workspace/workspace.h"

namespace {

// The parameters as their window holds them after loading (the payload
// recomputed), checked as its OK button checks them.
QString Parameter_Problem(const ParGen_Document &document)
{
    ParGen_Form form;
    form.Load(Load_ParGen(document));
    const ParGen_Check check = Controllo_Dati(form);
    return check ? QString() : check.Problem();
}

// A table as its window loads and checks it: the load's warnings, then the
// check's failure. The parameter document is sound by now.
void Add_Table(const Table_Check &table, QStringList &problems)
{
    if (!table.Clean())
        problems.append(table.Texts());
}

} // namespace

Gate_Report Check_Configuration(const Workspace &ws, Output what)
{
    Gate_Report report;
    // Without an open configuration every path points beside the root.
    if (!ws.Configuration_Open()) {
        report.Problems.append(Messages().Get(18));
        return report;
    }

    const ParGen_Document pargen = Read_ParGen_Document(ws.File_ParGen);
    if (pargen.Is_Damaged()) {
        report.Problems.append(pargen.Problem());
        return report;
    }
    if (const QString problem = Parameter_Problem(pargen); !problem.isEmpty())
        report.Problems.append(problem);

    if (what == Output::Images) {
        const Table_Check rules = Check_LoRaWAN_Access(ws);
        Add_Table(rules, report.Problems);
        Add_Table(Check_BACnet_Slave_Access(ws), report.Problems);
        // A damaged rule document is already reported in the rule table's words.
        if (rules.Report.Document_Problem.isEmpty()) {
            if (const Result<> uplink = Check_Config_LoraWAN(ws); !uplink)
                report.Problems.append(uplink.Problem());
        }
    } else {
        Add_Table(Check_BACnet_Slave_Access(ws), report.Problems);
    }
    if (!report.Ok())
        return report;

    // What the images cannot carry exactly. The EDE file reads no rules: an
    // empty path is a missing document, which compiles as an empty table.
    const QString rules = what == Output::Images ? ws.File_LoRaWAN_Access : QString();
    if (const Result<Bank_Images> images = Compile_Project(ws.File_ParGen, rules, ws.File_BACnet_Slave_Access); !images)
        report.Problems.append(images.Problem());
    return report;
}
