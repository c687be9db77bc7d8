#include "tables/table_check.h"

#include "core/messages.h"
#include "params/pargen_document.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/object_names.h"
#include "tables/overlap_warnings.h"
#include "tables/table_messages.h"

QStringList Table_Check::Texts() const
{
    QStringList texts = Report.Warnings;
    if (!Check)
        texts.append(Check.Problem());
    return texts;
}

bool Table_Check::Clean() const
{
    return Check.Ok() && !Report.Rows_At_Risk() && Report.Document_Problem.isEmpty() && Report.ParGen_Problem.isEmpty();
}

Table_Check Check_LoRaWAN_Access(const ParGen_Document &pargen, const Rule_Document &rules)
{
    LoRa_Set_Access table;
    Table_Check check;
    check.Report = table.Load(pargen, rules);
    check.All = table.All_Problems();
    check.Check = First_Problem(check.All);
    check.Overlaps = Rule_Overlap_Warnings(table);
    check.Captions = {Messages().Get(Msg_LoRa_Uplink), Messages().Get(Msg_LoRa_Downlink)};
    check.Row_Base = table.Uplink.Row_Number(0);
    return check;
}

Table_Check Check_BACnet_Slave_Access(const ParGen_Document &pargen, const Object_Document &objects)
{
    BACnet_Slave_Set_Access table;
    Table_Check check;
    check.Report = table.Load(pargen, objects);
    check.All = table.All_Problems();
    check.Check = First_Problem(check.All);
    check.Overlaps = Object_Overlap_Warnings(table);
    check.Captions = {Messages().Get(Msg_BACnet_Read), Messages().Get(Msg_BACnet_Write)};
    check.Row_Base = table.Read.Row_Number(0);
    check.Name_Warnings = Object_Name_Warnings(table, table.Desc_Length);
    return check;
}
