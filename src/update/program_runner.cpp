#include "update/program_runner.h"

#include "core/messages.h"
#include "platform/leak_check.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <csignal>
#include <unistd.h>

QString Updater_Path(const QString &path_exe)
{
    return path_exe + QStringLiteral("/Ethernet_Update.exe");
}

QString Updater_Log_Path(const QString &path_exe)
{
    return path_exe + QStringLiteral("/Ethernet_Update.log");
}

QStringList Log_Tail(const QString &log_path, int count)
{
    // Only the end is read: an updater may log a great deal.
    constexpr qint64 Tail_Bytes = 16 * 1024;
    constexpr qsizetype Line_Chars = 200;
    QFile file(log_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    if (size > Tail_Bytes)
        file.seek(size - Tail_Bytes);
    const QString text = QString::fromLocal8Bit(file.readAll());
    QStringList lines;
    for (QString line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (line.size() > Line_Chars)
            line = line.left(Line_Chars) + QStringLiteral("...");
        lines << line;
    }
    if (size > Tail_Bytes && !lines.isEmpty())
        lines.removeFirst(); // most likely cut in the middle
    return lines.mid(qMax<qsizetype>(0, lines.size() - count));
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

void Program_Runner::Start(const QString &program, const QString &working_dir, int limit_ms, const QString &log_path,
                           int grace_ms)
{
    if (process_)
        return;
    program_ = program;
    limit_ms_ = limit_ms;
    grace_ms_ = grace_ms;
    stopping_ = false;
    stopped_ = false;
    pid_ = 0;
    process_ = new QProcess;
    if (log_path.isEmpty()) {
        // Output goes where ours goes, so a pipe nobody reads can never fill
        // up and stop the program.
        process_->setProcessChannelMode(QProcess::ForwardedChannels);
    } else {
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setStandardOutputFile(log_path, QIODevice::Truncate);
    }
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setWorkingDirectory(working_dir);
    // A group of its own, so that ending it at the limit also ends whatever
    // it started (a script's own programs).
    process_->setChildProcessModifier([] { ::setpgid(0, 0); });
    // Connected before start(): a failed start is signalled inside it.
    connect(process_, &QProcess::errorOccurred, this, &Program_Runner::On_Error);
    connect(process_, &QProcess::finished, this, &Program_Runner::On_Finished);
    process_->start(program, QStringList());
    if (process_ && process_->state() != QProcess::NotRunning) {
        pid_ = process_->processId();
        timer_->start(limit_ms);
    }
}

void Program_Runner::On_Error(QProcess::ProcessError error)
{
    // Crashes and read errors end in finished(); only a failed start ends here.
    if (error != QProcess::FailedToStart || !process_)
        return;
    Program_Outcome result;
    result.kind = Program_Outcome::Kind::Failed_To_Start;
    result.Problem =
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
    result.kind = stopped_    ? Program_Outcome::Kind::Stopped
                  : stopping_ ? Program_Outcome::Kind::Timed_Out
                              : Program_Outcome::Kind::Ended;
    result.exit_code = exit_code;
    result.crashed = status == QProcess::CrashExit;
    result.pid = pid_;
    if (stopped_) {
        Signal_Group(SIGKILL);
    } else if (stopping_) {
        result.Problem =
            Messages().Get(Msg_Updater_Stopped).arg(QDir::toNativeSeparators(program_)).arg(limit_ms_ / 1000);
        // What the program started in its group ends with it.
        Signal_Group(SIGKILL);
    }
    QProcess *ended = process_;
    process_ = nullptr;
    ended->deleteLater();
    Finish(result);
}

void Program_Runner::On_Time_Out()
{
    if (!process_)
        return;
    if (!stopping_) {
        // Asked first, so that it can leave the converter in order; killed
        // after the grace. Finished follows from finished(), once it is gone.
        stopping_ = true;
        Signal_Group(SIGTERM);
        timer_->start(grace_ms_);
        return;
    }
    Signal_Group(SIGKILL);
}

void Program_Runner::Stop()
{
    if (!process_ || stopped_)
        return;
    stopped_ = true;
    if (stopping_)
        return; // already being ended at the limit; the grace runs
    stopping_ = true;
    Signal_Group(SIGTERM);
    timer_->start(grace_ms_);
}

void Program_Runner::Signal_Group(int signal_number)
{
    if (pid_ > 0)
        ::kill(-pid_t(pid_), signal_number);
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

Program_Outcome Start_Program(const QString &program, const QString &working_dir, int limit_ms, const QString &log_path,
                              int grace_ms)
{
    Program_Runner runner;
    Program_Outcome result;
    QEventLoop loop;
    QObject::connect(&runner, &Program_Runner::Finished, &loop, [&](const Program_Outcome &r) {
        result = r;
        loop.quit();
    });
    runner.Start(program, working_dir, limit_ms, log_path, grace_ms);
    loop.exec();
    return result;
}

Program_Outcome Start_Updater(const QString &path_exe, int limit_ms, int grace_ms)
{
    return Start_Program(Updater_Path(path_exe), path_exe, limit_ms, Updater_Log_Path(path_exe), grace_ms);
}
