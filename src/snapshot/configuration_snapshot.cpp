#include "snapshot/configuration_snapshot.h"

#include "workspace/configurations.h"
#include "workspace/workspace.h"

Configuration_Snapshot Read_Configuration(const Workspace &ws, Output what)
{
    Configuration_Snapshot snapshot;
    snapshot.Project_Name = ws.Project_Name;
    snapshot.Path_Project = ws.Path_Project;
    snapshot.Folder = Check_Configuration_Folder(ws.Path_Project);
    if (!snapshot.Folder)
        return snapshot;
    snapshot.ParGen = Read_ParGen_Document(ws.File_ParGen);
    if (what == Output::Images)
        snapshot.Rules = Read_Rule_Document(ws.File_LoRaWAN_Access);
    snapshot.Objects = Read_Object_Document(ws.File_BACnet_Slave_Access);
    return snapshot;
}
