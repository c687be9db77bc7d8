#pragma once

#include "platform/echo_client.h"
#include "update/send_ping.h"

#include <QList>
#include <QTimer>
#include <functional>
#include <map>
#include <utility>

// A clock for the ping loop whose time moves only when nothing is left to
// happen before: it keeps what is due (the session's wake-up, the fake
// client's replies) in order of time, and on each turn of the event loop
// runs the earliest, its time moved there. A loop of seconds runs at once,
// and the same way on every machine.
class Fake_Ping_Clock final : public Ping_Clock
{
public:
    qint64 Now_Ms() const override { return now_; }

    void Wake_At(qint64 at_ms) override
    {
        Cancel();
        wake_ = Call_At(at_ms, [this] { emit Due(); });
    }

    void Cancel() override
    {
        Forget(wake_);
        wake_ = 0;
    }

    // Runs `call` from the event loop at `at_ms` (at once for a time already
    // past), after whatever is due before it or was placed before it for the
    // same time. The number returned forgets it (Forget).
    quint64 Call_At(qint64 at_ms, std::function<void()> call)
    {
        const quint64 id = ++placed_;
        calls_.emplace(std::make_pair(qMax(at_ms, now_), id), std::move(call));
        Post_Turn();
        return id;
    }

    void Forget(quint64 id)
    {
        for (auto it = calls_.begin(); it != calls_.end(); ++it) {
            if (it->first.second == id) {
                calls_.erase(it);
                return;
            }
        }
    }

private:
    void Post_Turn()
    {
        if (turn_posted_)
            return;
        turn_posted_ = true;
        QMetaObject::invokeMethod(
            this, [this] { Turn(); }, Qt::QueuedConnection);
    }

    void Turn()
    {
        turn_posted_ = false;
        if (calls_.empty())
            return;
        auto first = calls_.begin();
        now_ = first->first.first;
        const std::function<void()> call = std::move(first->second);
        calls_.erase(first);
        if (!calls_.empty())
            Post_Turn();
        call();
    }

    qint64 now_ = 0;
    quint64 placed_ = 0;
    quint64 wake_ = 0;
    bool turn_posted_ = false;
    std::map<std::pair<qint64, quint64>, std::function<void()>> calls_; // by (time, order placed)
};

// An echo client that plays a script: each request takes the next entry (the
// last one repeats). An entry >= 0 is reported as the reply's data bytes on
// a later turn of the event loop; No_Report never reports; Send_Fails makes
// Send refuse the request; Unreachable reports, in the same way as a reply,
// that `unreachable_router` answered "destination unreachable" with
// `unreachable_code`. Given a Fake_Ping_Clock it reports each outcome
// `reply_ms` after its request on that clock and notes when each request
// was sent.
class Fake_Echo_Client : public Echo_Client
{
public:
    static constexpr int No_Report = -1;
    static constexpr int Send_Fails = -2;
    // (Hides the signal's name in this class: emit it as Echo_Client::Unreachable.)
    static constexpr int Unreachable = -3;

    explicit Fake_Echo_Client(QList<int> script, Fake_Ping_Clock *clock = nullptr, int reply_ms = 0)
        : script_(std::move(script))
        , clock_(clock)
        , reply_ms_(reply_ms)
    {}

    QString open_refusal;                     // when set, Open fails as Not_Allowed, with these system words
    quint32 unreachable_router = 0xC0A80201u; // 192.168.2.1, a router of the converter's network
    int unreachable_code = 1;                 // host unreachable
    QList<quint32> addresses;
    QList<QByteArray> data;
    QList<qint64> sent_at; // on the fake clock; empty without one

    Echo_Status Open() override
    {
        if (open_refusal.isEmpty())
            return {};
        return Echo_Status{Echo_Status::Kind::Not_Allowed, open_refusal};
    }

    Echo_Status Send(quint32 address, const QByteArray &bytes) override
    {
        addresses << address;
        data << bytes;
        if (clock_)
            sent_at << clock_->Now_Ms();
        const int entry = script_.isEmpty() ? No_Report : script_.at(qMin(next_++, script_.size() - 1));
        ++generation_;
        if (entry == Send_Fails)
            return Echo_Status{Echo_Status::Kind::Not_Sent, QStringLiteral("Network is unreachable")};
        if (entry >= 0 || entry == Unreachable) {
            const int generation = generation_;
            auto reply = [this, entry, generation] {
                if (generation != generation_) // a newer request forgets this one
                    return;
                if (entry == Unreachable)
                    emit Echo_Client::Unreachable(unreachable_router, unreachable_code);
                else
                    emit Replied(entry);
            };
            if (clock_)
                clock_->Call_At(clock_->Now_Ms() + reply_ms_, reply);
            else
                QTimer::singleShot(0, this, reply);
        }
        return {};
    }

private:
    QList<int> script_;
    Fake_Ping_Clock *clock_;
    int reply_ms_;
    int next_ = 0;
    int generation_ = 0;
};
