#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QTcpSocket;
class QTimer;

struct Http_Request
{
    QString host;
    quint16 port = 80;
    QByteArray target;                            // path and query, as sent
    QList<QPair<QByteArray, QByteArray>> headers; // sent after Host, in this order
    int timeout_ms = 10000;                       // for the whole exchange
    qsizetype max_response = 64 * 1024;           // status line, headers and body
};

struct Http_Response
{
    bool Ok = false; // a whole answer with a 2xx status arrived
    int status = 0;  // 0 when no status line was read
    QByteArray body;
    QString error; // why not Ok, for diagnostics
};

// The bytes of an HTTP/1.0 GET: the request line, Host, the request's
// headers, an empty line.
QByteArray Http_Request_Bytes(const Http_Request &request);

// Splits a whole answer (everything the server sent before it closed the
// connection) into status and body. Ok only for a 2xx status; a redirect is
// not followed, its error names where it points.
Http_Response Parse_Http_Response(const QByteArray &raw);

// One HTTP/1.0 GET on the event loop: connect, send, read until the server
// closes the connection. A time-out and a size cap end it early; it never
// blocks the thread.
class Http_Get : public QObject
{
    Q_OBJECT

public:
    explicit Http_Get(QObject *parent = nullptr);

    // Starts the request; Finished follows exactly once, from the event loop.
    // Ignored while a request runs.
    void Start(const Http_Request &request);
    bool Running() const { return running_; }

signals:
    void Finished(const Http_Response &response);

private:
    void On_Connected();
    void On_Ready_Read();
    void On_Disconnected();
    void Fail(const QString &error);
    void Finish(const Http_Response &response);

    QTcpSocket *socket_ = nullptr;
    QTimer *timer_ = nullptr;
    Http_Request request_;
    QByteArray received_;
    bool running_ = false;
};
