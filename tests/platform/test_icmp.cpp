#include "core/messages.h"
#include "platform/icmp_echo_client.h"
#include "platform/icmp_packet.h"
#include "update/send_ping.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QtEndian>
#include <cstring>
#include <tuple>
#include <unistd.h>

namespace {

// The helper mode: run inside a network namespace that the test made, it
// pings ADDRESS with the real client and prints one line "answered ping_res
// attempts socket-kind elapsed-ms unreachable router icmp-code reports
// problem", where reports counts every "destination unreachable" the client
// passed on (the loop may count one as a loss). With no more arguments it
// uses the real time-out and limits; given "RECEIVE_MS ATTEMPT_MS TOTAL_MS"
// it uses those, so that a converter that never answers is given up on soon.
constexpr const char *Helper_Argument = "--ping-helper";

int Ping_Helper(const QStringList &arguments)
{
    Ping_Limits limits;
    int receive_ms = Icmp_Echo_Client::Receive_Timeout_Ms;
    const QString address = arguments.value(0);
    if (arguments.size() == 4) {
        receive_ms = arguments[1].toInt();
        limits.attempt_ms = arguments[2].toInt();
        limits.total_ms = arguments[3].toInt();
    }
    Icmp_Echo_Client client(nullptr, receive_ms);
    int reports = 0;
    QObject::connect(&client, &Echo_Client::Unreachable, &client, [&reports] { ++reports; });
    QElapsedTimer clock;
    clock.start();
    const Ping_Outcome outcome = Send_Ping(client, address, limits);
    QTextStream(stdout) << int(outcome.Ok) << ' ' << outcome.ping_res << ' ' << outcome.attempts << ' '
                        << int(client.Kind()) << ' ' << clock.elapsed() << ' ' << int(outcome.unreachable) << ' '
                        << outcome.router << ' ' << outcome.icmp_code << ' ' << reports << ' ' << outcome.Problem
                        << Qt::endl;
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
    int reports = 0;
};

// One line of the helper, for a ping of `address`.
Helper_Line Parse_Helper_Line(const QByteArray &line, quint32 address = 0x7F000001u)
{
    const QList<QByteArray> parts = line.trimmed().split(' ');
    Helper_Line parsed;
    if (parts.size() < 9)
        return parsed;
    parsed.outcome.Ok = parts[0] == "1";
    parsed.outcome.ping_res = parts[1].toInt();
    parsed.outcome.attempts = parts[2].toInt();
    parsed.kind = parts[3].toInt();
    parsed.elapsed_ms = parts[4].toLongLong();
    parsed.outcome.unreachable = parts[5] == "1";
    parsed.outcome.router = parts[6].toUInt();
    parsed.outcome.icmp_code = parts[7].toInt();
    parsed.reports = parts[8].toInt();
    parsed.outcome.address = address;
    return parsed;
}

// A destination unreachable from a router: the ICMP header, then the quote
// of the undelivered packet (an IPv4 header to `destination` carrying
// `protocol`, then the first `quoted_bytes` of `request`), checksum filled in.
QByteArray Unreachable_For(const QByteArray &request, quint32 destination, quint8 code, int quoted_bytes = 8,
                           uchar protocol = 1, int quoted_header_bytes = 20)
{
    QByteArray quoted_header(quoted_header_bytes, '\0');
    quoted_header[0] = char(0x40 | (quoted_header_bytes / 4));
    quoted_header[9] = char(protocol);
    qToBigEndian<quint32>(destination, quoted_header.data() + 16);
    QByteArray message = QByteArray::fromHex("0300000000000000") + quoted_header + request.left(quoted_bytes);
    message[1] = char(code);
    qToBigEndian<quint16>(Icmp_Checksum(message), message.data() + 2);
    return message;
}

// Why the namespace cases cannot run here (empty when they can), and the
// tools they run: unshare, ip, sysctl.
QString Namespace_Unavailable(QString *unshare, QString *ip, QString *sysctl)
{
    *unshare = Find_Tool(QStringLiteral("unshare"));
    *ip = Find_Tool(QStringLiteral("ip"));
    *sysctl = Find_Tool(QStringLiteral("sysctl"));
    QStringList missing;
    for (const auto &[path, tool] : {std::pair{*unshare, "unshare (Debian package util-linux)"},
                                     std::pair{*ip, "ip (iproute2)"}, std::pair{*sysctl, "sysctl (procps)"}})
        if (path.isEmpty())
            missing << QLatin1StringView(tool);
    if (!missing.isEmpty())
        return QStringLiteral("not installed: ") + missing.join(QStringLiteral(", "));
    QProcess probe;
    probe.start(*unshare, {QStringLiteral("-n"), QStringLiteral("true")});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
        // Only root may make a network namespace this way.
        const QString cause =
            geteuid() != 0 ? QStringLiteral("not root") : QStringLiteral("cannot make a network namespace");
        return QStringLiteral("%1: %2").arg(cause, QString::fromLocal8Bit(probe.readAllStandardError()).trimmed());
    }
    return QString();
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

