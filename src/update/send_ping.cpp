#include "update/send_ping.h"

#include "core/messages.h"
#include "platform/echo_client.h"
#include "update/ip_address.h"

#include <QEventLoop>
#include <QTimer>

QString Ping_Failure_Text(const Ping_Outcome &outcome)
{
    if (outcome.answered)
        return QString();
    if (!outcome.problem.isEmpty())
        return outcome.problem;
    return Messages().Get(outcome.ping_res == 2 ? 1036 : 1037);
}

bool Ping_Failure_Is_Warning(const Ping_Outcome &outcome)
{
    return !outcome.answered && outcome.problem.isEmpty() && outcome.ping_res == 2;
}

Ping_Session::Ping_Session(Echo_Client &client, const Ping_Limits &limits, QObject *parent)
    : QObject(parent)
    , client_(client)
    , limits_(limits)
    , guard_(new QTimer(this))
    , pause_(new QTimer(this))
{
    guard_->setSingleShot(true);
    pause_->setSingleShot(true);
    connect(guard_, &QTimer::timeout, this, &Ping_Session::On_No_Outcome);
    connect(pause_, &QTimer::timeout, this, &Ping_Session::Attempt);
    connect(&client_, &Echo_Client::Replied, this, &Ping_Session::On_Replied);
}

void Ping_Session::Start(const QString &address_text)
{
    if (running_)
        return;
    running_ = true;
    outcome_ = Ping_Outcome();
    started_.start();
    data_ = address_text.toUtf8();
    // Only a dotted address is pinged: no name is looked up.
    if (!IPv4_From_Text(address_text, &address_)) {
        Finish(false);
        return;
    }
    if (!client_.Open(&outcome_.problem)) {
        Finish(false);
        return;
    }
    Attempt();
}

void Ping_Session::Attempt()
{
    if (!running_)
        return;
    attempt_start_ms_ = started_.elapsed();
    ++outcome_.attempts;
    QString send_problem;
    if (!client_.Send(address_, data_, &send_problem)) {
        // An address the network cannot reach: the loop ends, ping_res keeps its value.
        Finish(false);
        return;
    }
    waiting_ = true;
    // The client reports every request within its receive time-out; this
    // only guards against one that never does.
    guard_->start(2 * limits_.attempt_ms);
}

void Ping_Session::On_Replied(int data_bytes)
{
    if (!waiting_)
        return;
    waiting_ = false;
    guard_->stop();
    outcome_.ping_res = data_bytes > 0 ? 1 : 2;
    if (outcome_.ping_res == 1 && ++outcome_.good >= limits_.good_replies) {
        Finish(true);
        return;
    }
    // After an empty reply the next request waits out the attempt's time, so
    // that a quick refusal cannot turn the loop into a flood.
    Next_Attempt(outcome_.ping_res == 1 ? 0 : attempt_start_ms_ + limits_.attempt_ms);
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
    const qint64 now = started_.elapsed();
    const qint64 at = qMax(now + limits_.pause_ms, earliest_ms);
    if (at > limits_.total_ms) {
        Finish(outcome_.ping_res == 1);
        return;
    }
    pause_->start(int(at - now));
}

void Ping_Session::Finish(bool answered)
{
    running_ = false;
    waiting_ = false;
    guard_->stop();
    pause_->stop();
    outcome_.answered = answered;
    const Ping_Outcome outcome = outcome_;
    QMetaObject::invokeMethod(
        this, [this, outcome] { emit Finished(outcome); }, Qt::QueuedConnection);
}

Ping_Outcome Send_Ping(Echo_Client &client, const QString &address_text, const Ping_Limits &limits)
{
    Ping_Session session(client, limits);
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
