#include "tables/table_check.h"

#include "tables/bacnet_access.h"
#include "tables/lora_access.h"
#include "tables/object_names.h"
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
    return Check.Ok() && !Report.Rows_At_Risk() && Report.Document_Problem.isEmpty() &&
           Report.ParGen_Problem.isEmpty();
}

Table_Check Check_LoRaWAN_Access(const Workspace &ws)
{
    LoRa_Set_Access rules;
    Table_Check check;
    check.Report = rules.Load(ws.File_ParGen, ws.File_LoRaWAN_Access);
    check.Check = rules.Controllo_dati();
    return check;
}

Table_Check Check_BACnet_Slave_Access(const Workspace &ws)
{
    BACnet_Slave_Set_Access objects;
    Table_Check check;
    check.Report = objects.Load(ws.File_ParGen, ws.File_BACnet_Slave_Access);
    check.Check = objects.Controllo_dati();
    check.Name_Warnings = Object_Name_Warnings(objects, objects.Desc_Lenght);
    return check;
}
