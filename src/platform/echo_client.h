#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// Sends ICMP echo requests, one at a time, and reports what came back. The
// ping loop of the update window drives it; tests drive the loop with a fake.
class Echo_Client : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Makes the client ready to send. False, with `problem` composed for the
    // user, when this system does not let the program send echo requests.
    virtual bool Open(QString *problem) = 0;

    // Sends one echo request carrying `data` to `address` (IPv4, host order)
    // and forgets any request still waiting. Exactly one Replied follows,
    // from the event loop, unless Send returns false (the request could not
    // be sent; `problem` says why).
    virtual bool Send(quint32 address, const QByteArray &data, QString *problem) = 0;

signals:
    // The outcome of the last request: the number of data bytes of its reply,
    // 0 when none came within the receive time-out.
    void Replied(int data_bytes);
};
