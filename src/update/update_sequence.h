#pragma once

#include "core/result.h"
#include "update/job_file.h"
#include "update/program_runner.h"
#include "update/send_ping.h"
#include "update/sent_images.h"
#include "workspace/file_lock.h"

#include <QObject>
#include <QString>

class Echo_Client;
struct Workspace;

// The waits of an update; tests shorten them.
struct Update_Limits
{
    Ping_Limits ping;
    int updater_ms = Updater_Wait_Ms;
    int grace_ms = Updater_Grace_Ms;
};

// How an update ended, and the message that tells the user.
struct Update_Outcome
{
    enum class Kind {
        Done,            // the updater ended with code 0
        Refused,         // refused before anything started (Start's problem)
        Ping_Failed,     // the converter did not answer, or the address cannot be used
        Job_Not_Written, // the job file could not be written: nothing started
        Updater_Failed,  // the updater could not start, failed, crashed or was stopped at the limit
        Stopped,         // stopped on request (Stop): the updater, when one ran, was ended
    };
    Kind kind = Kind::Done;
    bool Ok() const { return kind == Kind::Done; }
    bool warning = false; // shown as a warning rather than an error (no answer at all)
    QString text;         // the whole message, lines joined with "\n"
    QString job_file;     // the job file written, empty when none was
    // A successful update that sent the configuration's images keeps a copy
    // of them for its address (update/sent_images.h). When that fails the
    // update is still Done; this says why nothing was kept (Msg_Sent_Not_Kept).
    QString keep_problem;
    Ping_Outcome ping;
    Program_Outcome program;
};

// One update over Ethernet, from the click to its outcome: the address is
// taken once, at the start, and that address is pinged, written to the job
// file and kept as the last address; then the updater runs, and its outcome
// is reported. One update at a time in the whole process: a second start is
// refused while any sequence runs. The update window and the `update`
// command drive it.
class Update_Sequence : public QObject
{
    Q_OBJECT

public:
    enum class State { Idle, Pinging, Updating };
    Q_ENUM(State)

    // `client` and `clock` (when given) must outlive the sequence.
    Update_Sequence(Workspace &ws, Echo_Client &client, const Update_Limits &limits = Update_Limits(),
                    Ping_Clock *clock = nullptr, QObject *parent = nullptr);
    ~Update_Sequence() override;

    // Starts the update of `job`. Refused at once, with the message, when an
    // update already runs (in this process, or in any process on this
    // workspace: its lock names the address being updated) or the job loads
    // firmware that is not there; then nothing is written or started.
    // Otherwise Finished follows once, unless the user cancels during the
    // ping. The workspace's update lock is held from here to Finished; a
    // caller that took it already (Lock_Update, to compile the images under
    // it) hands it in as `held`.
    Result<> Start(const Boot_Job &job, File_Lock held = File_Lock());

    // The user gave up: during the ping the sequence ends at once, silently
    // (nothing written, no updater, no Finished). An updater that runs is
    // never interrupted, since a broken flash can leave the converter
    // unusable: false then, and the update goes on.
    bool Cancel();

    // The configurator is asked to end (a signal to the `update` command):
    // unlike Cancel, also a running updater is ended, with its process
    // group, and Finished follows, Stopped. Nothing when idle.
    void Stop();

    State Current_State() const { return state_; }
    bool Running() const { return state_ != State::Idle; }
    // Whether any update of the process runs.
    static bool Any_Running();

    // What the option loads, in the user's words (the Msg_Option_ texts).
    static QString Option_Text(int option);

signals:
    void State_Changed(Update_Sequence::State state);
    void Finished(const Update_Outcome &outcome);

private:
    void Set_State(State state);
    void On_Ping(const Ping_Outcome &outcome);
    void On_Updater(const Program_Outcome &result);
    void Finish(Update_Outcome outcome);
    // Keeps the images sent for the address; empty, or why it could not.
    QString Keep_Sent();
    QString Context_Line() const;

    Workspace &ws_;
    Update_Limits limits_;
    Ping_Session *session_;
    Program_Runner *runner_;
    State state_ = State::Idle;
    Boot_Job job_;
    QString address_; // the address taken at the start
    File_Lock lock_;  // the workspace's update lock, from Start to Finished
    QString job_file_;
    // The images as they were when the updater started, kept for the address
    // once it ends well; or why they could not be read then.
    std::optional<Sent_Images> sent_;
    QString sent_problem_;
};

// "Ethernet_Update.lock" in the workspace root: held by the update that runs
// in the workspace, whose address is noted beside it.
QString Update_Lock_Path(const QString &path_exe);

// Takes the update lock of the workspace `path_exe` for `address`, without
// waiting: only one update at a time runs per workspace, since they share
// the job file and the updater. Fails naming the address being updated.
Result<File_Lock> Lock_Update(const QString &path_exe, const QString &address);

// Runs a whole update in a local event loop: the `update` command's form.
// SIGTERM and SIGINT meanwhile stop the update (Update_Sequence::Stop).
Update_Outcome Run_Update(Workspace &ws, Echo_Client &client, const Boot_Job &job,
                          const Update_Limits &limits = Update_Limits(), File_Lock held = File_Lock());
