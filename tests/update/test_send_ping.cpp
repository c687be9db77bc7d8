#include "core/messages.h"
#include "fake_echo_client.h"
#include "update/send_ping.h"

#include <QHostAddress>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int Answer = 1016;
constexpr int Lost = 0;
constexpr int Silent = Fake_Echo_Client::No_Report;
constexpr int Fails = Fake_Echo_Client::Send_Fails;
constexpr int Unreachable = Fake_Echo_Client::Unreachable;

// Small bounds keep the suite quick where it runs on the system's clock; the
// loop's rules are the same.
Ping_Limits Quick_Limits()
{
    Ping_Limits limits;
    limits.total_ms = 500;
    limits.attempt_ms = 20;
    limits.pause_ms = 1;
    return limits;
}

// first, first + step, ... up to last.
QList<qint64> Every(qint64 first, qint64 step, qint64 last)
{
    QList<qint64> times;
    for (qint64 t = first; t <= last; t += step)
        times << t;
    return times;
}

} // namespace

class Test_Send_Ping : public QObject
{
    Q_OBJECT

private slots:
    // The loop with the window's own limits (5000 ms in all, 400 ms an
    // attempt, 10 ms the least pause, 2 good replies) on a fake clock: when
    // each request goes out and when the loop ends, to the millisecond.
    void loop_data()
    {
        QTest::addColumn<QList<int>>("script");
        QTest::addColumn<int>("reply_ms"); // how long each reply takes
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("ping_res");
        QTest::addColumn<QList<qint64>>("sent_at");
        QTest::addColumn<qint64>("ends_at");
        QTest::addColumn<int>("message"); // 0 none, else the message shown

        // A good reply is followed by the least pause; an empty one by the
        // rest of the attempt's 400 ms; a request never reported by the guard
        // of twice that. No request starts after 5000 ms.
        QTest::newRow("answers at once") << QList<int>{Answer} << 0 << true << 1 << QList<qint64>{0, 10} << 10LL << 0;
        QTest::newRow("slow answers") << QList<int>{Answer} << 399 << true << 1 << QList<qint64>{0, 409} << 808LL << 0;
        QTest::newRow("first request lost")
            << QList<int>{Lost, Answer} << 0 << true << 1 << QList<qint64>{0, 400, 410} << 410LL << 0;
        QTest::newRow("lost between answers")
            << QList<int>{Answer, Lost, Answer} << 0 << true << 1 << QList<qint64>{0, 10, 410} << 410LL << 0;
        QTest::newRow("never answers") << QList<int>{Lost} << 0 << false << 2 << Every(0, 400, 4800) << 4800LL << 1036;
        // As the system's client reports it: an empty reply at its time-out.
        QTest::newRow("never answers, each loss at the time-out")
            << QList<int>{Lost} << 400 << false << 2 << Every(0, 410, 4920) << 5320LL << 1036;
        QTest::newRow("answers once, then lost")
            << QList<int>{Answer, Lost} << 0 << false << 2 << QList<qint64>{0} + Every(10, 400, 4810) << 4810LL << 1036;
        QTest::newRow("answer with no data")
            << QList<int>{0} << 0 << false << 2 << Every(0, 400, 4800) << 4800LL << 1036;
        QTest::newRow("client never reports")
            << QList<int>{Silent} << 0 << false << 0 << Every(0, 810, 4860) << 5660LL << 1037;
        QTest::newRow("silence keeps the last reply")
            << QList<int>{Answer, Silent} << 0 << true << 1 << QList<qint64>{0} + Every(10, 810, 4870) << 5670LL << 0;
        QTest::newRow("send fails") << QList<int>{Fails} << 0 << false << 0 << QList<qint64>{0} << 0LL << 1037;
        QTest::newRow("send fails after a reply")
            << QList<int>{Answer, Fails} << 0 << false << 1 << QList<qint64>{0, 10} << 10LL << 1037;
        QTest::newRow("send fails after a loss")
            << QList<int>{Lost, Fails} << 0 << false << 2 << QList<qint64>{0, 400} << 400LL << 1036;
    }

    void loop()
    {
        QFETCH(QList<int>, script);
        QFETCH(int, reply_ms);
        QFETCH(bool, answered);
        QFETCH(int, ping_res);
        QFETCH(QList<qint64>, sent_at);
        QFETCH(qint64, ends_at);
        QFETCH(int, message);
        Fake_Ping_Clock clock;
        Fake_Echo_Client client(script, &clock, reply_ms);
        const Ping_Outcome outcome = Send_Ping(client, QStringLiteral("192.168.2.205"), Ping_Limits(), &clock);
        QCOMPARE(outcome.Ok, answered);
        QCOMPARE(outcome.ping_res, ping_res);
        QCOMPARE(client.sent_at, sent_at);
        QCOMPARE(outcome.attempts, sent_at.size());
        QCOMPARE(clock.Now_Ms(), ends_at);
        QCOMPARE(Ping_Failure_Text(outcome), message ? Messages().Get(message) : QString());
        QCOMPARE(Ping_Failure_Is_Warning(outcome), message == 1036);
    }

