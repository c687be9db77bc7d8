#include "update/send_ping.h"

#include "core/messages.h"
#include "platform/echo_client.h"
#include "update/ip_address.h"
#include "update/update_messages.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTimer>
#include <algorithm>

namespace {

// The system's steady clock and a single-shot timer.
class System_Ping_Clock final : public Ping_Clock
{
public:
    explicit System_Ping_Clock(QObject *parent)
        : Ping_Clock(parent)
        , timer_(new QTimer(this))
    {
        started_.start();
        timer_->setSingleShot(true);
        connect(timer_, &QTimer::timeout, this, &Ping_Clock::Due);
    }

    qint64 Now_Ms() const override { return started_.elapsed(); }
    void Wake_At(qint64 at_ms) override { timer_->start(int(qMax<qint64>(0, at_ms - Now_Ms()))); }
    void Cancel() override { timer_->stop(); }

private:
    QElapsedTimer started_;
    QTimer *timer_;
};

// ICMP codes of "destination unreachable" that the loop treats apart.
constexpr int Icmp_Host_Unreachable = 1;
constexpr int Icmp_Fragmentation_Needed = 4;

QString Dotted(quint32 address)
{
    return QHostAddress(address).toString();
}

// The kind of "destination unreachable", in words, by its ICMP code.
int Unreachable_Kind(int code)
{
    switch (code) {
    case 0:  // network unreachable
    case 6:  // network unknown
    case 11: // network unreachable for the type of service
        return Msg_Unreachable_Network;
    case 1:  // host unreachable
    case 5:  // source route failed
    case 7:  // host unknown
    case 8:  // source host isolated
    case 12: // host unreachable for the type of service
        return Msg_Unreachable_Host;
    default:
        // Prohibited (9, 10, 13), precedence (14, 15), and protocol or port
        // unreachable (2, 3), which for an echo request, having neither, is
        // what a firewall's reject rule sends.
        return Msg_Unreachable_Refused;
    }
}

// Whether `address` is this computer's own: loopback or an address of one of
// its interfaces.
bool Is_Own_Address(quint32 address)
{
    if ((address >> 24) == 127)
        return true;
    const QHostAddress host(address);
    const QList<QHostAddress> own = QNetworkInterface::allAddresses();
    return std::any_of(own.begin(), own.end(), [&host](const QHostAddress &a) { return a.isEqual(host); });
}

} // namespace

QString Ping_Failure_Text(const Ping_Outcome &outcome)
{
    if (outcome.Ok)
        return QString();
    if (!outcome.Problem.isEmpty())
        return outcome.Problem;
    if (outcome.unreachable)
        return Messages()
            .Get(Msg_Ping_Unreachable)
            .arg(Dotted(outcome.address), Dotted(outcome.router), Messages().Get(Unreachable_Kind(outcome.icmp_code)),
                 QString::number(outcome.icmp_code));
    return Messages().Get(outcome.ping_res == 2 ? Msg_Device_Not_Found : Msg_Check_IP_Address);
}

bool Ping_Failure_Is_Warning(const Ping_Outcome &outcome)
{
    return !outcome.Ok && outcome.Problem.isEmpty() && !outcome.unreachable && outcome.ping_res == 2;
}

Ping_Session::Ping_Session(Echo_Client &client, const Ping_Limits &limits, QObject *parent)
    : Ping_Session(client, *new System_Ping_Clock(nullptr), limits, parent)
{
    clock_.setParent(this);
}

Ping_Session::Ping_Session(Echo_Client &client, Ping_Clock &clock, const Ping_Limits &limits, QObject *parent)
    : QObject(parent)
    , client_(client)
    , clock_(clock)
    , limits_(limits)
{
    connect(&clock_, &Ping_Clock::Due, this, &Ping_Session::On_Due);
    connect(&client_, &Echo_Client::Replied, this, &Ping_Session::On_Replied);
    connect(&client_, &Echo_Client::Unreachable, this, &Ping_Session::On_Unreachable);
}

