#include "tables/points_files.h"

#include "core/file_io.h"
#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace {

template <class Access> Result<> Export_From(const QString &pargen, const QString &document, const QString &file)
{
    Access access;
    const Load_Report report = access.Load(pargen, document);
    if (!report.Document_Problem.isEmpty())
        return Fail(report.Document_Problem);
    return Write_File_Atomic(file, Export_Points(Points_Of(access)));
}

// The failures of the table check that an import brings: those on the rows
// it filled, on the file's line of each, and those of the tables as a whole
// (the object count) that were not there before, on the file's last line.
template <class Access>
QList<Bad_Line> Check_Failures(const Access &access, const Points_Import &import, const Problem_List &before)
{
    QList<Bad_Line> failing;
    int last_line = 0;
    for (int t = 0; t < 2; ++t)
        for (int line : import.Lines[t])
            last_line = qMax(last_line, line);
    for (const Problem &problem : access.All_Problems()) {
        const Problem &cell = problem;
        if (cell.Row < 0 || cell.Page < 0 || cell.Page > 1) {
            const bool known =
                std::any_of(before.begin(), before.end(), [&](const Problem &p) { return p.Text == problem.Text; });
            if (!known)
                failing.append({last_line, u'"' + Messages().Get(Msg_Points_Table_Column) + u'"', problem.Text});
            continue;
        }
        const qsizetype at = import.Rows[cell.Page].indexOf(cell.Row);
        if (at < 0)
            continue;
        const Text_Table &table = access.Table(cell.Page);
        const QString column = cell.Column >= 0 && cell.Column < table.Column_Count()
                                   ? u'"' + Messages().Get(table.Column(cell.Column).header_message) + u'"'
                                   : QString();
        failing.append({import.Lines[cell.Page][at], column, problem.Text});
    }
    std::stable_sort(failing.begin(), failing.end(),
                     [](const Bad_Line &a, const Bad_Line &b) { return a.Line < b.Line; });
    return failing;
}

template <class Access>
Result<> Import_Into(const QString &pargen, const QString &document, const QString &file, Import_Mode mode)
{
    const QString refused = Messages().Get(Msg_Points_Not_Imported).arg(QDir::toNativeSeparators(file));
    Access access;
    const Load_Report report = access.Load(pargen, document);
    if (!report.Document_Problem.isEmpty())
        return Fail(refused + u'\n' + report.Document_Problem);
    if (mode == Import_Mode::Append && report.Rows_At_Risk())
        return Fail(refused + u'\n' + report.Warnings.join(u'\n'));

    const Result<QByteArray> read = Read_File_Bounded(file, Points_File_Size_Limit);
    if (!read)
        return Fail(read.Problem());
    const Points_Import import = Import_Points(Points_Of(access), read.Value(), mode);
    if (!import.Ok())
        return Fail(import.Problem(file));
    const Problem_List before = access.All_Problems();
    for (int t = 0; t < 2; ++t)
        access.Table(t).Set_Cells(import.Changes[t]);
    // The window's OK would refuse the imported rows that fail the table
    // check; so does the command, which has no OK to come.
    const QList<Bad_Line> failing = Check_Failures(access, import, before);
    if (!failing.isEmpty()) {
        Points_Import refusal;
        refusal.Bad_Lines = failing;
        return Fail(refusal.Problem(file));
    }
    return access.Save(document);
}

} // namespace

Result<> Export_Points_File(const Workspace &ws, Points_Document which, const QString &file)
{
    if (which == Points_Document::Objects)
        return Export_From<BACnet_Slave_Set_Access>(ws.File_ParGen, ws.File_BACnet_Slave_Access, file);
    return Export_From<LoRa_Set_Access>(ws.File_ParGen, ws.File_LoRaWAN_Access, file);
}

Result<> Import_Points_File(const Workspace &ws, Points_Document which, const QString &file, Import_Mode mode)
{
    if (which == Points_Document::Objects)
        return Import_Into<BACnet_Slave_Set_Access>(ws.File_ParGen, ws.File_BACnet_Slave_Access, file, mode);
    return Import_Into<LoRa_Set_Access>(ws.File_ParGen, ws.File_LoRaWAN_Access, file, mode);
}