    // A router's "destination unreachable" names the request it could not
    // deliver by quoting it: its destination, identifier and sequence.
    void unreachable_data()
    {
        QTest::addColumn<QByteArray>("packet");
        QTest::addColumn<bool>("with_ip_header");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("code");
        const QByteArray request = Build_Echo_Request(0xBEEF, 0x0102, "10.201.0.5", 1024);
        const quint32 to = 0x0AC90005u;
        QByteArray corrupted = Unreachable_For(request, to, 1);
        corrupted[20] = char(corrupted[20] ^ 0x01);
        QByteArray time_exceeded = Unreachable_For(request, to, 0);
        time_exceeded[0] = 11;
        qToBigEndian<quint16>(0, time_exceeded.data() + 2);
        qToBigEndian<quint16>(Icmp_Checksum(time_exceeded), time_exceeded.data() + 2);
        QByteArray quoted_ipv6 = Unreachable_For(request, to, 1);
        quoted_ipv6[8] = char(0x65);
        qToBigEndian<quint16>(0, quoted_ipv6.data() + 2);
        qToBigEndian<quint16>(Icmp_Checksum(quoted_ipv6), quoted_ipv6.data() + 2);
        QTest::newRow("raw, host unreachable") << With_Ip_Header(Unreachable_For(request, to, 1)) << true << true << 1;
        QTest::newRow("without IP header, prohibited") << Unreachable_For(request, to, 13) << false << true << 13;
        QTest::newRow("whole request quoted")
            << With_Ip_Header(Unreachable_For(request, to, 0, 1024)) << true << true << 0;
        QTest::newRow("quoted IP options") << Unreachable_For(request, to, 3, 8, 1, 24) << false << true << 3;
        QTest::newRow("quote cut short") << Unreachable_For(request, to, 1, 7) << false << false << 0;
        QTest::newRow("quoted UDP") << Unreachable_For(request, to, 3, 8, 17) << false << false << 0;
        QTest::newRow("quoted reply") << Unreachable_For(Reply_Of(request), to, 1) << false << false << 0;
        QTest::newRow("quoted IPv6") << quoted_ipv6 << false << false << 0;
        QTest::newRow("corrupted") << corrupted << false << false << 0;
        QTest::newRow("time exceeded") << time_exceeded << false << false << 0;
        QTest::newRow("echo reply") << Reply_Of(request) << false << false << 0;
        QTest::newRow("IP header cut") << With_Ip_Header(Unreachable_For(request, to, 1)).left(12) << true << false
                                       << 0;
    }

