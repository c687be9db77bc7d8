#pragma once

#include "core/version.h"

#include <QString>
#include <QStringList>

// The process-wide globals: where the workspace and the open configuration
// are, the settings kept in "Quarnel.xml" and the run-time values.
struct Workspace
{
    // Paths, all without a trailing separator.
    QString Path_Exe;
    QString Path_Master;
    QString Path_Projects;
    QString Path_Language;
    QString Project_Name;
    QString Path_Project; // empty while no configuration is open
    QString File_ParGen;
    QString File_LoRaWAN_Access;
    QString File_BACnet_Slave_Access;
    QString File_BACnet_Master_Access;

    // Settings.
    QString Last_IP_Address = QStringLiteral("192.168.2.205");
    QString Language_Name = QStringLiteral("English");
    bool Enable_Internet = false;
    bool Enable_Update = false;
    bool Enable_Jump_Field_Tables = false;
    bool Double_Click_Auto_Size = false;
    // The update window's option (0 firmware and configuration, 1 firmware,
    // 2 configuration) and read-back, as last chosen.
    static constexpr int Update_Option_Count = 3;
    int Update_Option = 0;
    bool Update_Read_Back = true;

    // Run-time values, never saved.
    QString SW_Code = QLatin1StringView(Software_Code);
    QString SW_Desc = QStringLiteral("BACnet Slave / LoRaWAN - Converter");

    // The last rows copied by Copy Row, in table order; each row's cells
    // column 1 first.
    QList<QStringList> Row_Copy_Buffer;

    bool Configuration_Open() const { return !Path_Project.isEmpty(); }
    // The new-version check runs only while both flags are set.
    bool Version_Check_Wanted() const { return Enable_Internet && Enable_Update; }

    // Recomputes the four document paths from Path_Project.
    void Set_Files();
    // Opens the configuration `name` (empty: none) and recomputes the paths.
    void Open_Configuration(const QString &name);

    QString Settings_File() const { return Path_Exe + QStringLiteral("/Quarnel.xml"); }
};
