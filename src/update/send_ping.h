#pragma once

#include <QObject>
#include <QString>

class Echo_Client;

// The bounds of the ping loop. Tests shrink them; the window uses the defaults.
struct Ping_Limits
{
    int total_ms = 5000;  // no attempt starts after this much time
    int attempt_ms = 400; // after a request without a good reply, the next waits this long from its start
    int pause_ms = 10;    // the least pause between two attempts
    int good_replies = 2; // replies with data that end the loop early
};

struct Ping_Outcome
{
    bool Ok = false;  // the converter answered
    int ping_res = 0; // 0 no outcome, 1 a reply with data, 2 an empty reply (time-out or unreachable)
    int attempts = 0; // requests sent
    int good = 0;     // replies with data counted
    QString Problem;  // Msg_Ping_Not_Allowed when this system lets the program send no ping at all
    // A router answered the last request with "destination unreachable",
    // which ended the loop at once.
    bool unreachable = false;
    quint32 address = 0; // the address pinged (host order), once the text was read
    quint32 router = 0;  // the address that answered unreachable (host order)
    int icmp_code = -1;  // the ICMP code of that answer
};

// The message the update window shows for a ping that did not answer: the
// outcome's own problem when the system allows no ping, else Msg_Ping_Unreachable naming the
// address, the router and the kind of "destination unreachable" when a router
// said so, else Msg_Device_Not_Found after a time-out,
// else Msg_Check_IP_Address. Empty when the converter answered.
QString Ping_Failure_Text(const Ping_Outcome &outcome);
// Whether that message is a warning (Msg_Device_Not_Found) rather than an error.
bool Ping_Failure_Is_Warning(const Ping_Outcome &outcome);

// The time the ping loop runs on: the system's steady clock unless a test
// gives one whose time moves only when nothing else is left to happen, so
// that the pacing of the attempts is checked to the millisecond however
// loaded the machine is. A clock serves one session at a time.
class Ping_Clock : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Milliseconds from a fixed point; never goes back.
    virtual qint64 Now_Ms() const = 0;
    // Emits Due once, from the event loop, when Now_Ms() has reached `at_ms`
    // (at once for a time already past). Replaces a wake-up still waiting.
    virtual void Wake_At(qint64 at_ms) = 0;
    // Forgets the wake-up still waiting, if any.
    virtual void Cancel() = 0;

signals:
    void Due();
};

// Makes sure a converter answers echo requests, on the event loop so that a
// window stays responsive. Requests carry the address text as their data.
// The loop ends after `good_replies` replies with data, or once `total_ms`
// have passed, or at the first request that cannot be sent (the result is
// then false and ping_res keeps its value), or at once when a router answers
// the request with "destination unreachable" (false, `unreachable`). The
// converter answered when the last outcome seen was a reply with data.
//
// Two unreachable answers count as a lost reply instead: "fragmentation
// needed" (the path's packet size, which the system then fragments to), and
// "host unreachable" from this computer itself, which is how it says that
// no device on its own network answered for the address: that is the
// converter not answering, "Device Not Found!".
class Ping_Session : public QObject
{
    Q_OBJECT

public:
    explicit Ping_Session(Echo_Client &client, const Ping_Limits &limits = Ping_Limits(), QObject *parent = nullptr);
    // The same on the given clock, which must outlive the session.
    Ping_Session(Echo_Client &client, Ping_Clock &clock, const Ping_Limits &limits = Ping_Limits(),
                 QObject *parent = nullptr);

    // Starts the loop for the dotted address text; Finished follows once,
    // from the event loop. Ignored while a loop runs.
    void Start(const QString &address_text);
    // Ends a running loop at once: no further request is sent, a reply still
    // on its way is ignored and Finished does not follow. For a user who
    // cancelled while the converter was being asked.
    void Stop();
    bool Running() const { return running_; }

signals:
    void Finished(const Ping_Outcome &outcome);

private:
    qint64 Elapsed_Ms() const { return clock_.Now_Ms() - start_ms_; }
    void On_Due();
    void Attempt();
    void On_Replied(int data_bytes);
    void On_Unreachable(quint32 router, int code);
    void On_No_Outcome();
    void Next_Attempt(qint64 earliest_ms);
    void Finish(bool answered);

    Echo_Client &client_;
    Ping_Clock &clock_;
    Ping_Limits limits_;
    // The one wake-up the loop waits for: the guard against an attempt whose
    // client never reports, or the end of the pause before the next attempt.
    enum class Wake { None, Guard, Pause } wake_ = Wake::None;
    qint64 start_ms_ = 0;
    qint64 attempt_start_ms_ = 0;
    quint32 address_ = 0;
    QByteArray data_;
    Ping_Outcome outcome_;
    bool running_ = false;
    bool waiting_ = false;
    quint64 generation_ = 0; // counts Stop() calls: a queued Finished of an earlier run is dropped
};

// Runs a Ping_Session in a local event loop: the window's Send_Ping, which
// keeps the window's events flowing while it waits. On the system's clock
// unless `clock` is given.
Ping_Outcome Send_Ping(Echo_Client &client, const QString &address_text, const Ping_Limits &limits = Ping_Limits(),
                       Ping_Clock *clock = nullptr);
