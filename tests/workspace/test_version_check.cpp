#include "platform/local_http_server.h"
#include "workspace/version_check.h"

#include <QSignalSpy>
#include <QTest>

namespace {

Version_Server Local(quint16 port, int timeout_ms = 10000)
{
    Version_Server server;
    server.host = QStringLiteral("127.0.0.1");
    server.port = port;
    server.timeout_ms = timeout_ms;
    return server;
}

} // namespace

class Test_Version_Check : public QObject
{
    Q_OBJECT

private slots:
    void conv_version_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("reply") << QStringLiteral("VER. 1.002") << 1002;
        QTest::newRow("own version") << QStringLiteral("1.000") << 1000;
        QTest::newRow("blanks after the word") << QStringLiteral("VER.    2.345  ") << 2345;
        QTest::newRow("longer version cut") << QStringLiteral("VER. 1.0025") << 1002;
        QTest::newRow("any separator") << QStringLiteral("VER. 1,002") << 1002;
        QTest::newRow("too short") << QStringLiteral("VER. 1.1") << -1;
        QTest::newRow("letters") << QStringLiteral("VER. X.YZW") << -1;
        QTest::newRow("blank inside") << QStringLiteral("VER. 1. 23") << -1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("word only") << QStringLiteral("VER.") << -1;
    }

    void conv_version()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(Conv_Version(text), number);
    }

    void newer_version_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("newer");
        QTest::newRow("1.001") << QStringLiteral("VER. 1.001") << true;
        QTest::newRow("2.000 with line end") << QStringLiteral("VER. 2.000\r\n") << true;
        QTest::newRow("1.000") << QStringLiteral("VER. 1.000") << false;
        QTest::newRow("0.000 lower case") << QStringLiteral("ver. 0.000") << false;
        QTest::newRow("0.999") << QStringLiteral("VER. 0.999") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks") << QStringLiteral(" \r\n") << false;
        QTest::newRow("not a number") << QStringLiteral("VER. X.YZW") << false;
        QTest::newRow("too short") << QStringLiteral("VER. 1.1") << false;
        QTest::newRow("an HTML page") << QStringLiteral("<html><body>Not here</body></html>") << false;
    }

    void newer_version()
    {
        QFETCH(QString, reply);
        QFETCH(bool, newer);
        QCOMPARE(Newer_Version_In_Reply(reply), newer);
    }

    void request_sent()
    {
        Local_Http_Server server("HTTP/1.0 200 OK\r\n\r\nVER. 1.001");
        QString reply;
        QVERIFY(Check_Version(Local(server.Port()), &reply));
        QCOMPARE(reply, QStringLiteral("VER. 1.001"));
        QCOMPARE(server.Requests().size(), 1);
        QCOMPARE(server.Requests().at(0),
                 QByteArray("GET /home/download/GetversionSW.asp?nomesw=SW52K31 HTTP/1.0\r\n"
                            "Host: 127.0.0.1:") +
                     QByteArray::number(server.Port()) +
                     "\r\n"
                     "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
                     "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                     "\r\n");
    }

    void server_replies_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("newer");
        QTest::addColumn<QString>("reply");
        const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
        QTest::newRow("1.001") << ok + "VER. 1.001" << true << QStringLiteral("VER. 1.001");
        QTest::newRow("1.000") << ok + "VER. 1.000" << false << QStringLiteral("VER. 1.000");
        QTest::newRow("ver. 0.000") << ok + "ver. 0.000" << false << QStringLiteral("ver. 0.000");
        QTest::newRow("0.999") << ok + "VER. 0.999" << false << QStringLiteral("VER. 0.999");
        QTest::newRow("empty body") << ok << false << QString();
        QTest::newRow("X.YZW") << ok + "VER. X.YZW" << false << QStringLiteral("VER. X.YZW");
        QTest::newRow("1.1") << ok + "VER. 1.1" << false << QStringLiteral("VER. 1.1");
        QTest::newRow("error status") << QByteArray("HTTP/1.1 404 Not Found\r\n\r\nVER. 9.999") << false << QString();
        QTest::newRow("not HTTP") << QByteArray("VER. 9.999") << false << QString();
    }

    void server_replies()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, newer);
        QFETCH(QString, reply);
        Local_Http_Server server(answer);
        QString got;
        QCOMPARE(Check_Version(Local(server.Port()), &got), newer);
        QCOMPARE(got, reply);
    }

    void server_that_never_answers()
    {
        Local_Http_Server server(QByteArray(), true);
        Version_Check check;
        QSignalSpy spy(&check, &Version_Check::Finished);
        check.Start(Local(server.Port(), 300));
        QVERIFY(check.Running());
        QVERIFY(spy.wait(30000));
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        QCOMPARE(spy.at(0).at(1).toString(), QString());
        QCOMPARE(server.Requests().size(), 1);
    }
};

QTEST_GUILESS_MAIN(Test_Version_Check)
#include "test_version_check.moc"
