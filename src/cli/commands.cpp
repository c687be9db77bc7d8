#include "cli/commands.h"

#include "lang/messages.h"
#include "shell/int_read.h"
#include "shell/configurations.h"
#include "shell/workspace.h"
#include "update/job_file.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

void Command_Context::Message(int n) const
{
    Message(Messages().Get(n));
}

void Command_Context::Message(const QString &text) const
{
    err << text << Qt::endl;
}

QCommandLineOption Command_Option(const QString &name)
{
    struct Known
    {
        const char *name;
        const char *help;
        const char *value; // empty for a flag
    };
    static const Known known[] = {
        {"ip", "The converter's address, A.B.C.D.", "A.B.C.D"},
        {"option", "The update option: 0, 1 or 2.", "N"},
        {"no-read-back", "Do not read the images back after writing them.", ""},
    };
    for (const Known &k : known)
        if (name == QLatin1StringView(k.name))
            return *k.value ? QCommandLineOption(name, QString::fromLatin1(k.help), QString::fromLatin1(k.value))
                            : QCommandLineOption(name, QString::fromLatin1(k.help));
    return QCommandLineOption(name);
}

const QList<Command> &All_Commands()
{
    static const QList<Command> commands = {
        {"list", "", "Print the configuration names, one a line.", 0, 0, {}, Command_List},
        {"new", "NAME", "Create the configuration NAME.", 1, 1, {}, Command_New},
        {"jobfile", "NAME --ip A.B.C.D [--option 0|1|2] [--no-read-back]",
         "Write the updater's job file for the configuration NAME.", 1, 1,
         {QStringLiteral("ip"), QStringLiteral("option"), QStringLiteral("no-read-back")}, Command_Jobfile},
    };
    return commands;
}

int Command_List(const Command_Context &c)
{
    for (const QString &name : Load_Existing_Configuration(c.ws))
        c.out << name << Qt::endl;
    return 0;
}

int Command_New(const Command_Context &c)
{
    const int refused = Create_Configuration(c.ws, c.args.at(0));
    if (refused != 0) {
        c.Message(refused);
        return 1;
    }
    return 0;
}

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
    // Only a configuration folder of PROJECTS, by its exact name.
    const QString name = c.args.at(0);
    if (!Load_Existing_Configuration(c.ws).contains(name)) {
        c.Message(18);
        return 1;
    }
    c.ws.Open_Configuration(name);
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
