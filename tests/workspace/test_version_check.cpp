#include "core/messages.h"
#include "platform/http_get.h"
#include "platform/local_http_server.h"
#include "workspace/version_check.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

Version_Server Local(quint16 port, int timeout_ms = 10000)
{
    Version_Server server;
    server.host = QStringLiteral("127.0.0.1");
    server.port = port;
    server.timeout_ms = timeout_ms;
    return server;
}

// How the test's server behaves.
enum class Server_Kind { Answers, Silent, Closed };

// A port on which nothing listens: a server's, closed again.
quint16 Closed_Port()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace

Q_DECLARE_METATYPE(Server_Kind)
Q_DECLARE_METATYPE(Version_Answer)

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

    void is_version_reply_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("is_reply");
        QTest::newRow("1.002") << QStringLiteral("VER. 1.002") << true;
        QTest::newRow("own version, line end") << QStringLiteral("VER. 1.000\r\n") << true;
        QTest::newRow("0.000 lower case") << QStringLiteral(" ver. 0.000") << true;
        QTest::newRow("too short") << QStringLiteral("VER. 1.1") << false;
        QTest::newRow("not a number") << QStringLiteral("VER. X.YZW") << false;
        QTest::newRow("negative") << QStringLiteral("VER. -.001") << false;
        QTest::newRow("no blank") << QStringLiteral("VER.1.002") << false;
        QTest::newRow("no word") << QStringLiteral("1.002") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("an HTML page") << QStringLiteral("<html><body>VER. 1.000</body></html>") << false;
    }

    void is_version_reply()
    {
        QFETCH(QString, reply);
        QFETCH(bool, is_reply);
        QCOMPARE(Is_Version_Reply(reply), is_reply);
    }

    void request_sent()
    {
        Local_Http_Server server("HTTP/1.0 200 OK\r\n\r\nVER. 1.001");
        const Version_Result result = Check_Version(Local(server.Port()));
        QVERIFY(result.answer == Version_Answer::Newer);
        QCOMPARE(result.reply, QStringLiteral("VER. 1.001"));
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

    // "No newer version" needs the server's own word; whatever keeps it from
    // us is "not reached", and says why after message 1048.
    void server_replies_data()
    {
        QTest::addColumn<Server_Kind>("kind");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<Version_Answer>("expected");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("why"); // for Not_Reached
        const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
        const auto answers = Server_Kind::Answers;
        const auto newer = Version_Answer::Newer;
        const auto not_newer = Version_Answer::Not_Newer;
        const auto not_reached = Version_Answer::Not_Reached;
        auto bad_answer = [](const char *start) {
            return Messages().Get(Msg_Version_Bad_Answer).arg(QLatin1StringView(start));
        };
        QTest::newRow("newer") << answers << ok + "VER. 1.001" << newer << QStringLiteral("VER. 1.001") << QString();
        QTest::newRow("same version") << answers << ok + "VER. 1.000\r\n"
                                      << not_newer << QStringLiteral("VER. 1.000\r\n") << QString();
        QTest::newRow("older") << answers << ok + "VER. 0.999" << not_newer << QStringLiteral("VER. 0.999")
                               << QString();
        QTest::newRow("VER. 0.000") << answers << ok + "VER. 0.000" << not_newer << QStringLiteral("VER. 0.000")
                                    << QString();
        QTest::newRow("ver. 0.000") << answers << ok + "ver. 0.000" << not_newer << QStringLiteral("ver. 0.000")
                                    << QString();
        QTest::newRow("empty body") << answers << ok << not_reached << QString() << bad_answer("");
        QTest::newRow("garbage body") << answers
                                      << ok + "<html>\r\n<body>Please log in to the hotel network first</body></html>"
                                      << not_reached
                                      << QStringLiteral(
                                             "<html>\r\n<body>Please log in to the hotel network first</body></html>")
                                      << bad_answer("<html> <body>Please log in to the hotel...");
        QTest::newRow("X.YZW") << answers << ok + "VER. X.YZW" << not_reached << QStringLiteral("VER. X.YZW")
                               << bad_answer("VER. X.YZW");
        QTest::newRow("1.1") << answers << ok + "VER. 1.1" << not_reached << QStringLiteral("VER. 1.1")
                             << bad_answer("VER. 1.1");
        QTest::newRow("404") << answers << QByteArray("HTTP/1.1 404 Not Found\r\n\r\nVER. 0.000") << not_reached
                             << QString() << QStringLiteral("status 404");
        QTest::newRow("302 redirect")
            << answers
            << QByteArray("HTTP/1.1 302 Found\r\nLocation: https://www.example.invalid/new\r\n\r\nVER. 0.000")
            << not_reached << QString() << QStringLiteral("status 302, redirected to https://www.example.invalid/new");
        QTest::newRow("not HTTP") << answers << QByteArray("VER. 9.999") << not_reached << QString()
                                  << QStringLiteral("incomplete answer");
        QTest::newRow("never answers") << Server_Kind::Silent << QByteArray() << not_reached << QString()
                                       << QStringLiteral("no answer in time");
        QTest::newRow("closed port") << Server_Kind::Closed << QByteArray() << not_reached << QString()
                                     << QStringLiteral("Connection refused");
    }

    void server_replies()
    {
        QFETCH(Server_Kind, kind);
        QFETCH(QByteArray, answer);
        QFETCH(Version_Answer, expected);
        QFETCH(QString, reply);
        QFETCH(QString, why);
        std::unique_ptr<Local_Http_Server> server;
        quint16 port = 0;
        if (kind == Server_Kind::Closed) {
            port = Closed_Port();
        } else {
            server = std::make_unique<Local_Http_Server>(answer, kind == Server_Kind::Silent);
            port = server->Port();
        }
        const Version_Result result = Check_Version(Local(port, 300));
        QCOMPARE(result.answer, expected);
        QCOMPARE(result.reply, reply);
        if (expected == Version_Answer::Not_Reached)
            QCOMPARE(result.Problem,
                     Messages().Get(Msg_Version_Not_Reached).arg(QStringLiteral("127.0.0.1:%1").arg(port), why));
        else
            QVERIFY(result.Problem.isEmpty());
        if (server)
            QCOMPARE(server->Requests().size(), 1);
    }

    void not_reached_in_words()
    {
        Http_Response response;
        response.error = QStringLiteral("Host not found");
        QCOMPARE(Version_Result_Of(response, QStringLiteral("www.tavelin.com")).Problem,
                 QStringLiteral("Could not reach the update server www.tavelin.com: Host not found"));
        response.Ok = true;
        response.status = 200;
        response.body = "Moved";
        QCOMPARE(Version_Result_Of(response, QStringLiteral("www.tavelin.com")).Problem,
                 QStringLiteral("Could not reach the update server www.tavelin.com: its answer \"Moved\" is not of "
                                "the form \"VER. d.ddd\""));
    }

    void server_that_never_answers()
    {
        Local_Http_Server server(QByteArray(), true);
        Version_Check check;
        QSignalSpy spy(&check, &Version_Check::Finished);
        check.Start(Local(server.Port(), 300));
        QVERIFY(check.Running());
        check.Start(Local(1, 300)); // ignored while the first runs
        QVERIFY(spy.wait(30000));
        const auto result = spy.at(0).at(0).value<Version_Result>();
        QVERIFY(result.answer == Version_Answer::Not_Reached);
        QCOMPARE(result.reply, QString());
        QVERIFY2(result.Problem.contains(QStringLiteral("127.0.0.1:%1").arg(server.Port())),
                 qPrintable(result.Problem));
        QCOMPARE(server.Requests().size(), 1);
    }
};

QTEST_GUILESS_MAIN(Test_Version_Check)
#include "test_version_check.moc"
