#include "cli/commands.h"
#include "compiler/config_checks.h"
#include "core/int_read.h"
#include "core/messages.h"
#include "gate/gated_outputs.h"
#include "params/pargen_document.h"
#include "platform/icmp_echo_client.h"
#include "snapshot/configuration_snapshot.h"
#include "update/ip_address.h"
#include "update/job_file.h"
#include "update/program_runner.h"
#include "update/send_ping.h"
#include "update/update_messages.h"
#include "update/update_sequence.h"
#include "workspace/workspace.h"
#include "workspace/workspace_messages.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

namespace {

// Reads --ip, --option and --no-read-back and opens the configuration, as
// the update window would hold them. Returns 0 when the job is ready, else
// the exit code (2 usage, 1 refused) after saying why.
int Prepare_Job(const Command_Context &c, const char *command, Boot_Job *job)
{
    const QString ip_option = QStringLiteral("ip");
    if (!c.parser.isSet(ip_option)) {
        c.Message(QStringLiteral("The command %1 needs --ip A.B.C.D.").arg(QLatin1StringView(command)));
        return 2;
    }
    int option = 0;
    const QString option_option = QStringLiteral("option");
    if (c.parser.isSet(option_option)) {
        const QString text = c.parser.value(option_option);
        if (!Try_Str_To_Int(text, &option) || option < 0 || option > 2) {
            c.Message(Messages().Get(Msg_Update_Option_Invalid).arg(text));
            return 2;
        }
    }
    const bool read_back = !c.parser.isSet(QStringLiteral("no-read-back"));
    IP_Octets ip;
    if (!Split_IP_Address(c.parser.value(ip_option), &ip)) {
        c.Message(Msg_Check_IP_Address);
        return 1;
    }
    if (!Open_Existing(c.ws, c.args.at(0))) {
        c.Message(Msg_Project_Not_Valid);
        return 1;
    }
    // The BACnet link is the caller's to set, from the document it reads.
    *job = Make_Boot_Job(c.ws, ip, option, read_back, 0);
    return 0;
}

} // namespace

int Command_Jobfile(const Command_Context &c)
{
    Boot_Job job;
    if (const int code = Prepare_Job(c, "jobfile", &job))
        return code;
    // The job file is the running update's: not replaced under it.
    const Result<File_Lock> lock = Lock_Update(job.Path_Exe, Join_IP_Address(job.IP));
    if (!lock) {
        c.Message(lock.Problem());
        return 1;
    }
    job.BACnet_Type = Get_Type_BACnet(Read_ParGen_Document(c.ws.File_ParGen));
    if (const Result<> written = Compile_XML_Parameter_New_Boot(job); !written) {
        c.Message(written.Problem());
        return 1;
    }
    c.out << QDir::toNativeSeparators(Job_File_Path(job.Path_Exe)) << Qt::endl;
    return 0;
}

int Command_Update(const Command_Context &c)
{
    Boot_Job job;
    if (const int code = Prepare_Job(c, "update", &job))
        return code;

    // One update at a time in the workspace, from the images it compiles
    // (which another update would otherwise be sending) to the updater's end.
    Result<File_Lock> lock = Lock_Update(job.Path_Exe, Join_IP_Address(job.IP));
    if (!lock) {
        c.Message(lock.Problem());
        return 1;
    }

    // The update step: the images first, refused as `check` refuses, and
    // the job from the same reading of the documents.
    const Configuration_Snapshot configuration = Read_Configuration(c.ws, Output::Images);
    job.BACnet_Type = Get_Type_BACnet(configuration.ParGen);
    const Result<QStringList> written = Compile_Configuration(configuration);
    if (!written) {
        c.Message(written.Problem());
        return 1;
    }
    for (const QString &path : written.Value())
        c.out << QDir::toNativeSeparators(path) << Qt::endl;

    Icmp_Echo_Client client;
    const Update_Outcome outcome = Run_Update(c.ws, client, job, Update_Limits(), std::move(lock).Value());
    if (!outcome.job_file.isEmpty())
        c.out << QDir::toNativeSeparators(outcome.job_file) << Qt::endl;
    if (!outcome.Ok()) {
        c.Message(outcome.text);
        return 1;
    }
    c.out << outcome.text << Qt::endl;
    // The update itself succeeded: a copy that could not be kept is said, not failed.
    if (!outcome.keep_problem.isEmpty())
        c.Message(outcome.keep_problem);
    return 0;
}
