#include "core/messages.h"
#include "platform/icmp_echo_client.h"
#include "platform/icmp_packet.h"
#include "update/send_ping.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTextStream>
#include <QtEndian>
#include <cstring>
#include <unistd.h>

namespace {

// The helper mode: run inside a network namespace that the test made, it
// pings 127.0.0.1 with the real client and prints one line "answered ping_res
// attempts socket-kind elapsed-ms problem". With no more arguments it uses
// the real time-out and limits; given "RECEIVE_MS ATTEMPT_MS TOTAL_MS" it
// uses those, so that a converter that never answers is given up on soon.
constexpr const char *Helper_Argument = "--ping-helper";

int Ping_Helper(const QStringList &bounds)
{
    Ping_Limits limits;
    int receive_ms = Icmp_Echo_Client::Receive_Timeout_Ms;
    if (bounds.size() == 3) {
        receive_ms = bounds[0].toInt();
        limits.attempt_ms = bounds[1].toInt();
        limits.total_ms = bounds[2].toInt();
    }
    Icmp_Echo_Client client(nullptr, receive_ms);
    QElapsedTimer clock;
    clock.start();
    const Ping_Outcome outcome = Send_Ping(client, QStringLiteral("127.0.0.1"), limits);
    QTextStream(stdout) << int(outcome.Ok) << ' ' << outcome.ping_res << ' ' << outcome.attempts << ' '
                        << int(client.Kind()) << ' ' << clock.elapsed() << ' ' << outcome.problem << Qt::endl;
    return 0;
}

// A system tool, looked for on PATH and then in the sbin folders, which a
// user's PATH often leaves out although anyone may run what is there.
QString Find_Tool(const QString &name)
{
    const QString on_path = QStandardPaths::findExecutable(name);
    if (!on_path.isEmpty())
        return on_path;
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
}

QByteArray Read_Sysctl(const char *name)
{
    QFile file(QStringLiteral("/proc/sys/") + QLatin1StringView(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// Prepends an IPv4 header of `header_bytes` (a multiple of 4, from 20).
QByteArray With_Ip_Header(const QByteArray &icmp, int header_bytes = 20)
{
    QByteArray packet(header_bytes, '\0');
    packet[0] = char(0x40 | (header_bytes / 4));
    packet[9] = 1; // ICMP
    return packet + icmp;
}

// An echo reply made from a request: type 0, checksum recomputed.
QByteArray Reply_Of(QByteArray request)
{
    request[0] = char(Icmp_Echo_Reply);
    request[2] = 0;
    request[3] = 0;
    qToBigEndian<quint16>(Icmp_Checksum(request), request.data() + 2);
    return request;
}

// The silent namespace's bounds: the client's receive time-out, the
// attempt's time and the loop's time, in ms.
constexpr int Silent_Receive_Ms = 50;
constexpr int Silent_Attempt_Ms = 50;
constexpr int Silent_Total_Ms = 1000;

struct Helper_Line
{
    Ping_Outcome outcome;
    int kind = 0;
    qint64 elapsed_ms = 0;
};

Helper_Line Parse_Helper_Line(const QByteArray &line)
{
    const QList<QByteArray> parts = line.trimmed().split(' ');
    Helper_Line parsed;
    if (parts.size() < 5)
        return parsed;
    parsed.outcome.Ok = parts[0] == "1";
    parsed.outcome.ping_res = parts[1].toInt();
    parsed.outcome.attempts = parts[2].toInt();
    parsed.kind = parts[3].toInt();
    parsed.elapsed_ms = parts[4].toLongLong();
    return parsed;
}

} // namespace

class Test_Icmp : public QObject
{
    Q_OBJECT

private slots:
    void checksum()
    {
        // The example of RFC 1071, section 3.
        const QByteArray data = QByteArray::fromHex("0001f203f4f5f6f7");
        QCOMPARE(Icmp_Checksum(data), quint16(~0xddf2 & 0xFFFF));
        QCOMPARE(Icmp_Checksum(QByteArray::fromHex("01")), quint16(~0x0100 & 0xFFFF));
    }

    void echo_request()
    {
        const QByteArray data = "192.168.2.205";
        const QByteArray request = Build_Echo_Request(0x1234, 7, data, 1024);
        QCOMPARE(request.size(), 1024);
        QCOMPARE(uchar(request[0]), Icmp_Echo_Request);
        QCOMPARE(uchar(request[1]), uchar(0));
        QCOMPARE(request.mid(4, 4), QByteArray::fromHex("12340007"));
        QCOMPARE(request.mid(8, data.size()), data);
        QCOMPARE(request.mid(8 + data.size()), QByteArray(1024 - 8 - data.size(), '\0'));
        QCOMPARE(Icmp_Checksum(request), quint16(0));
        // Data longer than the packet is cut, never written past it.
        QCOMPARE(Build_Echo_Request(1, 1, QByteArray(2000, 'x'), 1024).size(), 1024);
    }

    void echo_reply_data()
    {
        QTest::addColumn<QByteArray>("packet");
        QTest::addColumn<bool>("with_ip_header");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("data_bytes");
        const QByteArray request = Build_Echo_Request(0xBEEF, 3, "10.0.0.1", 1024);
        const QByteArray reply = Reply_Of(request);
        QByteArray corrupted = reply;
        corrupted[100] = char(corrupted[100] ^ 0x55);
        QByteArray unreachable = reply;
        unreachable[0] = 3;
        QTest::newRow("datagram reply") << reply << false << true << 1016;
        QTest::newRow("raw reply") << With_Ip_Header(reply) << true << true << 1016;
        QTest::newRow("raw reply, IP options") << With_Ip_Header(reply, 24) << true << true << 1016;
        QTest::newRow("header only") << Reply_Of(Build_Echo_Request(1, 1, {}, 8)) << false << true << 0;
        QTest::newRow("own request") << With_Ip_Header(request) << true << false << 0;
        QTest::newRow("unreachable") << unreachable << false << false << 0;
        QTest::newRow("corrupted") << corrupted << false << false << 0;
        QTest::newRow("truncated") << reply.left(6) << false << false << 0;
        QTest::newRow("IP header cut") << With_Ip_Header(reply).left(12) << true << false << 0;
        QTest::newRow("not IPv4") << QByteArray(41, char(0x65)) << true << false << 0;
        QTest::newRow("header longer than packet") << QByteArray("\x4f") + QByteArray(30, '\0') << true << false << 0;
    }

    void echo_reply()
    {
        QFETCH(QByteArray, packet);
        QFETCH(bool, with_ip_header);
        QFETCH(bool, accepted);
        QFETCH(int, data_bytes);
        Echo_Reply reply;
        QCOMPARE(Parse_Echo_Reply(packet, with_ip_header, &reply), accepted);
        if (accepted)
            QCOMPARE(reply.data_bytes, data_bytes);
    }

    void reply_identifies_its_request()
    {
        Echo_Reply reply;
        QVERIFY(Parse_Echo_Reply(Reply_Of(Build_Echo_Request(0xBEEF, 0x0102, "x", 64)), false, &reply));
        QCOMPARE(reply.identifier, quint16(0xBEEF));
        QCOMPARE(reply.sequence, quint16(0x0102));
    }

    // Loopback of this machine: it answers unless the host ignores echo requests.
    void loopback_answers()
    {
        if (Read_Sysctl("net/ipv4/icmp_echo_ignore_all") == "1")
            QSKIP("this host ignores echo requests");
        Icmp_Echo_Client client;
        if (const Echo_Status opened = client.Open(); !opened.Ok())
            QSKIP(qPrintable(opened.system_error));
        QSignalSpy spy(&client, &Echo_Client::Replied);
        const Echo_Status sent = client.Send(0x7F000001u, "127.0.0.1");
        QVERIFY2(sent.Ok(), qPrintable(sent.system_error));
        QVERIFY(spy.wait(2000));
        QCOMPARE(spy.at(0).at(0).toInt(), Icmp_Echo_Client::Packet_Size - Icmp_Header_Size);

        const Ping_Outcome outcome = Send_Ping(client, QStringLiteral("127.0.0.1"));
        QVERIFY(outcome.Ok);
        QCOMPARE(outcome.ping_res, 1);
        QCOMPARE(outcome.attempts, 2);
    }

    // In a network namespace of its own, loopback answers through a raw
    // socket, then through a datagram socket once the namespace allows those
    // to root's group. With echo requests ignored it stays silent: each
    // request ends in the client's time-out, reported as a reply without
    // data, and the loop gives up with "no reply" once its time is spent
    // (here a 50 ms time-out, 50 ms attempts and 1000 ms in all, so the case
    // takes a second, not the window's five).
    void loopback_in_a_namespace()
    {
        const QString unshare = Find_Tool(QStringLiteral("unshare"));
        const QString ip = Find_Tool(QStringLiteral("ip"));
        const QString sysctl = Find_Tool(QStringLiteral("sysctl"));
        QStringList missing;
        for (const auto &[path, tool] : {std::pair{unshare, "unshare (Debian package util-linux)"},
                                         std::pair{ip, "ip (iproute2)"}, std::pair{sysctl, "sysctl (procps)"}})
            if (path.isEmpty())
                missing << QLatin1StringView(tool);
        if (!missing.isEmpty())
            QSKIP(qPrintable(QStringLiteral("not installed: ") + missing.join(QStringLiteral(", "))));
        QProcess probe;
        probe.start(unshare, {QStringLiteral("-n"), QStringLiteral("true")});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
            // Only root may make a network namespace this way.
            const QString cause = geteuid() != 0 ? QStringLiteral("not root") : QStringLiteral("cannot make a network namespace");
            QSKIP(qPrintable(QStringLiteral("%1: %2").arg(
                cause, QString::fromLocal8Bit(probe.readAllStandardError()).trimmed())));
        }

        // Nothing here leaves the namespace: it has only its own loopback.
        const QString script =
            QStringLiteral("set -e; \"$1\" link set lo up; \"$0\" %1; "
                           "\"$2\" -qw net.ipv4.ping_group_range='0 0'; \"$0\" %1; "
                           "\"$2\" -qw net.ipv4.ping_group_range='1 0'; "
                           "\"$2\" -qw net.ipv4.icmp_echo_ignore_all=1; \"$0\" %1 %2")
                .arg(QLatin1StringView(Helper_Argument))
                .arg(QStringLiteral("%1 %2 %3").arg(Silent_Receive_Ms).arg(Silent_Attempt_Ms).arg(Silent_Total_Ms));
        QProcess helper;
        helper.start(unshare, {QStringLiteral("-n"), QStringLiteral("sh"), QStringLiteral("-c"), script,
                               QCoreApplication::applicationFilePath(), ip, sysctl});
        QVERIFY(helper.waitForFinished(60000));
        const QByteArray errors = helper.readAllStandardError();
        QVERIFY2(helper.exitCode() == 0, errors.constData());
        const QList<QByteArray> lines = helper.readAllStandardOutput().split('\n');
        QVERIFY2(lines.size() >= 3, errors.constData());
        if (lines[0].contains("Error!"))
            QSKIP(lines[0].constData());

        using Kind = Icmp_Echo_Client::Socket_Kind;
        const Helper_Line raw = Parse_Helper_Line(lines[0]);
        QVERIFY2(raw.outcome.Ok, lines[0].constData());
        QCOMPARE(raw.outcome.ping_res, 1);
        QCOMPARE(raw.outcome.attempts, 2);
        QCOMPARE(raw.kind, int(Kind::Raw));

        const Helper_Line datagram = Parse_Helper_Line(lines[1]);
        QVERIFY2(datagram.outcome.Ok, lines[1].constData());
        QCOMPARE(datagram.outcome.attempts, 2);
        QCOMPARE(datagram.kind, int(Kind::Datagram));

        const Helper_Line silent = Parse_Helper_Line(lines[2]);
        QVERIFY2(!silent.outcome.Ok, lines[2].constData());
        QCOMPARE(silent.outcome.ping_res, 2);
        QCOMPARE(Ping_Failure_Text(silent.outcome), Messages().Get(1036));
        // Each attempt waits out the time-out before the next, and none
        // starts after the loop's time: no flood, and at least one retry.
        QVERIFY2(silent.outcome.attempts >= 2 && silent.outcome.attempts <= Silent_Total_Ms / Silent_Attempt_Ms + 1,
                 lines[2].constData());
        // It did not give up after the first time-outs (no bound above: a
        // loaded machine may be slow; half the time leaves room for timers
        // that fire early).
        QVERIFY2(silent.elapsed_ms >= Silent_Total_Ms / 2, lines[2].constData());
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], Helper_Argument) == 0)
        return Ping_Helper(QCoreApplication::arguments().mid(2));
    Test_Icmp test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_icmp.moc"