    // A router that answers "destination unreachable" ends the loop at once
    // with its own error, which names the address, the router and the kind;
    // no request follows. Two such answers are losses instead: fragmentation
    // needed, and host unreachable from this computer (no device on its own
    // network answered), which keep "Device Not Found!".
    void unreachable_data()
    {
        QTest::addColumn<QList<int>>("script");
        QTest::addColumn<quint32>("router");
        QTest::addColumn<int>("code");
        QTest::addColumn<QList<qint64>>("sent_at");
        QTest::addColumn<qint64>("ends_at");
        QTest::addColumn<QString>("kind"); // empty: the loop goes on, then "Device Not Found!"

        const quint32 gateway = 0xC0A80201u; // 192.168.2.1
        const QString host = QStringLiteral("host unreachable");
        const QString refused = QStringLiteral("refused by a filter");
        QTest::newRow("at the first request")
            << QList<int>{Unreachable} << gateway << 1 << QList<qint64>{0} << 30LL << host;
        QTest::newRow("after a reply") << QList<int>{Answer, Unreachable} << gateway << 1 << QList<qint64>{0, 40}
                                       << 70LL << host;
        QTest::newRow("after a loss") << QList<int>{Lost, Unreachable} << gateway << 1 << QList<qint64>{0, 400} << 430LL
                                      << host;
        QTest::newRow("network") << QList<int>{Unreachable} << 0x0A000001u << 0 << QList<qint64>{0} << 30LL
                                 << QStringLiteral("network unreachable");
        QTest::newRow("prohibited") << QList<int>{Unreachable} << gateway << 13 << QList<qint64>{0} << 30LL << refused;
        QTest::newRow("port, a reject rule")
            << QList<int>{Unreachable} << gateway << 3 << QList<qint64>{0} << 30LL << refused;
        QTest::newRow("this computer's firewall")
            << QList<int>{Unreachable} << 0x7F000001u << 13 << QList<qint64>{0} << 30LL << refused;
        // Each loss waits out the attempt's 400 ms from its start.
        QTest::newRow("this computer found no device")
            << QList<int>{Unreachable} << 0x7F000001u << 1 << Every(0, 400, 4800) << 4830LL << QString();
        QTest::newRow("fragmentation needed")
            << QList<int>{Unreachable} << gateway << 4 << Every(0, 400, 4800) << 4830LL << QString();
    }

