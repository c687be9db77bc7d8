#include "platform/http_get.h"
#include "platform/local_http_server.h"

#include <QSignalSpy>
#include <QTest>

namespace {

Http_Request Request_To(quint16 port)
{
    Http_Request request;
    request.host = QStringLiteral("127.0.0.1");
    request.port = port;
    request.target = "/path?key=value";
    request.headers = {{"Accept", "*/*"}, {"User-Agent", "tester"}};
    return request;
}

Http_Response Get(const Http_Request &request)
{
    Http_Get get;
    QSignalSpy spy(&get, &Http_Get::Finished);
    get.Start(request);
    if (!spy.wait(30000))
        return Http_Response();
    return spy.at(0).at(0).value<Http_Response>();
}

} // namespace

class Test_Http_Get : public QObject
{
    Q_OBJECT

private slots:
    void request_bytes()
    {
        Http_Request request = Request_To(80);
        request.host = QStringLiteral("example.invalid");
        QCOMPARE(Http_Request_Bytes(request), QByteArray("GET /path?key=value HTTP/1.0\r\n"
                                                         "Host: example.invalid\r\n"
                                                         "Accept: */*\r\n"
                                                         "User-Agent: tester\r\n"
                                                         "\r\n"));
        request.port = 8080;
        QVERIFY(Http_Request_Bytes(request).contains("\r\nHost: example.invalid:8080\r\n"));
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("ok") << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.001") << true << 200
                            << QByteArray("VER. 1.001");
        QTest::newRow("body keeps its line ends")
            << QByteArray("HTTP/1.0 200 OK\r\n\r\na\r\n\r\nb") << true << 200 << QByteArray("a\r\n\r\nb");
        QTest::newRow("empty body") << QByteArray("HTTP/1.0 200 OK\r\n\r\n") << true << 200 << QByteArray();
        QTest::newRow("bare line feeds") << QByteArray("HTTP/1.0 200 OK\nServer: x\n\nVER. 1.002") << true << 200
                                         << QByteArray("VER. 1.002");
        QTest::newRow("no reason phrase") << QByteArray("HTTP/1.0 204\r\n\r\n") << true << 204 << QByteArray();
        QTest::newRow("not found") << QByteArray("HTTP/1.1 404 Not Found\r\n\r\nVER. 9.999") << false << 404
                                   << QByteArray();
        QTest::newRow("server error") << QByteArray("HTTP/1.1 500 Oops\r\n\r\n") << false << 500 << QByteArray();
        QTest::newRow("redirect") << QByteArray("HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n") << false << 302
                                  << QByteArray();
        QTest::newRow("headers cut off") << QByteArray("HTTP/1.1 200 OK\r\nContent-") << false << 0 << QByteArray();
        QTest::newRow("not HTTP") << QByteArray("VER. 1.001\r\n\r\n") << false << 0 << QByteArray();
        QTest::newRow("no status number") << QByteArray("HTTP/1.1 OK\r\n\r\nx") << false << 0 << QByteArray();
        QTest::newRow("nothing") << QByteArray() << false << 0 << QByteArray();
    }

    void parse()
    {
        QFETCH(QByteArray, raw);
        QFETCH(bool, ok);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        const Http_Response response = Parse_Http_Response(raw);
        QCOMPARE(response.Ok, ok);
        QCOMPARE(response.status, status);
        QCOMPARE(response.body, body);
        QCOMPARE(response.error.isEmpty(), ok);
    }