void Ping_Session::Start(const QString &address_text)
{
    if (running_)
        return;
    running_ = true;
    outcome_ = Ping_Outcome();
    start_ms_ = clock_.Now_Ms();
    data_ = address_text.toUtf8();
    // Only a dotted address is pinged: no name is looked up.
    if (!IPv4_From_Text(address_text, &address_)) {
        Finish(false);
        return;
    }
    outcome_.address = address_;
    if (const Echo_Status opened = client_.Open(); !opened.Ok()) {
        outcome_.Problem = Messages().Get(Msg_Ping_Not_Allowed).arg(opened.system_error);
        Finish(false);
        return;
    }
    Attempt();
}

void Ping_Session::Stop()
{
    running_ = false;
    waiting_ = false;
    wake_ = Wake::None;
    clock_.Cancel();
    // A Finished already queued by the loop's own end is dropped too.
    ++generation_;
}

void Ping_Session::On_Due()
{
    const Wake wake = wake_;
    wake_ = Wake::None;
    if (wake == Wake::Guard)
        On_No_Outcome();
    else if (wake == Wake::Pause)
        Attempt();
}

void Ping_Session::Attempt()
{
    if (!running_)
        return;
    attempt_start_ms_ = Elapsed_Ms();
    ++outcome_.attempts;
    if (!client_.Send(address_, data_).Ok()) {
        // An address the network cannot reach: the loop ends, ping_res keeps its value.
        Finish(false);
        return;
    }
    waiting_ = true;
    // The client reports every request within its receive time-out; this
    // only guards against one that never does.
    wake_ = Wake::Guard;
    clock_.Wake_At(start_ms_ + attempt_start_ms_ + 2 * limits_.attempt_ms);
}

void Ping_Session::On_Replied(int data_bytes)
{
    if (!waiting_)
        return;
    waiting_ = false;
    wake_ = Wake::None;
    clock_.Cancel();
    outcome_.ping_res = data_bytes > 0 ? 1 : 2;
    if (outcome_.ping_res == 1 && ++outcome_.good >= limits_.good_replies) {
        Finish(true);
        return;
    }
    // After an empty reply the next request waits out the attempt's time, so
    // that a quick refusal cannot turn the loop into a flood.
    Next_Attempt(outcome_.ping_res == 1 ? 0 : attempt_start_ms_ + limits_.attempt_ms);
}

void Ping_Session::On_Unreachable(quint32 router, int code)
{
    if (!waiting_)
        return;
    if (code == Icmp_Fragmentation_Needed || (code == Icmp_Host_Unreachable && Is_Own_Address(router))) {
        On_Replied(0);
        return;
    }
    waiting_ = false;
    outcome_.ping_res = 2;
    outcome_.unreachable = true;
    outcome_.router = router;
    outcome_.icmp_code = code;
    Finish(false);
}

void Ping_Session::On_No_Outcome()
{
    if (!waiting_)
        return;
    waiting_ = false;
    Next_Attempt(0);
}

void Ping_Session::Next_Attempt(qint64 earliest_ms)
{
    const qint64 at = qMax(Elapsed_Ms() + limits_.pause_ms, earliest_ms);
    if (at > limits_.total_ms) {
        Finish(outcome_.ping_res == 1);
        return;
    }
    wake_ = Wake::Pause;
    clock_.Wake_At(start_ms_ + at);
}

void Ping_Session::Finish(bool answered)
{
    running_ = false;
    waiting_ = false;
    wake_ = Wake::None;
    clock_.Cancel();
    outcome_.Ok = answered;
    const Ping_Outcome outcome = outcome_;
    const quint64 generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, outcome, generation] {
            if (generation == generation_)
                emit Finished(outcome);
        },
        Qt::QueuedConnection);
}

Ping_Outcome Send_Ping(Echo_Client &client, const QString &address_text, const Ping_Limits &limits, Ping_Clock *clock)
{
    System_Ping_Clock system_clock(nullptr);
    Ping_Session session(client, clock ? *clock : system_clock, limits);
    Ping_Outcome outcome;
    QEventLoop loop;
    QObject::connect(&session, &Ping_Session::Finished, &loop, [&](const Ping_Outcome &o) {
        outcome = o;
        loop.quit();
    });
    session.Start(address_text);
    loop.exec();
    return outcome;
}
