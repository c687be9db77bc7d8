#pragma once

// The independent judges of what is served over BACnet/IP, for the suites:
// node with the pinned BACnet stack (tests/bacnet/judges/package.json) runs the
// judge client and the reference device, tshark captures and decodes the
// loopback traffic between them. CMake names the programs and the folders in
// the suite's environment (SW_NODE_PROGRAM, SW_TSHARK_PROGRAM,
// SW_JUDGE_SCRIPTS, SW_JUDGE_MODULES).

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QUdpSocket>
#include <memory>

namespace judge {

using namespace Qt::StringLiterals;

// A guard against a hang, never a measure.
constexpr int Guard_Ms = 60000;

inline QString Node()
{
    return qEnvironmentVariable("SW_NODE_PROGRAM");
}

inline QString Tshark()
{
    return qEnvironmentVariable("SW_TSHARK_PROGRAM");
}

inline QString Modules()
{
    return qEnvironmentVariable("SW_JUDGE_MODULES");
}

inline QString Script(const QString &name)
{
    return qEnvironmentVariable("SW_JUDGE_SCRIPTS") + u'/' + name;
}

// Why the judges cannot run on this machine, or nothing. A judge that cannot
// run fails its test: it never passes by doing nothing.
inline QString Missing()
{
    if (!qEnvironmentVariableIsSet("SW_JUDGE_SCRIPTS") || Modules().isEmpty())
        return u"the suite runs under ctest, which names the judges' programs and folders"_s;
    if (Node().isEmpty() || !QFileInfo(Node()).isExecutable())
        return u"node was not found when the build was configured (bash scripts/install-deps.sh)"_s;
    if (Tshark().isEmpty() || !QFileInfo(Tshark()).isExecutable())
        return u"tshark was not found when the build was configured (bash scripts/install-deps.sh)"_s;
    if (!QFileInfo::exists(Modules() + u"/@bacnet-js/client/package.json"_s))
        return u"the judges' BACnet stack is not in %1 (run npm ci in tests/bacnet/judges)"_s.arg(Modules());
    return {};
}

inline QProcessEnvironment Node_Environment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"NODE_PATH"_s, Modules());
    return env;
}

// A UDP port on loopback that nothing used a moment ago.
inline quint16 Free_Udp_Port()
{
    QUdpSocket socket;
    if (!socket.bind(QHostAddress::LocalHost, 0))
        return 0;
    return socket.localPort();
}

// Reads a process's standard output line by line until `accept` takes one
// (the line, or nothing when the process ended or the guard ran out).
template <class Accept> QString Wait_For_Line(QProcess &process, QByteArray &kept, Accept accept)
{
    QElapsedTimer guard;
    guard.start();
    for (;;) {
        for (qsizetype end = kept.indexOf('\n'); end >= 0; end = kept.indexOf('\n')) {
            const QString line = QString::fromUtf8(kept.left(end)).trimmed();
            kept.remove(0, end + 1);
            if (accept(line))
                return line;
        }
        if (process.state() == QProcess::NotRunning || guard.elapsed() > Guard_Ms)
            return {};
        process.waitForReadyRead(200);
        kept += process.readAllStandardOutput();
    }
}

// A device served by a child process that names the address and port it
// serves on its first line, then prints one line per request; SIGTERM ends it.
class Served_Device
{
public:
    // Starts `program` and waits for its first line; false with `problem` set
    // when it ended or said nothing. With `port` 0 the first line ends with
    // ":PORT" and gives the port; else it must name `port`.
    bool Start(const QString &program, const QStringList &args, const QProcessEnvironment &env, QString &problem,
               quint16 port = 0)
    {
        process_.setProcessEnvironment(env);
        process_.start(program, args);
        if (!process_.waitForStarted(Guard_Ms)) {
            problem = u"%1 did not start: %2"_s.arg(program, process_.errorString());
            return false;
        }
        first_line_ = Wait_For_Line(process_, kept_, [](const QString &) { return true; });
        if (port == 0) {
            const QRegularExpressionMatch m = QRegularExpression(u":(\\d+)$"_s).match(first_line_);
            port = m.hasMatch() ? m.captured(1).toUShort() : 0;
        } else if (!first_line_.contains(QString::number(port))) {
            port = 0;
        }
        if (port == 0) {
            problem = u"%1 did not name the address and port it serves first: \"%2\" %3"_s.arg(
                program, first_line_, QString::fromUtf8(process_.readAllStandardError()));
            return false;
        }
        port_ = port;
        return true;
    }

    quint16 Port() const { return port_; }
    QString First_Line() const { return first_line_; }

    // Ends it with SIGTERM; its exit code (-1 when it crashed or hung) and
    // what it printed after the first line.
    int Stop(QString &output)
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(Guard_Ms)) {
                process_.kill();
                process_.waitForFinished();
                return -1;
            }
        }
        output = QString::fromUtf8(kept_ + process_.readAllStandardOutput()) +
                 QString::fromUtf8(process_.readAllStandardError());
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    ~Served_Device()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

private:
    QProcess process_;
    QByteArray kept_;
    QString first_line_;
    quint16 port_ = 0;
};

// What tshark found in a capture.
struct Capture_Findings
{
    int bacnet_frames = 0; // frames decoded as BACnet/IP
    QStringList faults;    // malformed packets and error-level expert information
    QString problem;       // why the capture could not be read
};

