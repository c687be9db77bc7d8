#include "workspace/workspace.h"

void Workspace::Set_Files()
{
    File_ParGen = Path_Project + QStringLiteral("/ParGen.xml");
    File_LoRaWAN_Access = Path_Project + QStringLiteral("/LoRaWAN_SetAccess.xml");
    File_BACnet_Slave_Access = Path_Project + QStringLiteral("/BACnet_Slave_SetAccess.xml");
    File_BACnet_Master_Access = Path_Project + QStringLiteral("/BACnet_Master_Access.xml");
}

void Workspace::Open_Configuration(const QString &name)
{
    Project_Name = name;
    Path_Project = name.isEmpty() ? QString() : Path_Projects + u'/' + name;
    Set_Files();
}