    // A redirect is never followed; its error says where it points, so that
    // a page that moved can be told from a server that is down.
    void redirect_names_its_target_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("error");
        QTest::newRow("302") << QByteArray("HTTP/1.1 302 Found\r\nServer: x\r\nLocation: https://example.invalid/v\r\n"
                                           "\r\nVER. 1.001")
                             << QStringLiteral("status 302, redirected to https://example.invalid/v");
        QTest::newRow("301, lower case, bare line feeds") << QByteArray("HTTP/1.0 301 Moved\nlocation:/new.asp \n\n")
                                                          << QStringLiteral("status 301, redirected to /new.asp");
        QTest::newRow("no Location") << QByteArray("HTTP/1.0 303 See Other\r\n\r\n") << QStringLiteral("status 303");
        QTest::newRow("Location in the body only")
            << QByteArray("HTTP/1.0 307 Temporary\r\n\r\nLocation: /x") << QStringLiteral("status 307");
        QTest::newRow("not a redirect") << QByteArray("HTTP/1.0 404 Not Found\r\nLocation: /x\r\n\r\n")
                                        << QStringLiteral("status 404");
    }

    void redirect_names_its_target()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QString, error);
        const Http_Response response = Parse_Http_Response(raw);
        QVERIFY(!response.Ok);
        QVERIFY(response.body.isEmpty());
        QCOMPARE(response.error, error);
    }

    void answer_from_a_local_server()
    {
        Local_Http_Server server("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nhello");
        QVERIFY(server.Listening());
        const Http_Response response = Get(Request_To(server.Port()));
        QVERIFY2(response.Ok, qPrintable(response.error));
        QCOMPARE(response.body, QByteArray("hello"));
        QCOMPARE(server.Requests().size(), 1);
        QCOMPARE(server.Requests().at(0), Http_Request_Bytes(Request_To(server.Port())));
    }

    void error_status()
    {
        Local_Http_Server server("HTTP/1.0 503 Busy\r\n\r\ncome back later");
        const Http_Response response = Get(Request_To(server.Port()));
        QVERIFY(!response.Ok);
        QCOMPARE(response.status, 503);
        QVERIFY(response.body.isEmpty());
    }

    void server_that_never_answers()
    {
        Local_Http_Server server(QByteArray(), true);
        Http_Request request = Request_To(server.Port());
        request.timeout_ms = 300;
        const Http_Response response = Get(request);
        QVERIFY(!response.Ok);
        QCOMPARE(response.error, QStringLiteral("no answer in time"));
        QCOMPARE(server.Requests().size(), 1);
    }

    void answer_too_long()
    {
        Local_Http_Server server("HTTP/1.0 200 OK\r\n\r\n" + QByteArray(256 * 1024, 'x'));
        Http_Request request = Request_To(server.Port());
        request.max_response = 1024;
        const Http_Response response = Get(request);
        QVERIFY(!response.Ok);
        QVERIFY(response.body.isEmpty());
        QVERIFY(response.error.contains(QStringLiteral("1024")));
    }

    void nobody_listening()
    {
        quint16 port = 0;
        {
            Local_Http_Server closed("");
            port = closed.Port();
        }
        const Http_Response response = Get(Request_To(port));
        QVERIFY(!response.Ok);
        QVERIFY(!response.error.isEmpty());
    }

    void closed_without_an_answer()
    {
        Local_Http_Server server("");
        const Http_Response response = Get(Request_To(server.Port()));
        QVERIFY(!response.Ok);
        QCOMPARE(response.status, 0);
    }

    void one_finish_per_request_and_reusable()
    {
        Local_Http_Server server("HTTP/1.0 200 OK\r\n\r\nfirst");
        Http_Get get;
        QSignalSpy spy(&get, &Http_Get::Finished);
        get.Start(Request_To(server.Port()));
        get.Start(Request_To(server.Port())); // ignored while running
        QVERIFY(get.Running());
        QVERIFY(spy.wait());
        QVERIFY(!get.Running());
        get.Start(Request_To(server.Port()));
        QVERIFY(spy.wait());
        QTest::qWait(50);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(server.Requests().size(), 2);
        QCOMPARE(spy.at(1).at(0).value<Http_Response>().body, QByteArray("first"));
    }
};

QTEST_GUILESS_MAIN(Test_Http_Get)
#include "test_http_get.moc"