// tshark capturing the UDP traffic of one port on loopback into a file.
// Marker datagrams to a socket of its own, which the filter also takes, tell
// when it captures: Start() returns once it has seen one, Stop() once it has
// seen a later one, so everything sent in between is in the file. (Its
// "Capturing on" comes before the capture takes packets.)
class Capture
{
public:
    bool Start(quint16 port, const QString &file, QString &problem)
    {
        port_ = port;
        file_ = file;
        if (!marker_.bind(QHostAddress::LocalHost, 0)) {
            problem = u"no marker socket: %1"_s.arg(marker_.errorString());
            return false;
        }
        const QString filter = u"udp port %1 or udp port %2"_s.arg(port).arg(marker_.localPort());
        tshark_.start(Tshark(), {u"-i"_s, u"lo"_s, u"-f"_s, filter, u"-w"_s, file, u"-P"_s, u"-l"_s});
        if (!tshark_.waitForStarted(Guard_Ms)) {
            problem = u"tshark did not start: %1"_s.arg(tshark_.errorString());
            return false;
        }
        if (!Marker_Seen()) {
            problem =
                u"tshark cannot capture on lo (capture needs root, or dumpcap with cap_net_raw): %1"_s.arg(Errors());
            return false;
        }
        return true;
    }

    bool Stop(QString &problem)
    {
        const bool seen = Marker_Seen();
        tshark_.terminate();
        if (!tshark_.waitForFinished(Guard_Ms)) {
            tshark_.kill();
            tshark_.waitForFinished();
        }
        if (!seen) {
            problem = u"tshark never saw the capture's end marker: %1"_s.arg(Errors());
            return false;
        }
        return true;
    }

    // Decodes the file (the port's traffic as BACnet/IP) and lists every
    // malformed packet and every expert information of error level.
    Capture_Findings Check() const
    {
        Capture_Findings findings;
        QProcess tshark;
        tshark.start(Tshark(), {u"-r"_s, file_, u"-d"_s, u"udp.port==%1,bvlc"_s.arg(port_), u"-V"_s});
        if (!tshark.waitForFinished(Guard_Ms) || tshark.exitStatus() != QProcess::NormalExit ||
            tshark.exitCode() != 0) {
            findings.problem =
                u"tshark cannot read %1: %2"_s.arg(file_, QString::fromUtf8(tshark.readAllStandardError()));
            return findings;
        }
        const QStringList lines = QString::fromUtf8(tshark.readAllStandardOutput()).split(u'\n');
        QString frame;
        for (const QString &line : lines) {
            if (line.startsWith(u"Frame "_s))
                frame = line;
            if (line.startsWith(u"BACnet Virtual Link Control"_s))
                ++findings.bacnet_frames;
            if (line.contains(u"Malformed Packet"_s) || line.contains(u"Expert Info (Error"_s))
                findings.faults << frame.section(u':', 0, 0) + u": "_s + line.trimmed();
        }
        return findings;
    }

    ~Capture()
    {
        if (tshark_.state() != QProcess::NotRunning) {
            tshark_.kill();
            tshark_.waitForFinished();
        }
    }

private:
    // Sends marker datagrams, one every 200 ms, until tshark prints one it
    // captured; false when it ended or the guard ran out.
    bool Marker_Seen()
    {
        // Each call's markers are one byte longer than the last call's, so
        // that a late copy of an earlier marker is not taken for this one.
        ++markers_;
        const QByteArray marker(markers_, 'm');
        // Its summary line ends "→ PORT Len=N" ("-> PORT" outside a UTF-8 locale).
        const QString to_marker = u" %1 Len=%2"_s.arg(marker_.localPort()).arg(marker.size());
        QUdpSocket sender;
        QElapsedTimer guard;
        guard.start();
        while (tshark_.state() != QProcess::NotRunning && guard.elapsed() < Guard_Ms) {
            sender.writeDatagram(marker, QHostAddress::LocalHost, marker_.localPort());
            tshark_.waitForReadyRead(200);
            kept_ += tshark_.readAllStandardOutput();
            for (qsizetype end = kept_.indexOf('\n'); end >= 0; end = kept_.indexOf('\n')) {
                const QString line = QString::fromUtf8(kept_.left(end));
                kept_.remove(0, end + 1);
                if (line.contains(to_marker))
                    return true;
            }
        }
        return false;
    }

    QString Errors() { return QString::fromUtf8(tshark_.readAllStandardError()); }

    QProcess tshark_;
    QUdpSocket marker_;
    int markers_ = 0;
    QByteArray kept_;
    QString file_;
    quint16 port_ = 0;
};

// One run of the judge client.
struct Judge_Run
{
    int code = -1;
    QJsonObject report;
    QString err;
};

inline Judge_Run Run_Judge(quint16 port, const QStringList &args = {})
{
    Judge_Run run;
    QProcess node;
    node.setProcessEnvironment(Node_Environment());
    node.start(Node(), QStringList{Script(u"judge.js"_s), u"--port"_s, QString::number(port)} + args);
    if (!node.waitForFinished(Guard_Ms)) {
        node.kill();
        node.waitForFinished();
        run.err = u"the judge hung"_s;
        return run;
    }
    run.code = node.exitStatus() == QProcess::NormalExit ? node.exitCode() : -1;
    run.err = QString::fromUtf8(node.readAllStandardError());
    run.report = QJsonDocument::fromJson(node.readAllStandardOutput()).object();
    return run;
}

} // namespace judge
