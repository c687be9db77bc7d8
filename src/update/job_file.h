#pragma once

#include "core/result.h"
#include "update/ip_address.h"

#include <QString>

struct Workspace;

// What the updater is asked to do, as the update window holds it when its
// update button is pressed.
struct Boot_Job
{
    IP_Octets IP;          // the four address boxes as typed
    int Option = 0;        // 0 firmware + configuration, 1 firmware, 2 configuration
    bool Read_Back = true; // the updater reads every written area back
    int BACnet_Type = 0;   // 1 BACnet MS/TP, anything else BACnet/IP
    QString Path_Exe;      // workspace root: the job file and the updater live here
    QString Path_Master;   // holds the firmware "Sim52K31.sim"
    QString Path_Project;  // holds "bin/bank1.bin" and "bin/bank2.bin"
};

// The job of the open configuration of `ws`: the address as typed, the
// chosen option and read-back, and the configuration's BACnet type (which
// the caller reads from its parameter document).
Boot_Job Make_Boot_Job(const Workspace &ws, const IP_Octets &ip, int option, bool read_back, int bacnet_type);

// Keeps the address, option and read-back of a job that goes ahead, so that
// the update window offers them next time and the settings save the address.
void Remember_Boot_Job(Workspace &ws, const Boot_Job &job);

// The converter's firmware "Sim52K31.sim", which the installation puts into
// the master folder; the configurator only names it.
QString Firmware_Path(const QString &path_master);
// Whether the option loads the firmware (0 firmware + configuration, 1 firmware).
bool Job_Loads_Firmware(int option);

// The two images an update of the configuration sends, "bin/bank1.bin" and
// "bin/bank2.bin" of its folder: the files the job document names.
QString Job_Bank1_Path(const QString &path_project);
QString Job_Bank2_Path(const QString &path_project);
// Whether the option sends the configuration's images (0 firmware + configuration, 2 configuration).
bool Job_Sends_Images(int option);

// "Ethernet_Update.xml" in the workspace root.
QString Job_File_Path(const QString &path_exe);

// The job document, serialised in its raw form (no declaration, no comment).
// File names in it use this platform's separator. Empty when the option is
// not 0, 1 or 2.
QByteArray Build_Job_File(const Boot_Job &job);

// Writes the job document into the workspace root atomically, replacing an
// older one. Fails when the option is not valid or the file cannot be
// written; an older job file is then left whole.
Result<> Compile_XML_Parameter_New_Boot(const Boot_Job &job);
