#include "gate/configuration_gate.h"

#include "compiler/config_checks.h"
#include "params/pargen_check.h"
#include "params/pargen_form.h"
#include "tables/table_check.h"

namespace {

// The parameters as their window holds them after loading (the payload
// recomputed), checked as its OK button checks them.
QString Parameter_Problem(const ParGen_Document &document, Output what)
{
    ParGen_Form form;
    form.Load(Load_ParGen(document));
    if (const ParGen_Check check = Controllo_Dati(form); !check)
        return check.Problem();
    // The window recomputes the payload; the compiler writes the stored one
    // into the images (the EDE file does not carry it).
    if (what != Output::Images)
        return QString();
    const ParGen_Check stored = Check_Stored_Payload(document);
    return stored ? QString() : stored.Problem();
}

// A table as its window loads and checks it: the load's warnings, then the
// check's failure. The parameter document is sound by now.
void Add_Table(const Table_Check &table, Gate_Report &report)
{
    if (!table.Clean())
        report.Problems.append(table.Texts());
    for (const QString &warning : table.Name_Warnings)
        report.Warnings.append(QStringLiteral("Warning: ") + warning);
}

} // namespace

Gate_Report Check_Configuration(const Configuration_Snapshot &configuration, Output what)
{
    Gate_Report report;
    // Without an open configuration, or with its folder renamed or removed
    // outside the program, nothing may be made from the defaults its missing
    // documents would give.
    if (!configuration.Folder) {
        report.Problems.append(configuration.Folder.Problem());
        return report;
    }

    const ParGen_Document &pargen = configuration.ParGen;
    if (pargen.Is_Damaged()) {
        report.Problems.append(pargen.Problem());
        return report;
    }
    if (const QString problem = Parameter_Problem(pargen, what); !problem.isEmpty())
        report.Problems.append(problem);

    if (what == Output::Images) {
        const Table_Check rules = Check_LoRaWAN_Access(pargen, configuration.Rules);
        Add_Table(rules, report);
        Add_Table(Check_BACnet_Slave_Access(pargen, configuration.Objects), report);
        // A damaged rule document is already reported in the rule table's words.
        if (rules.Report.Document_Problem.isEmpty()) {
            if (const Result<> uplink = Check_Config_LoraWAN(pargen, configuration.Rules); !uplink)
                report.Problems.append(uplink.Problem());
        }
    } else {
        Add_Table(Check_BACnet_Slave_Access(pargen, configuration.Objects), report);
    }
    if (!report.Ok())
        return report;

    // What the images cannot carry exactly. The EDE file reads no rules: its
    // snapshot holds none, which compiles as empty tables.
    Result<Bank_Images> images = Compile_Project(pargen, configuration.Rules, configuration.Objects);
    if (!images)
        report.Problems.append(images.Problem());
    else if (what == Output::Images)
        report.Images = std::move(images).Value();
    return report;
}

Gate_Report Check_Configuration(const Workspace &ws, Output what)
{
    return Check_Configuration(Read_Configuration(ws, what), what);
}
