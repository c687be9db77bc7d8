#include "update/program_runner.h"

#include "core/messages.h"
#include "platform/leak_check.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

QString Updater_Path(const QString &path_exe)
{
    return path_exe + QStringLiteral("/Ethernet_Update.exe");
}

Program_Runner::Program_Runner(QObject *parent)
    : QObject(parent)
    , timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &Program_Runner::On_Time_Out);
}

Program_Runner::~Program_Runner()
{
    Release();
}

void Program_Runner::Start(const QString &program, const QString &working_dir, int limit_ms)
{
    if (process_)
        return;
    program_ = program;
    limit_ms_ = limit_ms;
    process_ = new QProcess;
    // The updater talks to the user itself: its output goes where ours goes,
    // so a pipe nobody reads can never fill up and stop it; it reads nothing.
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setWorkingDirectory(working_dir);
    // Connected before start(): a failed start is signalled inside it.
    connect(process_, &QProcess::errorOccurred, this, &Program_Runner::On_Error);
    connect(process_, &QProcess::finished, this, &Program_Runner::On_Finished);
    process_->start(program, QStringList());
    if (process_ && process_->state() != QProcess::NotRunning)
        timer_->start(limit_ms);
}

void Program_Runner::On_Error(QProcess::ProcessError error)
{
    // Crashes and read errors end in finished(); only a failed start ends here.
    if (error != QProcess::FailedToStart || !process_)
        return;
    Program_Outcome result;
    result.kind = Program_Outcome::Kind::Failed_To_Start;
    result.problem =
        Messages().Get(Msg_Program_Not_Started).arg(QDir::toNativeSeparators(program_), process_->errorString());
    QProcess *failed = process_;
    process_ = nullptr;
    failed->deleteLater();
    Finish(result);
}

void Program_Runner::On_Finished(int exit_code, QProcess::ExitStatus status)
{
    if (!process_)
        return;
    timer_->stop();
    Program_Outcome result;
    result.kind = Program_Outcome::Kind::Ended;
    result.exit_code = exit_code;
    result.crashed = status == QProcess::CrashExit;
    result.pid = process_->processId();
    QProcess *ended = process_;
    process_ = nullptr;
    ended->deleteLater();
    Finish(result);
}

void Program_Runner::On_Time_Out()
{
    if (!process_)
        return;
    Program_Outcome result;
    result.kind = Program_Outcome::Kind::Timed_Out;
    result.pid = process_->processId();
    result.problem =
        Messages().Get(Msg_Program_Still_Running).arg(QDir::toNativeSeparators(program_)).arg(limit_ms_ / 1000);
    Release();
    Finish(result);
}

void Program_Runner::Finish(const Program_Outcome &result)
{
    // Always from the event loop, so that a caller sees the same order of
    // events whether the start failed inside start() or the program ran.
    QMetaObject::invokeMethod(
        this, [this, result] { emit Finished(result); }, Qt::QueuedConnection);
}

void Program_Runner::Release()
{
    timer_->stop();
    if (!process_)
        return;
    QProcess *running = process_;
    process_ = nullptr;
    running->disconnect(this);
    // Destroying a running QProcess would kill it; instead it lives on and
    // reaps its program when that ends, or is left behind when we end first.
    connect(running, &QProcess::finished, running, &QObject::deleteLater);
    Outlives_Program_On_Purpose(running);
}

Program_Outcome Start_Program(const QString &program, const QString &working_dir, int limit_ms)
{
    Program_Runner runner;
    Program_Outcome result;
    QEventLoop loop;
    QObject::connect(&runner, &Program_Runner::Finished, &loop, [&](const Program_Outcome &r) {
        result = r;
        loop.quit();
    });
    runner.Start(program, working_dir, limit_ms);
    loop.exec();
    return result;
}

Program_Outcome Start_Updater(const QString &path_exe, int limit_ms)
{
    return Start_Program(Updater_Path(path_exe), path_exe, limit_ms);
}
