#include "update/job_file.h"

#include "core/file_io.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "core/xml_document.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The three kinds of write operation the updater knows.
enum class Operation_Kind { Firmware, Bank1, Bank2 };

// The texts that differ between the kinds; every other child is fixed.
struct Operation_Texts
{
    QString file_name;
    const char *start_address;
    const char *bank_type;
    const char *write_css;
    const char *write_internal_data;
    bool go_to_app_after;
};

Operation_Texts Texts_Of(Operation_Kind kind, const Boot_Job &job)
{
    const auto native = [](const QString &path) { return QDir::toNativeSeparators(path); };
    switch (kind) {
    case Operation_Kind::Firmware:
        // Firmware alone is the last operation and restarts the application.
        return {native(Firmware_Path(job.Path_Master)), "0x8000", "1", "1", "0", job.Option == 1};
    case Operation_Kind::Bank1:
        return {native(Job_Bank1_Path(job.Path_Project)), "0x07000", "2", "0", "1", false};
    case Operation_Kind::Bank2:
        break;
    }
    return {native(Job_Bank2_Path(job.Path_Project)), "0x80000", "2", "0", "0", true};
}

void Add_Fixed(pugi::xml_node parent, const char *name, const char *text)
{
    Add_Key(parent, name, QLatin1StringView(text));
}

void Add_Operation(pugi::xml_node operations, Operation_Kind kind, const Boot_Job &job)
{
    const Operation_Texts t = Texts_Of(kind, job);
    pugi::xml_node op = operations.append_child("Operation");
    Add_Fixed(op, "Ope_Protection_Enabled", "");
    Add_Fixed(op, "Ope_GoToBoot_Before", "0");
    Add_Fixed(op, "Ope_GoToApp_Before", "0");
    Add_Fixed(op, "Ope_IP_Address", "");
    Add_Fixed(op, "Ope_Port", "2008");
    Add_Fixed(op, "Ope_Port_Sec", "2007");
    Add_Fixed(op, "Ope_Erase_Memory", "0");
    Add_Key(op, "Ope_FileName", t.file_name);
    Add_Fixed(op, "Ope_Start_Address", t.start_address);
    Add_Fixed(op, "Ope_Memory_Type", "0");
    Add_Fixed(op, "Ope_Bank_Type", t.bank_type);
    Add_Fixed(op, "Ope_Read_Back", job.Read_Back ? "1" : "0");
    Add_Fixed(op, "Ope_Write_CSS", t.write_css);
    Add_Fixed(op, "Ope_Address_CSS", "0x07A00");
    Add_Fixed(op, "Ope_Command_CSS", "0x02");
    Add_Fixed(op, "Ope_Write_Internal_Data", t.write_internal_data);
    Add_Fixed(op, "Ope_WID_Address", "0x07810");
    Add_Fixed(op, "Ope_WID_Command", "0x02");
    Add_Fixed(op, "Ope_WID_Data", "0x00, 0x00, 0x00, 0x01");
    Add_Fixed(op, "Ope_GoToApp_After", t.go_to_app_after ? "1" : "0");
}

bool Option_Valid(int option)
{
    return option >= 0 && option <= 2;
}

} // namespace

QString Firmware_Path(const QString &path_master)
{
    return path_master + QStringLiteral("/Sim52K31.sim");
}

bool Job_Loads_Firmware(int option)
{
    return option == 0 || option == 1;
}

Boot_Job Make_Boot_Job(const Workspace &ws, const IP_Octets &ip, int option, bool read_back, int bacnet_type)
{
    Boot_Job job;
    job.IP = ip;
    job.Option = option;
    job.Read_Back = read_back;
    job.BACnet_Type = bacnet_type;
    job.Path_Exe = ws.Path_Exe;
    job.Path_Master = ws.Path_Master;
    job.Path_Project = ws.Path_Project;
    return job;
}

void Remember_Boot_Job(Workspace &ws, const Boot_Job &job)
{
    ws.Last_IP_Address = Join_IP_Address(job.IP);
    ws.Update_Option = job.Option;
    ws.Update_Read_Back = job.Read_Back;
}

QString Job_Bank1_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/bin/bank1.bin");
}

QString Job_Bank2_Path(const QString &path_project)
{
    return path_project + QStringLiteral("/bin/bank2.bin");
}

bool Job_Sends_Images(int option)
{
    return option == 0 || option == 2;
}

QString Job_File_Path(const QString &path_exe)
{
    return path_exe + QStringLiteral("/Ethernet_Update.xml");
}

QByteArray Build_Job_File(const Boot_Job &job)
{
    if (!Option_Valid(job.Option))
        return QByteArray();
    Xml_Document doc;
    pugi::xml_node root = doc.Begin("Ethernet_Update", false);
    Add_Fixed(root, "Version", "1000");
    Add_Fixed(root, "Title", "Tavelin - SW52K31 Ethernet Update");
    Add_Key(root, "IP_Address_Dev", Join_IP_Address(job.IP));
    Add_Fixed(root, "Application_Port", "10000");
    Add_Fixed(root, "Boot_Port", "2008");
    Add_Fixed(root, "Boot_Port_Sec", "2007");
    Add_Fixed(root, "Address_Protection", "0x07800");
    pugi::xml_node protections = root.append_child("Protections");
    Add_Fixed(protections, "Protection", job.BACnet_Type == 1 ? "0x304" : "0x303");
    pugi::xml_node operations = root.append_child("Operations");
    if (job.Option != 2)
        Add_Operation(operations, Operation_Kind::Firmware, job);
    if (Job_Sends_Images(job.Option)) {
        Add_Operation(operations, Operation_Kind::Bank1, job);
        Add_Operation(operations, Operation_Kind::Bank2, job);
    }
    return doc.Serialise();
}

Result<> Compile_XML_Parameter_New_Boot(const Boot_Job &job)
{
    if (!Option_Valid(job.Option))
        return Fail(Messages().Get(Msg_Update_Option_Invalid).arg(job.Option));
    return Write_File_Atomic(Job_File_Path(job.Path_Exe), Build_Job_File(job));
}
