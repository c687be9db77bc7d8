#pragma once

#include "platform/echo_client.h"

#include <QList>
#include <QTimer>

// An echo client that plays a script: each request takes the next entry (the
// last one repeats). An entry >= 0 is reported as the reply's data bytes on
// the next turn of the event loop; No_Report never reports; Send_Fails makes
// Send refuse the request.
class Fake_Echo_Client : public Echo_Client
{
public:
    static constexpr int No_Report = -1;
    static constexpr int Send_Fails = -2;

    explicit Fake_Echo_Client(QList<int> script)
        : script_(std::move(script))
    {}

    QString open_problem; // when set, Open refuses with it
    QList<quint32> addresses;
    QList<QByteArray> data;

    bool Open(QString *problem) override
    {
        if (open_problem.isEmpty())
            return true;
        *problem = open_problem;
        return false;
    }

    bool Send(quint32 address, const QByteArray &bytes, QString *problem) override
    {
        addresses << address;
        data << bytes;
        const int entry = script_.isEmpty() ? No_Report : script_.at(qMin(next_++, script_.size() - 1));
        ++generation_;
        if (entry == Send_Fails) {
            *problem = QStringLiteral("Network is unreachable");
            return false;
        }
        if (entry >= 0) {
            const int generation = generation_;
            QTimer::singleShot(0, this, [this, entry, generation] {
                if (generation == generation_) // a newer request forgets this one
                    emit Replied(entry);
            });
        }
        return true;
    }

private:
    QList<int> script_;
    int next_ = 0;
    int generation_ = 0;
};
