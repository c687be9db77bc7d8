#include "tables/table_check.h"

#include "core/messages.h"
#include "params/pargen_document.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/object_names.h"
#include "tables/overlap_warnings.h"
#include "tables/table_messages.h"

#include <QFileInfo>

Problem_List Table_Check::As_OK() const
{
    Problem_List problems = Load_Problems;
    problems.Append(Failures.First_Error());
    return problems;
}

namespace {

// Names the document, and the table of a problem on a row, in each problem
// of the two tables.
Problem_List Placed(const Problem_List &problems, const QString &document, const QStringList &captions)
{
    Problem_List placed;
    for (Problem p : problems) {
        p.Document = document;
        if (p.Row >= 0 && (p.Page == 0 || p.Page == 1))
            p.Table = captions.value(p.Page);
        placed.Add(std::move(p));
    }
    return placed;
}

Table_Check Check_Tables(const Load_Report &report, const QString &path, Problem_List all, Problem_List overlaps,
                         const QStringList &names, const QStringList &captions)
{
    const QString document = QFileInfo(path).fileName();
    Table_Check check;
    check.Report = report;
    check.Failures = Placed(all, document, captions);
    check.Overlaps = Placed(overlaps, document, captions);
    for (const QString &name : names)
        check.Name_Warnings.Add_Warning(name, document);
    const bool load_fault =
        report.Rows_At_Risk() || !report.Document_Problem.isEmpty() || !report.ParGen_Problem.isEmpty();
    if (load_fault || !check.Failures.Ok())
        for (const QString &warning : report.Warnings)
            check.Load_Problems.Add_Error(warning, document);
    return check;
}

} // namespace

Table_Check Check_LoRaWAN_Access(const ParGen_Document &pargen, const Rule_Document &rules)
{
    LoRa_Set_Access table;
    const Load_Report report = table.Load(pargen, rules);
    return Check_Tables(report, rules.Path(), table.All_Problems(), Rule_Overlap_Warnings(table), {},
                        {Messages().Get(Msg_LoRa_Uplink), Messages().Get(Msg_LoRa_Downlink)});
}

Table_Check Check_BACnet_Slave_Access(const ParGen_Document &pargen, const Object_Document &objects)
{
    BACnet_Slave_Set_Access table;
    const Load_Report report = table.Load(pargen, objects);
    return Check_Tables(report, objects.Path(), table.All_Problems(), Object_Overlap_Warnings(table),
                        Object_Name_Warnings(table, table.Desc_Length),
                        {Messages().Get(Msg_BACnet_Read), Messages().Get(Msg_BACnet_Write)});
}
