#include "cli/commands.h"

#include "lang/messages.h"
#include "shell/int_read.h"
#include "shell/workspace.h"
#include "update/ip_address.h"
#include "shell/config_checks.h"
#include "update/job_file.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

int Command_Jobfile(const Command_Context &c)
{
    const QString ip_option = QStringLiteral("ip");
    if (!c.parser.isSet(ip_option)) {
        c.Message(QStringLiteral("The command jobfile needs --ip A.B.C.D."));
        return 2;
    }
    Boot_Job job;
    job.option = 0;
    const QString option_option = QStringLiteral("option");
    if (c.parser.isSet(option_option)) {
        const QString text = c.parser.value(option_option);
        if (!Try_Str_To_Int(text, &job.option) || job.option < 0 || job.option > 2) {
            c.Message(Messages().Get(Msg_Update_Option_Invalid).arg(text));
            return 2;
        }
    }
    job.read_back = !c.parser.isSet(QStringLiteral("no-read-back"));
    if (!Split_IP_Address(c.parser.value(ip_option), &job.ip)) {
        c.Message(1037);
        return 1;
    }
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(18);
        return 1;
    }
    job.bacnet_type = Get_Type_BACnet(c.ws.File_ParGen);
    job.path_exe = c.ws.Path_Exe;
    job.path_master = c.ws.Path_Master;
    job.path_project = c.ws.Path_Project;
    QString problem;
    if (!Compile_XML_Parameter_New_Boot(job, &problem)) {
        c.Message(problem);
        return 1;
    }
    c.out << QDir::toNativeSeparators(Job_File_Path(job.path_exe)) << Qt::endl;
    return 0;
}
