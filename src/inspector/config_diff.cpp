#include "inspector/config_diff.h"

#include "compiler/compile_project.h"
#include "core/messages.h"
#include "params/pargen_document.h"
#include "params/pargen_fields.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/table_diff.h"

namespace {

// One configuration's documents, read as the windows read them.
struct Documents
{
    ParGen_Values values;
    BACnet_Slave_Set_Access objects;
    LoRa_Set_Access rules;
    QStringList problems; // what could not be read, one message each
};

void Read(Documents &d, const Configuration_Documents &files)
{
    const ParGen_Document pargen = Read_ParGen_Document(files.file_pargen);
    if (pargen.Is_Damaged())
        d.problems << pargen.Problem();
    d.values = Load_ParGen(pargen);
    // A damaged ParGen.xml is already said once.
    for (const Load_Report &report :
         {d.objects.Load(files.file_pargen, files.file_bacnet), d.rules.Load(files.file_pargen, files.file_lorawan)})
        if (!report.Document_Problem.isEmpty())
            d.problems << report.Document_Problem;
}

} // namespace

Image_Comparison Compare_Configurations(const Configuration_Documents &before, const Configuration_Documents &after)
{
    Image_Comparison c;
    Documents was, now;
    Read(was, before);
    Read(now, after);
    for (const QString &p : was.problems)
        c.Lines << Messages().Get(Msg_Diff_Not_Read).arg(before.name, p);
    for (const QString &p : now.problems)
        c.Lines << Messages().Get(Msg_Diff_Not_Read).arg(after.name, p);
    c.Lines << ParGen_Differences(was.values, now.values);
    for (const int page : {int(Page_Read), int(Page_Write)})
        c.Lines << Table_Differences(was.objects.Table(page), now.objects.Table(page),
                                     Messages().Get(page == Page_Read ? 1508 : 1509), Msg_Map_Row_Name);
    for (const int page : {int(Page_Uplink), int(Page_Downlink)})
        c.Lines << Table_Differences(was.rules.Table(page), now.rules.Table(page),
                                     Messages().Get(page == Page_Uplink ? 1214 : 1215), Msg_Map_Rule_Name);
    const Result<Bank_Images> a = Compile_Project(before.file_pargen, before.file_lorawan, before.file_bacnet);
    const Result<Bank_Images> b = Compile_Project(after.file_pargen, after.file_lorawan, after.file_bacnet);
    if (!a)
        c.Lines << Messages().Get(Msg_Diff_Not_Compiled).arg(before.name, a.Problem());
    if (!b)
        c.Lines << Messages().Get(Msg_Diff_Not_Compiled).arg(after.name, b.Problem());
    if (a && b) {
        Image_Comparison images = Compare_Images(a.Value(), b.Value());
        c.Lines << images.Lines;
        c.Problems_Before = images.Problems_Before;
        c.Problems_After = images.Problems_After;
    }
    return c;
}