    void unreachable()
    {
        QFETCH(QByteArray, packet);
        QFETCH(bool, with_ip_header);
        QFETCH(bool, accepted);
        QFETCH(int, code);
        Unreachable_Report report;
        QCOMPARE(Parse_Unreachable(packet, with_ip_header, &report), accepted);
        if (!accepted)
            return;
        QCOMPARE(int(report.code), code);
        QCOMPARE(report.destination, 0x0AC90005u);
        QCOMPARE(report.identifier, quint16(0xBEEF));
        QCOMPARE(report.sequence, quint16(0x0102));
        // Nor is it ever taken for a reply.
        Echo_Reply reply;
        QVERIFY(!Parse_Echo_Reply(packet, with_ip_header, &reply));
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
        QString unshare, ip, sysctl;
        if (const QString unavailable = Namespace_Unavailable(&unshare, &ip, &sysctl); !unavailable.isEmpty())
            QSKIP(qPrintable(unavailable));

        // Nothing here leaves the namespace: it has only its own loopback.
        const QString script =
            QStringLiteral("set -e; \"$1\" link set lo up; \"$0\" %1; "
                           "\"$2\" -qw net.ipv4.ping_group_range='0 0'; \"$0\" %1; "
                           "\"$2\" -qw net.ipv4.ping_group_range='1 0'; "
                           "\"$2\" -qw net.ipv4.icmp_echo_ignore_all=1; \"$0\" %1 %2")
                .arg(QLatin1StringView(Helper_Argument) + QStringLiteral(" 127.0.0.1"))
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

    // A real router: two network namespaces joined by a veth pair. The outer
    // one forwards, and has no way to 10.201.0.0/24 (a route of type
    // unreachable) and forbids 10.202.0.0/24 (prohibit); the inner one routes
    // everything through it. Pinged through the router, those addresses end
    // the loop at the first request with the router's answer (its time is
    // the window's 5 s, so an ignored answer would end in "Device Not
    // Found!" instead), through a raw and through a datagram socket. An
    // address of the inner one's own network where no device answers the
    // neighbour lookup (made to give up after one probe of 20 ms, well
    // within the client's 200 ms time-out, so that the loop sees it) draws
    // "host unreachable" from the inner namespace itself: that stays "Device
    // Not Found!".
    void unreachable_through_a_router()
    {
        QString unshare, ip, sysctl;
        if (const QString unavailable = Namespace_Unavailable(&unshare, &ip, &sysctl); !unavailable.isEmpty())
            QSKIP(qPrintable(unavailable));
        QTemporaryDir dir;
        QVERIFY(dir.isValid());

        // $0 this test, $1 ip, $2 sysctl, $3 unshare, $4 the file that tells
        // the inner namespace to go on (or stop), $5 the inner script.
        const QString outer = QString::fromUtf8(R"sh(set -e
"$1" link set lo up
"$2" -qw net.ipv4.ip_forward=1 net.ipv4.icmp_ratelimit=0
"$1" link add sw52-router type veth peer name sw52-inner
"$3" -n sh -c "$5" "$0" "$1" "$2" "$4" &
inner=$!
# The veth end may move only once the inner shell has its own namespace.
while [ "$(readlink /proc/$inner/ns/net)" = "$(readlink /proc/$$/ns/net)" ]; do sleep 0.02; done
if "$1" link set sw52-inner netns "$inner" && "$1" addr add 10.200.0.1/24 dev sw52-router &&
   "$1" link set sw52-router up && "$1" route add unreachable 10.201.0.0/24 &&
   "$1" route add prohibit 10.202.0.0/24; then echo go > "$4"; else echo stop > "$4"; fi
wait "$inner"
)sh");
        const QString inner = QString::fromUtf8(R"sh(set -e
while [ ! -s "$3" ]; do sleep 0.02; done
[ "$(cat "$3")" = go ]
"$1" link set lo up
"$1" addr add 10.200.0.2/24 dev sw52-inner
"$1" link set sw52-inner up
"$1" route add default via 10.200.0.1
"$2" -qw net.ipv4.neigh.sw52-inner.mcast_solicit=1 net.ipv4.neigh.sw52-inner.retrans_time_ms=20
"$0" %1 10.201.0.5
"$0" %1 10.202.0.5
"$0" %1 10.200.0.9 %2
"$2" -qw net.ipv4.ping_group_range='0 0'
"$0" %1 10.201.0.5
"$0" %1 10.202.0.5
"$0" %1 10.200.0.9 %2
)sh")
                                  .arg(QLatin1StringView(Helper_Argument), QStringLiteral("200 200 1000"));
        QProcess helper;
        helper.start(unshare, {QStringLiteral("-n"), QStringLiteral("sh"), QStringLiteral("-c"), outer,
                               QCoreApplication::applicationFilePath(), ip, sysctl, unshare,
                               dir.filePath(QStringLiteral("go")), inner});
        QVERIFY(helper.waitForFinished(60000));
        const QByteArray errors = helper.readAllStandardError();
        QVERIFY2(helper.exitCode() == 0, errors.constData());
        const QList<QByteArray> lines = helper.readAllStandardOutput().split('\n');
        QVERIFY2(lines.size() >= 6, errors.constData());
        if (lines[0].contains("Error!"))
            QSKIP(lines[0].constData());

        using Kind = Icmp_Echo_Client::Socket_Kind;
        const quint32 router = 0x0AC80001u; // 10.200.0.1
        for (const auto &[first, kind] : {std::pair{0, Kind::Raw}, std::pair{3, Kind::Datagram}}) {
            for (const auto &[line, address, code, words] :
                 {std::tuple{first, 0x0AC90005u, 1, "host unreachable"},
                  std::tuple{first + 1, 0x0ACA0005u, 13, "refused by a filter"}}) {
                const Helper_Line got = Parse_Helper_Line(lines[line], address);
                QVERIFY2(got.outcome.unreachable, lines[line].constData());
                QVERIFY(!got.outcome.Ok);
                QCOMPARE(got.kind, int(kind));
                QCOMPARE(got.outcome.attempts, 1);
                QCOMPARE(got.outcome.router, router);
                QCOMPARE(got.outcome.icmp_code, code);
                QCOMPARE(Ping_Failure_Text(got.outcome),
                         Messages()
                             .Get(Msg_Ping_Unreachable)
                             .arg(QHostAddress(address).toString(), QStringLiteral("10.200.0.1"),
                                  QLatin1StringView(words), QString::number(code)));
                QVERIFY(!Ping_Failure_Is_Warning(got.outcome));
            }
            const Helper_Line nobody = Parse_Helper_Line(lines[first + 2], 0x0AC80009u);
            QVERIFY2(!nobody.outcome.unreachable && !nobody.outcome.Ok, lines[first + 2].constData());
            QCOMPARE(nobody.kind, int(kind));
            QCOMPARE(nobody.outcome.ping_res, 2);
            // The inner namespace did answer "host unreachable", and the loop
            // took it for what it is: no device there.
            QVERIFY2(nobody.reports >= 1, lines[first + 2].constData());
            QCOMPARE(Ping_Failure_Text(nobody.outcome), Messages().Get(1036));
        }
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
