#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A server on 127.0.0.1 that keeps every request it receives and, once a
// request's header is complete, sends a fixed answer and closes the
// connection; with `Silent` it accepts and never answers.
class Local_Http_Server : public QObject
{
public:
    explicit Local_Http_Server(QByteArray answer, bool silent = false)
        : answer_(std::move(answer))
        , silent_(silent)
    {
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] { Accept(); });
        server_.listen(QHostAddress::LocalHost, 0);
    }

    quint16 Port() const { return server_.serverPort(); }
    bool Listening() const { return server_.isListening(); }
    const QList<QByteArray> &Requests() const { return requests_; }

private:
    void Accept()
    {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            requests_.append(QByteArray());
            const qsizetype index = requests_.size() - 1;
            QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket, index] {
                requests_[index] += socket->readAll();
                if (silent_ || !requests_[index].contains("\r\n\r\n") || answered_.contains(socket))
                    return;
                answered_.append(socket);
                socket->write(answer_);
                socket->disconnectFromHost();
            });
        }
    }

    QTcpServer server_;
    QByteArray answer_;
    bool silent_;
    QList<QByteArray> requests_;
    QList<QTcpSocket *> answered_;
};
