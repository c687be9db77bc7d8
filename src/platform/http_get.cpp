#include "platform/http_get.h"

#include <QTcpSocket>
#include <QTimer>

QByteArray Http_Request_Bytes(const Http_Request &request)
{
    QByteArray host = request.host.toUtf8();
    if (request.port != 80)
        host += ':' + QByteArray::number(request.port);
    QByteArray bytes = "GET " + request.target + " HTTP/1.0\r\n";
    bytes += "Host: " + host + "\r\n";
    for (const auto &[name, value] : request.headers)
        bytes += name + ": " + value + "\r\n";
    bytes += "\r\n";
    return bytes;
}

Http_Response Parse_Http_Response(const QByteArray &raw)
{
    Http_Response response;
    qsizetype header_end = raw.indexOf("\r\n\r\n");
    qsizetype body_start = header_end + 4;
    if (header_end < 0) {
        // Some servers end lines with a bare line feed.
        header_end = raw.indexOf("\n\n");
        body_start = header_end + 2;
    }
    if (header_end < 0) {
        response.error = QStringLiteral("incomplete answer");
        return response;
    }
    const QByteArray status_line = raw.left(raw.indexOf('\n')).trimmed();
    const QList<QByteArray> parts = status_line.split(' ');
    bool number = false;
    const int status = parts.size() >= 2 ? parts[1].toInt(&number) : 0;
    if (!status_line.startsWith("HTTP/") || !number || status < 100 || status > 999) {
        response.error = QStringLiteral("not an HTTP answer");
        return response;
    }
    response.status = status;
    if (status < 200 || status > 299) {
        response.error = QStringLiteral("status %1").arg(status);
        // A redirect is not followed (the answer at its target is not the
        // one asked for), but where it points tells a moved page.
        if (status >= 300 && status <= 399) {
            for (const QByteArray &line : raw.left(header_end).split('\n')) {
                if (line.trimmed().toLower().startsWith("location:")) {
                    const QByteArray target = line.trimmed().mid(9).trimmed();
                    response.error += QStringLiteral(", redirected to %1").arg(QString::fromLatin1(target));
                    break;
                }
            }
        }
        return response;
    }
    response.body = raw.mid(body_start);
    response.Ok = true;
    return response;
}

Http_Get::Http_Get(QObject *parent)
    : QObject(parent)
    , socket_(new QTcpSocket(this))
    , timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { Fail(QStringLiteral("no answer in time")); });
    connect(socket_, &QTcpSocket::connected, this, &Http_Get::On_Connected);
    connect(socket_, &QTcpSocket::readyRead, this, &Http_Get::On_Ready_Read);
    connect(socket_, &QTcpSocket::disconnected, this, &Http_Get::On_Disconnected);
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // The server closing the connection is how an HTTP/1.0 answer ends.
        if (error != QAbstractSocket::RemoteHostClosedError)
            Fail(socket_->errorString());
    });
}

void Http_Get::Start(const Http_Request &request)
{
    if (running_)
        return;
    running_ = true;
    request_ = request;
    received_.clear();
    timer_->start(request.timeout_ms);
    socket_->connectToHost(request.host, request.port);
}

void Http_Get::On_Connected()
{
    if (running_)
        socket_->write(Http_Request_Bytes(request_));
}

void Http_Get::On_Ready_Read()
{
    if (!running_)
        return;
    received_ += socket_->readAll();
    if (received_.size() > request_.max_response)
        Fail(QStringLiteral("answer longer than %1 bytes").arg(request_.max_response));
}

void Http_Get::On_Disconnected()
{
    if (!running_)
        return;
    received_ += socket_->readAll();
    if (received_.size() > request_.max_response) {
        Fail(QStringLiteral("answer longer than %1 bytes").arg(request_.max_response));
        return;
    }
    Finish(Parse_Http_Response(received_));
}

void Http_Get::Fail(const QString &error)
{
    if (!running_)
        return;
    Http_Response response;
    response.error = error;
    Finish(response);
}

void Http_Get::Finish(const Http_Response &response)
{
    running_ = false;
    timer_->stop();
    received_.clear();
    // abort() may signal disconnected(); running_ is already false by then.
    socket_->abort();
    QMetaObject::invokeMethod(
        this, [this, response] { emit Finished(response); }, Qt::QueuedConnection);
}
