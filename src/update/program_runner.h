#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>

class QTimer;

// How long the configurator waits for the updater before it ends it.
inline constexpr int Updater_Wait_Ms = 150000;
// How long an updater asked to end at the limit may take before it is killed.
inline constexpr int Updater_Grace_Ms = 3000;

// "Ethernet_Update.exe" in the workspace root.
QString Updater_Path(const QString &path_exe);
// "Ethernet_Update.log" in the workspace root: what the last updater wrote.
QString Updater_Log_Path(const QString &path_exe);

// The last `count` non-empty lines of a program's log (each cut to a
// readable length); empty when the log is empty or cannot be read.
QStringList Log_Tail(const QString &log_path, int count = 10);

// How a run of a program came to its end.
struct Program_Outcome
{
    enum class Kind {
        Ended,           // on its own: exit_code and crashed tell how
        Timed_Out,       // still running at the limit: it was ended
        Failed_To_Start, // problem says why
        Stopped,         // ended on request (Stop) before it ended on its own
    };
    Kind kind = Kind::Failed_To_Start;
    int exit_code = 0;    // Ended: the program's exit code (not judged here)
    bool crashed = false; // Ended: killed by a signal
    qint64 pid = 0;       // Ended or Timed_Out
    QString Problem;      // Failed_To_Start and Timed_Out: the composed message
};

// Starts a program by its full path with no arguments and waits, on the
// event loop, until it ends or the limit has passed. A window stays
// responsive meanwhile. The program runs in a process group of its own; at
// the limit the whole group is asked to end, and killed after a grace, and
// Finished follows only once it is gone: an updater never runs on behind the
// configurator's back. A program still running when the runner is destroyed
// (the configurator itself ending) is left to finish its work.
class Program_Runner : public QObject
{
    Q_OBJECT

public:
    explicit Program_Runner(QObject *parent = nullptr);
    ~Program_Runner() override;

    // Starts `program` in `working_dir`. Its standard output and error go to
    // `log_path`, replaced, when one is given, else where ours go. Finished
    // is always emitted later, from the event loop, also when the start
    // fails. Ignored while running.
    void Start(const QString &program, const QString &working_dir, int limit_ms = Updater_Wait_Ms,
               const QString &log_path = QString(), int grace_ms = Updater_Grace_Ms);
    bool Running() const { return process_ != nullptr; }
    // Ends the running program now, as at the limit (its group asked, then
    // killed after the grace); Finished follows once it is gone, Stopped.
    void Stop();

signals:
    void Finished(const Program_Outcome &result);

private:
    void On_Error(QProcess::ProcessError error);
    void On_Finished(int exit_code, QProcess::ExitStatus status);
    void On_Time_Out();
    void Signal_Group(int signal_number);
    void Finish(const Program_Outcome &result);
    // Lets go of a running process without killing it; it deletes itself
    // once it ends, while an event loop runs.
    void Release();

    QProcess *process_ = nullptr;
    QTimer *timer_ = nullptr;
    QString program_;
    int limit_ms_ = 0;
    int grace_ms_ = 0;
    qint64 pid_ = 0;        // of the running program, which leads its own process group
    bool stopping_ = false; // the limit has passed, or Stop: the program is being ended
    bool stopped_ = false;  // by Stop rather than at the limit
};

// Starts the program and waits for it in a local event loop: the form the
// command line and tests use.
Program_Outcome Start_Program(const QString &program, const QString &working_dir, int limit_ms = Updater_Wait_Ms,
                              const QString &log_path = QString(), int grace_ms = Updater_Grace_Ms);

// Starts the workspace's updater in the workspace root and waits for it; its
// output goes to the workspace's updater log.
Program_Outcome Start_Updater(const QString &path_exe, int limit_ms = Updater_Wait_Ms, int grace_ms = Updater_Grace_Ms);