    void unreachable()
    {
        QFETCH(QList<int>, script);
        QFETCH(quint32, router);
        QFETCH(int, code);
        QFETCH(QList<qint64>, sent_at);
        QFETCH(qint64, ends_at);
        QFETCH(QString, kind);
        Fake_Ping_Clock clock;
        Fake_Echo_Client client(script, &clock, 30);
        client.unreachable_router = router;
        client.unreachable_code = code;
        Ping_Session session(client, clock);
        QSignalSpy spy(&session, &Ping_Session::Finished);
        session.Start(QStringLiteral("192.168.2.205"));
        QVERIFY(spy.wait());
        const auto outcome = spy.at(0).at(0).value<Ping_Outcome>();
        QVERIFY(!outcome.Ok);
        QCOMPARE(outcome.ping_res, 2);
        QCOMPARE(client.sent_at, sent_at);
        QCOMPARE(clock.Now_Ms(), ends_at);
        QCOMPARE(outcome.unreachable, !kind.isEmpty());
        QCOMPARE(Ping_Failure_Is_Warning(outcome), !outcome.unreachable);
        if (kind.isEmpty()) {
            QCOMPARE(Ping_Failure_Text(outcome), Messages().Get(1036));
        } else {
            QCOMPARE(outcome.address, 0xC0A802CDu);
            QCOMPARE(outcome.router, router);
            QCOMPARE(outcome.icmp_code, code);
            QCOMPARE(Ping_Failure_Text(outcome),
                     Messages()
                         .Get(Msg_Ping_Unreachable)
                         .arg(QStringLiteral("192.168.2.205"), QHostAddress(router).toString(), kind,
                              QString::number(code)));
        }
        // Nothing follows the end: no request, no second outcome.
        QTest::qWait(20);
        for (int i = 0; i < 100; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(client.sent_at, sent_at);
        QCOMPARE(spy.count(), 1);
    }

    // The whole sentence once, as a field engineer reads it.
    void unreachable_message()
    {
        Ping_Outcome outcome;
        outcome.ping_res = 2;
        outcome.unreachable = true;
        outcome.address = 0x0AC90005u;
        outcome.router = 0x0AC80001u;
        outcome.icmp_code = 1;
        QCOMPARE(Ping_Failure_Text(outcome),
                 QStringLiteral("Error! The address 10.201.0.5 cannot be reached: 10.200.0.1 answered that the "
                                "destination is unreachable (host unreachable, ICMP code 1). Check the address, and "
                                "the routers and firewalls between this computer and the device."));
        QVERIFY(!Ping_Failure_Is_Warning(outcome));
    }

    // The same rules on the system's clock, with small bounds: requests are
    // paced by attempt_ms (20) after an empty reply, so within total_ms (500)
    // at most one per 19 ms goes out (a coarse timer may fire 5% early), and
    // never fewer than the two a loss and its retry need.
    void loop_on_the_system_clock()
    {
        Fake_Echo_Client client({Lost});
        const Ping_Outcome outcome = Send_Ping(client, QStringLiteral("192.168.2.205"), Quick_Limits());
        QVERIFY(!outcome.Ok);
        QCOMPARE(outcome.ping_res, 2);
        QVERIFY2(outcome.attempts >= 2 && outcome.attempts <= 500 / 19 + 1,
                 qPrintable(QString::number(outcome.attempts)));
        QCOMPARE(client.data.size(), outcome.attempts);
    }

    void requests_carry_the_address_text()
    {
        Fake_Ping_Clock clock;
        Fake_Echo_Client client({Answer}, &clock);
        const QString text = QStringLiteral("10.0.002.7");
        QVERIFY(Send_Ping(client, text, Ping_Limits(), &clock).Ok);
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
        QVERIFY(!outcome.Ok);
        QCOMPARE(outcome.ping_res, 0);
        QCOMPARE(outcome.attempts, 0);
        QVERIFY(client.data.isEmpty());
        QCOMPARE(Ping_Failure_Text(outcome), QStringLiteral("Error!!! Check the Ip Address"));
    }

    // The client gives the system's words; the session makes message 1039 of them.
    void a_system_without_ping_says_why()
    {
        Fake_Echo_Client client({Answer});
        client.open_refusal = QStringLiteral("(no ICMP socket for you)");
        const Ping_Outcome outcome = Send_Ping(client, QStringLiteral("127.0.0.1"), Quick_Limits());
        QVERIFY(!outcome.Ok);
        QCOMPARE(outcome.attempts, 0);
        QCOMPARE(Ping_Failure_Text(outcome), Messages().Get(Msg_Ping_Not_Allowed).arg(client.open_refusal));
        QVERIFY(Ping_Failure_Text(outcome).endsWith(QStringLiteral("(CAP_NET_RAW). (no ICMP socket for you)")));
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

    // A session runs again on the same clock, its times counted from its
    // new start, once the last run has ended.
    void session_reports_once_from_the_event_loop()
    {
        Fake_Ping_Clock clock;
        Fake_Echo_Client client({Lost, Answer}, &clock);
        Ping_Session session(client, clock);
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
        QVERIFY(outcome.Ok);
        QCOMPARE(client.addresses, (QList<quint32>{0x7F000001u, 0x7F000001u, 0x7F000001u}));
        QCOMPARE(client.sent_at, (QList<qint64>{0, 400, 410}));

        client.addresses.clear();
        client.sent_at.clear();
        session.Start(QStringLiteral("127.0.0.3"));
        QVERIFY(spy.wait());
        QCOMPARE(spy.count(), 3);
        QVERIFY(spy.at(2).at(0).value<Ping_Outcome>().Ok);
        QCOMPARE(client.sent_at, (QList<qint64>{410, 420}));
        QCOMPARE(client.addresses, (QList<quint32>{0x7F000003u, 0x7F000003u}));
    }

    // A user who cancels while the converter is asked: Stop ends the loop
    // at once, at any point (waiting for a reply, in the pause between two
    // requests, or with an outcome already queued), and nothing follows:
    // no request, no Finished, however long the loop would have run.
    void stop_ends_the_loop_silently_data()
    {
        QTest::addColumn<int>("stop_after_turns");
        QTest::addColumn<QList<int>>("script");
        QTest::newRow("before any reply") << 0 << QList<int>{Lost};
        QTest::newRow("waiting out a silent converter") << 3 << QList<int>{Lost};
        QTest::newRow("between two answers") << 1 << QList<int>{Answer};
        QTest::newRow("outcome already queued") << -1 << QList<int>{Answer};
        QTest::newRow("unreachable on its way") << 0 << QList<int>{Unreachable};
        QTest::newRow("unreachable already queued") << -1 << QList<int>{Unreachable};
    }

    void stop_ends_the_loop_silently()
    {
        QFETCH(int, stop_after_turns);
        QFETCH(QList<int>, script);
        Fake_Ping_Clock clock;
        Fake_Echo_Client client(script, &clock);
        Ping_Session session(client, clock);
        QSignalSpy spy(&session, &Ping_Session::Finished);
        session.Start(QStringLiteral("127.0.0.1"));
        if (stop_after_turns < 0) {
            // Run until the loop has ended: the Finished is then on its way.
            while (session.Running())
                QCoreApplication::processEvents();
        } else {
            for (int i = 0; i < stop_after_turns; ++i)
                QCoreApplication::processEvents();
        }
        const qsizetype sent = client.addresses.size();
        session.Stop();
        QVERIFY(!session.Running());
        QTest::qWait(20);
        for (int i = 0; i < 100; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
        QCOMPARE(client.addresses.size(), sent);
    }
};

QTEST_GUILESS_MAIN(Test_Send_Ping)
#include "test_send_ping.moc"
