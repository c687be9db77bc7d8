#include "inspector/config_diff.h"

#include "compiler/compile_project.h"
#include "core/messages.h"
#include "params/pargen_document.h"
#include "params/pargen_fields.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/table_diff.h"
#include "tables/table_messages.h"

namespace {

// One configuration's documents, each read once: loaded as the windows load
// them, and compiled from the same reading.
struct Documents
{
    ParGen_Document pargen;
    Rule_Document rule_document;
    Object_Document object_document;
    ParGen_Values values;
    BACnet_Slave_Set_Access objects;
    LoRa_Set_Access rules;
    QStringList problems; // what could not be read, one message each
};

void Read(Documents &d, const Configuration_Documents &files)
{
    d.pargen = Read_ParGen_Document(files.file_pargen);
    d.rule_document = Read_Rule_Document(files.file_lorawan);
    d.object_document = Read_Object_Document(files.file_bacnet);
    if (d.pargen.Is_Damaged())
        d.problems << d.pargen.Problem();
    d.values = Load_ParGen(d.pargen);
    // A damaged ParGen.xml is already said once.
    for (const Load_Report &report :
         {d.objects.Load(d.pargen, d.object_document), d.rules.Load(d.pargen, d.rule_document)})
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
                                     Messages().Get(page == Page_Read ? Msg_BACnet_Read : Msg_BACnet_Write),
                                     Msg_Map_Row_Name);
    for (const int page : {int(Page_Uplink), int(Page_Downlink)})
        c.Lines << Table_Differences(was.rules.Table(page), now.rules.Table(page),
                                     Messages().Get(page == Page_Uplink ? Msg_LoRa_Uplink : Msg_LoRa_Downlink),
                                     Msg_Map_Rule_Name);
    const Result<Bank_Images> a = Compile_Project(was.pargen, was.rule_document, was.object_document);
    const Result<Bank_Images> b = Compile_Project(now.pargen, now.rule_document, now.object_document);
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
