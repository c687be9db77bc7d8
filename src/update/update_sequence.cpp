#include "update/update_sequence.h"

#include "core/messages.h"
#include "platform/stop_signals.h"
#include "update/update_messages.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

namespace {

// Sequences that are not idle, in the whole process.
int running_sequences = 0;

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

Update_Sequence::Update_Sequence(Workspace &ws, Echo_Client &client, const Update_Limits &limits, Ping_Clock *clock,
                                 QObject *parent)
    : QObject(parent)
    , ws_(ws)
    , limits_(limits)
    , session_(clock ? new Ping_Session(client, *clock, limits.ping, this)
                     : new Ping_Session(client, limits.ping, this))
    , runner_(new Program_Runner(this))
{
    connect(session_, &Ping_Session::Finished, this, &Update_Sequence::On_Ping);
    connect(runner_, &Program_Runner::Finished, this, &Update_Sequence::On_Updater);
}

Update_Sequence::~Update_Sequence()
{
    if (state_ != State::Idle)
        --running_sequences;
}

bool Update_Sequence::Any_Running()
{
    return running_sequences > 0;
}

QString Update_Sequence::Option_Text(int option)
{
    return Messages().Get(Msg_Option_Firmware_And_Configuration + qBound(0, option, 2));
}

QString Update_Lock_Path(const QString &path_exe)
{
    return path_exe + QStringLiteral("/Ethernet_Update.lock");
}

Result<File_Lock> Lock_Update(const QString &path_exe, const QString &address)
{
    File_Lock lock;
    Lock_Holder holder;
    if (lock.Take(Update_Lock_Path(path_exe), 0, address, &holder, true))
        return lock;
    return Fail(Messages().Get(Msg_Update_Locked).arg(holder.note).arg(holder.pid).arg(holder.host));
}

Result<> Update_Sequence::Start(const Boot_Job &job, File_Lock held)
{
    if (Any_Running())
        return Fail(Messages().Get(Msg_Update_Already_Running));
    // Checked before the converter is even asked: the job file would name a
    // file that is not there, and the updater would stop half-way.
    if (Job_Loads_Firmware(job.Option) && !QFileInfo(Firmware_Path(job.Path_Master)).isFile())
        return Fail(
            Messages().Get(Msg_Firmware_Missing).arg(Native(Firmware_Path(job.Path_Master)), Option_Text(job.Option)));
    const QString address = Join_IP_Address(job.IP);
    if (held.Held()) {
        lock_ = std::move(held);
    } else {
        Result<File_Lock> taken = Lock_Update(job.Path_Exe, address);
        if (!taken)
            return Fail(taken.Problem());
        lock_ = std::move(taken).Value();
    }
    job_ = job;
    address_ = address;
    job_file_.clear();
    Set_State(State::Pinging);
    session_->Start(address_);
    return {};
}

bool Update_Sequence::Cancel()
{
    if (state_ == State::Updating)
        return false;
    if (state_ == State::Pinging) {
        session_->Stop();
        lock_.Release();
        Set_State(State::Idle);
    }
    return true;
}

void Update_Sequence::Stop()
{
    if (state_ == State::Updating) {
        runner_->Stop(); // On_Updater follows once it is gone
        return;
    }
    if (state_ != State::Pinging)
        return;
    session_->Stop();
    Update_Outcome result;
    result.kind = Update_Outcome::Kind::Stopped;
    result.text = Messages().Get(Msg_Update_Interrupted).arg(Native(Updater_Path(job_.Path_Exe)));
    Finish(result);
}

void Update_Sequence::Set_State(State state)
{
    if (state == state_)
        return;
    if (state_ == State::Idle)
        ++running_sequences;
    else if (state == State::Idle)
        --running_sequences;
    state_ = state;
    emit State_Changed(state);
}

QString Update_Sequence::Context_Line() const
{
    return Messages().Get(Msg_Update_Context).arg(ws_.Project_Name, address_, Option_Text(job_.Option));
}

void Update_Sequence::On_Ping(const Ping_Outcome &outcome)
{
    if (state_ != State::Pinging)
        return;
    Update_Outcome result;
    result.ping = outcome;
    if (!outcome.Ok) {
        result.kind = Update_Outcome::Kind::Ping_Failed;
        result.warning = Ping_Failure_Is_Warning(outcome);
        result.text = Ping_Failure_Text(outcome);
        Finish(result);
        return;
    }
    // The address that answered is the one kept and the one written.
    Remember_Boot_Job(ws_, job_);
    if (const Result<> written = Compile_XML_Parameter_New_Boot(job_); !written) {
        result.kind = Update_Outcome::Kind::Job_Not_Written;
        result.text = written.Problem();
        Finish(result);
        return;
    }
    job_file_ = Job_File_Path(job_.Path_Exe);
    // What the updater is about to send: read now, since the files could be
    // compiled again before it ends.
    sent_.reset();
    sent_problem_.clear();
    if (Job_Sends_Images(job_.Option)) {
        if (Result<Sent_Images> images = Read_Job_Images(job_.Path_Project))
            sent_ = std::move(images).Value();
        else
            sent_problem_ = images.Problem();
    }
    Set_State(State::Updating);
    runner_->Start(Updater_Path(job_.Path_Exe), job_.Path_Exe, limits_.updater_ms, Updater_Log_Path(job_.Path_Exe),
                   limits_.grace_ms);
}

void Update_Sequence::On_Updater(const Program_Outcome &program)
{
    if (state_ != State::Updating)
        return;
    Update_Outcome result;
    result.program = program;
    const QString updater = Native(Updater_Path(job_.Path_Exe));
    QStringList lines;
    bool with_log = true;
    switch (program.kind) {
    case Program_Outcome::Kind::Failed_To_Start:
        lines << program.Problem;
        with_log = false;
        break;
    case Program_Outcome::Kind::Timed_Out:
        lines << program.Problem;
        break;
    case Program_Outcome::Kind::Stopped:
        lines << Messages().Get(Msg_Update_Interrupted).arg(updater);
        break;
    case Program_Outcome::Kind::Ended:
        if (program.crashed)
            lines << Messages().Get(Msg_Updater_Crashed).arg(updater);
        else if (program.exit_code != 0)
            lines << Messages().Get(Msg_Updater_Failed).arg(updater).arg(program.exit_code);
        else
            lines << Messages().Get(Msg_Update_Done);
        break;
    }
    const bool done = program.kind == Program_Outcome::Kind::Ended && !program.crashed && program.exit_code == 0;
    result.kind = done                                             ? Update_Outcome::Kind::Done
                  : program.kind == Program_Outcome::Kind::Stopped ? Update_Outcome::Kind::Stopped
                                                                   : Update_Outcome::Kind::Updater_Failed;
    lines << Context_Line();
    if (!result.Ok() && with_log) {
        const QString log = Native(Updater_Log_Path(job_.Path_Exe));
        const QStringList tail = Log_Tail(Updater_Log_Path(job_.Path_Exe));
        lines << QString();
        if (tail.isEmpty()) {
            lines << Messages().Get(Msg_Updater_Log_Empty).arg(log);
        } else {
            lines << Messages().Get(Msg_Updater_Log_Tail).arg(log);
            lines << tail;
        }
    }
    result.text = lines.join(u'\n');
    if (result.Ok())
        result.keep_problem = Keep_Sent();
    Finish(result);
}

QString Update_Sequence::Keep_Sent()
{
    // Only what reached the converter is kept; firmware alone changes no image.
    if (!Job_Sends_Images(job_.Option))
        return QString();
    if (!sent_) {
        // The copy of the update before no longer shows what the converter holds.
        QString problem = Messages().Get(Msg_Sent_Not_Kept).arg(sent_problem_);
        if (const QString removed = Forget_Sent_Images(job_.Path_Project, address_); !removed.isEmpty())
            problem += u'\n' + removed;
        return problem;
    }
    const Result<> kept = Keep_Sent_Images(job_.Path_Project, address_, *sent_);
    sent_.reset();
    return kept ? QString() : Messages().Get(Msg_Sent_Not_Kept).arg(kept.Problem());
}

void Update_Sequence::Finish(Update_Outcome outcome)
{
    outcome.job_file = job_file_;
    lock_.Release();
    Set_State(State::Idle);
    emit Finished(outcome);
}

Update_Outcome Run_Update(Workspace &ws, Echo_Client &client, const Boot_Job &job, const Update_Limits &limits,
                          File_Lock held)
{
    Update_Sequence sequence(ws, client, limits);
    // Asked to end, the command ends the updater first rather than leave it
    // running on, orphaned.
    Stop_Signals stop_signals;
    QObject::connect(&stop_signals, &Stop_Signals::Received, &sequence, &Update_Sequence::Stop);
    Update_Outcome outcome;
    if (const Result<> started = sequence.Start(job, std::move(held)); !started) {
        outcome.kind = Update_Outcome::Kind::Refused;
        outcome.text = started.Problem();
        return outcome;
    }
    QEventLoop loop;
    QObject::connect(&sequence, &Update_Sequence::Finished, &loop, [&](const Update_Outcome &o) {
        outcome = o;
        loop.quit();
    });
    loop.exec();
    return outcome;
}
