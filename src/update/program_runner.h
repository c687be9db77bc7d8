#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>

class QTimer;

// How long the configurator waits for the updater before it lets it run on
// by itself.
inline constexpr int Updater_Wait_Ms = 150000;

// "Ethernet_Update.exe" in the workspace root.
QString Updater_Path(const QString &path_exe);

// How a run of a program came to its end. Not a Result: a time-out is no
// failure of the program, which goes on by itself, and the update window
// shows it as a warning.
struct Program_Outcome
{
    enum class Kind { Ended, Timed_Out, Failed_To_Start };
    Kind kind = Kind::Failed_To_Start;
    int exit_code = 0;    // Ended: the program's exit code (not judged here)
    bool crashed = false; // Ended: killed by a signal
    qint64 pid = 0;       // Ended or Timed_Out
    QString problem;      // Failed_To_Start and Timed_Out: the composed message
};

// Starts a program by its full path with no arguments and waits, on the
// event loop, until it ends or the limit has passed. A window stays
// responsive meanwhile. A program that outlives the limit is not killed: it
// keeps running on its own, and so does one still running when the runner is
// destroyed.
class Program_Runner : public QObject
{
    Q_OBJECT

public:
    explicit Program_Runner(QObject *parent = nullptr);
    ~Program_Runner() override;

    // Starts `program` in `working_dir`. Finished is always emitted later,
    // from the event loop, also when the start fails. Ignored while running.
    void Start(const QString &program, const QString &working_dir, int limit_ms = Updater_Wait_Ms);
    bool Running() const { return process_ != nullptr; }

signals:
    void Finished(const Program_Outcome &result);

private:
    void On_Error(QProcess::ProcessError error);
    void On_Finished(int exit_code, QProcess::ExitStatus status);
    void On_Time_Out();
    void Finish(const Program_Outcome &result);
    // Lets go of a running process without killing it; it deletes itself
    // once it ends, while an event loop runs.
    void Release();

    QProcess *process_ = nullptr;
    QTimer *timer_ = nullptr;
    QString program_;
    int limit_ms_ = 0;
};

// Starts the program and waits for it in a local event loop: the form the
// command line uses.
Program_Outcome Start_Program(const QString &program, const QString &working_dir, int limit_ms = Updater_Wait_Ms);

// Starts the workspace's updater in the workspace root and waits for it.
Program_Outcome Start_Updater(const QString &path_exe, int limit_ms = Updater_Wait_Ms);
