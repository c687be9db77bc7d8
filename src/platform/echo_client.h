#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// What became of an Open or a Send. A failure says which it was and gives
// the system's own words; the caller composes what the user is shown.
struct Echo_Status
{
    enum class Kind {
        Ok,
        Not_Allowed, // this system lets the program open no socket for echo requests
        Not_Sent,    // the request could not be sent (an unreachable network)
    };
    Kind kind = Kind::Ok;
    QString system_error; // empty when Ok

    bool Ok() const { return kind == Kind::Ok; }
};

// Sends ICMP echo requests, one at a time, and reports what came back. The
// ping loop of the update window drives it; tests drive the loop with a fake.
class Echo_Client : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Makes the client ready to send: Not_Allowed when this system does not
    // let the program send echo requests.
    virtual Echo_Status Open() = 0;

    // Sends one echo request carrying `data` to `address` (IPv4, host order)
    // and forgets any request still waiting. Exactly one Replied or
    // Unreachable follows, from the event loop, unless Send fails (opening
    // the client, or sending the request).
    virtual Echo_Status Send(quint32 address, const QByteArray &data) = 0;

signals:
    // The outcome of the last request: the number of data bytes of its reply,
    // 0 when none came within the receive time-out.
    void Replied(int data_bytes);
    // The outcome of the last request when, instead of a reply, a router (or
    // this computer) answered it with ICMP "destination unreachable": the
    // address that answered (host order) and the message's ICMP code
    // (0 network, 1 host, 3 port, 4 fragmentation needed, 13 prohibited, ...).
    void Unreachable(quint32 router, int code);
};
