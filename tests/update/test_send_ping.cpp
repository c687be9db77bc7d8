#include "core/messages.h"
#include "fake_echo_client.h"
#include "update/send_ping.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int Answer = 1016;
constexpr int Lost = 0;
constexpr int Silent = Fake_Echo_Client::No_Report;
constexpr int Fails = Fake_Echo_Client::Send_Fails;

// Small bounds keep the suite quick; the loop's rules are the same.
Ping_Limits Quick_Limits()
{
    Ping_Limits limits;
    limits.total_ms = 500;
    limits.attempt_ms = 20;
    limits.pause_ms = 1;
    return limits;
}

} // namespace

class Test_Send_Ping : public QObject
{
    Q_OBJECT

private slots:
    void loop_data()
    {
        QTest::addColumn<QList<int>>("script");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("ping_res");
        QTest::addColumn<int>("min_attempts");
        QTest::addColumn<int>("max_attempts");
        QTest::addColumn<int>("message"); // 0 none, else the message shown
        // Requests are paced by attempt_ms after an empty reply, so within
        // total_ms at most total_ms / attempt_ms + 1 are sent.
        const int most = 500 / 20 + 1;
        QTest::newRow("answers at once") << QList<int>{Answer} << true << 1 << 2 << 2 << 0;
        QTest::newRow("first request lost") << QList<int>{Lost, Answer} << true << 1 << 3 << 3 << 0;
        QTest::newRow("lost between answers") << QList<int>{Answer, Lost, Answer} << true << 1 << 3 << 3 << 0;
        QTest::newRow("never answers") << QList<int>{Lost} << false << 2 << 2 << most << 1036;
        QTest::newRow("answers once, then lost") << QList<int>{Answer, Lost} << false << 2 << 2 << most << 1036;
        QTest::newRow("answer with no data") << QList<int>{0} << false << 2 << 2 << most << 1036;
        QTest::newRow("client never reports") << QList<int>{Silent} << false << 0 << 2 << most << 1037;
        QTest::newRow("silence keeps the last reply") << QList<int>{Answer, Silent} << true << 1 << 2 << most << 0;
        QTest::newRow("send fails") << QList<int>{Fails} << false << 0 << 1 << 1 << 1037;
        QTest::newRow("send fails after a reply") << QList<int>{Answer, Fails} << false << 1 << 2 << 2 << 1037;
        QTest::newRow("send fails after a loss") << QList<int>{Lost, Fails} << false << 2 << 2 << 2 << 1036;
    }

    void loop()
    {
        QFETCH(QList<int>, script);
        QFETCH(bool, answered);
        QFETCH(int, ping_res);
        QFETCH(int, min_attempts);
        QFETCH(int, max_attempts);
        QFETCH(int, message);
        Fake_Echo_Client client(script);
        const Ping_Outcome outcome = Send_Ping(client, QStringLiteral("192.168.2.205"), Quick_Limits());
        QCOMPARE(outcome.answered, answered);
        QCOMPARE(outcome.ping_res, ping_res);
        QVERIFY2(outcome.attempts >= min_attempts && outcome.attempts <= max_attempts,
                 qPrintable(QString::number(outcome.attempts)));
        QCOMPARE(client.data.size(), outcome.attempts);
        QCOMPARE(Ping_Failure_Text(outcome), message ? Messages().Get(message) : QString());
        QCOMPARE(Ping_Failure_Is_Warning(outcome), message == 1036);
    }

    void requests_carry_the_address_text()
    {
        Fake_Echo_Client client({Answer});
        const QString text = QStringLiteral("10.0.002.7");
        QVERIFY(Send_Ping(client, text, Quick_Limits()).answered);
        QCOMPARE(client.addresses, (QList<quint32>{0x0A000207u, 0x0A000207u}));
        QCOMPARE(client.data, (QList<QByteArray>{text.toUtf8(), text.toUtf8()}));
    }

    void unusable_address_sends_nothing_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("above 255") << QStringLiteral("192.168.2.300");
        QTest::newRow("empty box") << QStringLiteral("192.168..205");
        QTest::newRow("text") << QStringLiteral("abc.0.0.1");
        QTest::newRow("host name") << QStringLiteral("localhost");
    }

    void unusable_address_sends_nothing()
    {
        QFETCH(QString, address);
        Fake_Echo_Client client({Answer});
        const Ping_Outcome outcome = Send_Ping(client, address, Quick_Limits());
        QVERIFY(!outcome.answered);
        QCOMPARE(outcome.ping_res, 0);
        QCOMPARE(outcome.attempts, 0);
        QVERIFY(client.data.isEmpty());
        QCOMPARE(Ping_Failure_Text(outcome), QStringLiteral("Error!!! Check the Ip Address"));
    }

    void a_system_without_ping_says_why()
    {
        Fake_Echo_Client client({Answer});
        client.open_problem = QStringLiteral("no ICMP socket for you");
        const Ping_Outcome outcome = Send_Ping(client, QStringLiteral("127.0.0.1"), Quick_Limits());
        QVERIFY(!outcome.answered);
        QCOMPARE(outcome.attempts, 0);
        QCOMPARE(Ping_Failure_Text(outcome), client.open_problem);
        QVERIFY(!Ping_Failure_Is_Warning(outcome));
    }

    void the_event_loop_runs_while_waiting()
    {
        Fake_Echo_Client client({Lost});
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(5);
        Send_Ping(client, QStringLiteral("127.0.0.1"), Quick_Limits());
        QVERIFY(ticks > 0);
    }

    void session_reports_once_from_the_event_loop()
    {
        Fake_Echo_Client client({Answer});
        Ping_Session session(client, Quick_Limits());
        QSignalSpy spy(&session, &Ping_Session::Finished);
        session.Start(QStringLiteral("300.0.0.1"));
        QCOMPARE(spy.count(), 0);
        QVERIFY(spy.wait());
        QVERIFY(!session.Running());
        session.Start(QStringLiteral("127.0.0.1"));
        QVERIFY(session.Running());
        session.Start(QStringLiteral("127.0.0.2")); // ignored while running
        QVERIFY(spy.wait());
        QCOMPARE(spy.count(), 2);
        const auto outcome = spy.at(1).at(0).value<Ping_Outcome>();
        QVERIFY(outcome.answered);
        QCOMPARE(client.addresses, (QList<quint32>{0x7F000001u, 0x7F000001u}));
    }
};

QTEST_GUILESS_MAIN(Test_Send_Ping)
#include "test_send_ping.moc"
