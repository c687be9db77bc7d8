#include "gate/configuration_gate.h"

#include "compiler/config_checks.h"
#include "params/pargen_check.h"
#include "params/pargen_form.h"
#include "tables/table_check.h"

#include <QFileInfo>

namespace {

QString File_Name(const QString &path)
{
    return QFileInfo(path).fileName();
}

// The parameters as their window holds them after loading (the payload
// recomputed), checked as its OK button checks them, or every failure.
Problem_List Parameter_Problems(const ParGen_Document &document, Check_Depth depth)
{
    ParGen_Form form;
    form.Load(Load_ParGen(document));
    Problem_List problems = depth == Check_Depth::As_OK ? Controllo_Dati(form) : All_ParGen_Problems(form);
    problems.Set_Document(File_Name(document.Path()));
    return problems;
}

// The payload the compiler would write, against the one the window computes
// (the EDE file does not carry it); after the parameter check passed.
Problem_List Stored_Payload_Problem(const ParGen_Document &document)
{
    Problem_List problems = Check_Stored_Payload(document);
    problems.Set_Document(File_Name(document.Path()));
    return problems;
}

} // namespace

Gate_Report Check_Configuration(const Configuration_Snapshot &configuration, Output what, Check_Depth depth)
{
    Gate_Report report;
    // Without an open configuration, or with its folder renamed or removed
    // outside the program, nothing may be made from the defaults its missing
    // documents would give.
    if (!configuration.Folder) {
        report.Problems.Add_Error(configuration.Folder.Problem());
        return report;
    }

    const ParGen_Document &pargen = configuration.ParGen;
    if (pargen.Is_Damaged()) {
        report.Problems.Add_Error(pargen.Problem(), File_Name(pargen.Path()));
        return report;
    }
    const Problem_List parameters = Parameter_Problems(pargen, depth);
    Problem_List stored;
    if (parameters.Ok() && what == Output::Images)
        stored = Stored_Payload_Problem(pargen);

    QList<Table_Check> tables;
    Problem_List uplink;
    if (what == Output::Images) {
        tables.append(Check_LoRaWAN_Access(pargen, configuration.Rules));
        // A damaged rule document is already reported in the rule table's words.
        if (tables.first().Report.Document_Problem.isEmpty())
            if (const Result<> checked = Check_Config_LoraWAN(pargen, configuration.Rules); !checked)
                uplink.Add_Error(checked.Problem(), File_Name(configuration.Rules.Path()));
    }
    tables.append(Check_BACnet_Slave_Access(pargen, configuration.Objects));

    Problem_List &out = report.Problems;
    out.Append(parameters);
    out.Append(stored);
    if (depth == Check_Depth::As_OK) {
        for (const Table_Check &table : tables)
            out.Append(table.As_OK());
        out.Append(uplink);
    } else {
        out.Append(uplink);
        for (const Table_Check &table : tables) {
            out.Append(table.Load_Problems);
            out.Append(table.Failures);
        }
    }
    for (const Table_Check &table : tables)
        out.Append(table.Name_Warnings);
    if (depth == Check_Depth::Everything)
        for (const Table_Check &table : tables)
            out.Append(table.Overlaps);
    if (!report.Ok())
        return report;

    // What the images cannot carry exactly. The EDE file reads no rules: its
    // snapshot holds none, which compiles as empty tables.
    Result<Bank_Images> images = Compile_Project(pargen, configuration.Rules, configuration.Objects);
    if (!images)
        report.Problems.Add_Error(images.Problem());
    else if (what == Output::Images)
        report.Images = std::move(images).Value();
    return report;
}

Gate_Report Check_Configuration(const Workspace &ws, Output what)
{
    return Check_Configuration(Read_Configuration(ws, what), what);
}
