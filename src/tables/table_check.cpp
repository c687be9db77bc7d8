#include "tables/table_check.h"

#include "core/messages.h"
#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/object_names.h"
#include "tables/overlap_warnings.h"
#include "workspace/workspace.h"

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

Table_Check Check_LoRaWAN_Access(const Workspace &ws)
{
    LoRa_Set_Access rules;
    Table_Check check;
    check.Report = rules.Load(ws.File_ParGen, ws.File_LoRaWAN_Access);
    check.All = rules.All_Problems();
    check.Check = First_Problem(check.All);
    check.Overlaps = Rule_Overlap_Warnings(rules);
    check.Captions = {Messages().Get(1214), Messages().Get(1215)};
    check.Row_Base = rules.Uplink.Row_Number(0);
    return check;
}

Table_Check Check_BACnet_Slave_Access(const Workspace &ws)
{
    BACnet_Slave_Set_Access objects;
    Table_Check check;
    check.Report = objects.Load(ws.File_ParGen, ws.File_BACnet_Slave_Access);
    check.All = objects.All_Problems();
    check.Check = First_Problem(check.All);
    check.Overlaps = Object_Overlap_Warnings(objects);
    check.Captions = {Messages().Get(1508), Messages().Get(1509)};
    check.Row_Base = objects.Read.Row_Number(0);
    check.Name_Warnings = Object_Name_Warnings(objects, objects.Desc_Lenght);
    return check;
}
