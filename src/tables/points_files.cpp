#include "tables/points_files.h"

#include "core/file_io.h"
#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFile>

namespace {

template <class Access> Result<> Export_From(const QString &pargen, const QString &document, const QString &file)
{
    Access access;
    const Load_Report report = access.Load(pargen, document);
    if (!report.Document_Problem.isEmpty())
        return Fail(report.Document_Problem);
    return Write_File_Atomic(file, Export_Points(Points_Of(access)));
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

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(Messages().Get(Msg_File_Not_Read).arg(QDir::toNativeSeparators(file), in.errorString()));
    const Points_Import import = Import_Points(Points_Of(access), in.readAll(), mode);
    if (!import.Ok())
        return Fail(import.Problem(file));
    for (int t = 0; t < 2; ++t)
        access.Table(t).Set_Cells(import.Changes[t]);
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
