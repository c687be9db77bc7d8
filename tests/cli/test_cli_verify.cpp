// `verify`: the converter read over BACnet/IP against the configured device,
// with the virtual converter serving on loopback in this process, a device
// served by an independent BACnet stack (node, tests/bacnet/judges), a socket
// answering garbage, and a silent address in a network namespace of its own.

#include "bacnet/served_device.h"
#include "bacnet/verify_messages.h"
#include "bacnet/virtual_converter.h"
#include "cli_runner.h"
#include "compiler/fixtures.h"
#include "core/messages.h"
#include "snapshot/configuration_snapshot.h"
#include "test_support.h"
#include "workspace/start_workspace.h"
#include "workspace/workspace.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <unistd.h>

namespace {

using fixture::Object;

const QList<fixture::Row> Plant_Objects{
    Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("Room")),
    Object(S("Analog Input"), S("62"), S("4"), S(""), S("4"), S("Hall")),
    Object(S("Binary Input"), S("95"), S("8"), S("0"), S("1"), S("Door")),
};

// A message's text up to its first place for a value.
QString Opening(int n)
{
    const QString text = Messages().Get(n);
    return text.left(text.indexOf(u'%'));
}

} // namespace

class Test_Cli_Verify : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString Project(const QString &name) const { return dir_.path() + S("/PROJECTS/") + name; }

    void Make(const QString &name, const QList<fixture::Row> &objects, const fixture::Keys &keys = {})
    {
        QCOMPARE(Run_Cli(dir_.path(), {S("new"), name}).code, 0);
        fixture::Write_ParGen(Project(name) + S("/ParGen.xml"), fixture::With(fixture::Window_ParGen(), keys));
        fixture::Write_Objects(Project(name) + S("/BACnet_Slave_SetAccess.xml"), objects);
    }

    // The device configuration `name` describes, served on loopback.
    std::unique_ptr<Virtual_Converter> Serve(const QString &name)
    {
        Workspace ws;
        Start_Workspace(ws, dir_.path());
        ws.Open_Configuration(name);
        Result<Served_Device> device = Load_Served_Device(Read_Configuration(ws, Output::Images));
        if (!device)
            qWarning("%s", qPrintable(device.Problem()));
        auto converter = std::make_unique<Virtual_Converter>(device ? device.Value() : Served_Device{});
        const Result<> started = converter->Start(QHostAddress::LocalHost, 0);
        if (!started)
            qWarning("%s", qPrintable(started.Problem()));
        return converter;
    }

    Cli_Run Verify(const QString &name, quint16 port)
    {
        return Run_Cli(dir_.path(), {S("verify"), name, S("--ip"), S("127.0.0.1"), S("--port"), QString::number(port),
                                     S("--timeout"), S("300")});
    }

private slots:
    void initTestCase()
    {
        Make(S("Plant"), Plant_Objects);
        QList<fixture::Row> changed = Plant_Objects;
        changed[1] = Object(S("Analog Input"), S("64"), S("4"), S(""), S("4"), S("Hallway"));
        changed.insert(2, Object(S("Analog Input"), S("98"), S("12"), S(""), S("4"), S("Extra")));
        Make(S("Changed"), changed, {{S("BACnet_NAME_STA"), S("plant2")}});
        Make(S("Other"), Plant_Objects, {{S("BACnet_DEV_IDE"), S("7")}});
        Make(S("Serial"), Plant_Objects, {{S("BACnet_Type"), S("1")}});
        // More objects than one reply's object-list holds.
        QList<fixture::Row> many;
        for (int i = 0; i < 300; ++i)
            many << Object(S("Analog Input"), S("62"), QString::number(i * 4), S(""), S("4"), S("AI%1").arg(i));
        Make(S("Many"), many);
    }

    // The configuration verified, the one served, the exit code and the lines.
    void against_virtual_converter_data()
    {
        QTest::addColumn<QString>("served");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("same images") << S("Plant") << 0 << QStringList();
        QTest::newRow("changed configuration")
            << S("Changed") << 1
            << QStringList{S("device.name: \"devicename1\" -> \"plant2\""),
                           S("objects[ANALOG INPUT 1].name: \"Hall\" -> \"Hallway\""),
                           S("objects[ANALOG INPUT 1].units: 62 (degrees-Celsius) -> 64 (degrees-Fahrenheit)"),
                           S("objects[ANALOG INPUT 2]: added (object_type 0, name \"Extra\", units 98 (percent))")};
    }
    void against_virtual_converter()
    {
        QFETCH(QString, served);
        QFETCH(int, code);
        QFETCH(QStringList, lines);
        const auto converter = Serve(served);
        QVERIFY(converter->Running());
        const Cli_Run run = Verify(S("Plant"), converter->Port());
        QCOMPARE(run.out.split(u'\n', Qt::SkipEmptyParts), lines);
        QCOMPARE(run.code, code);
        QVERIFY2(run.err.startsWith(Opening(Msg_Verify_Against_Configuration)), qPrintable(run.err));
    }

    // A device served by the independent stack, described by `objects` (its
    // JSON objects: the same device as Plant, changed as each row says).
    void against_independent_stack_data()
    {
        QTest::addColumn<QJsonArray>("objects");
        QTest::addColumn<QStringList>("lines");
        const auto object = [](const char *type, int instance, const char *name, int units = -1) {
            QJsonObject o{{S("type"), S(type)}, {S("instance"), instance}, {S("name"), S(name)}};
            if (units >= 0)
                o.insert(S("units"), units);
            return o;
        };
        const QJsonArray plant{object("analog-input", 0, "Room", 62), object("analog-input", 1, "Hall", 62),
                               object("binary-input", 0, "Door")};
        QJsonArray more = plant;
        more.append(object("analog-value", 0, "Setpoint", 62));
        QTest::newRow("one more object")
            << more
            << QStringList{S("objects[ANALOG VALUE 0]: added (object_type 2, name \"Setpoint\", units 62 "
                             "(degrees-Celsius))")};
        QJsonArray renamed = plant;
        renamed[2] = object("binary-input", 0, "Gate");
        QTest::newRow("a name differs") << renamed
                                        << QStringList{S("objects[BINARY INPUT 0].name: \"Door\" -> \"Gate\"")};
    }
    void against_independent_stack()
    {
        QFETCH(QJsonArray, objects);
        QFETCH(QStringList, lines);
        const QString judges = qEnvironmentVariable("SW_VERIFY_JUDGES", S(SW_JUDGES_DIR));
        if (!QFileInfo::exists(judges + S("/node_modules/@bacnet-js/client/package.json")))
            QSKIP(qPrintable(S("the independent BACnet stack is not installed in %1/node_modules "
                               "(npm ci there, or bash scripts/install-deps.sh)")
                                 .arg(judges)));
        const QString config = dir_.filePath(S("judge.json"));
        test::Write(config, QJsonDocument(QJsonObject{{S("device"),
                                                       QJsonObject{{S("instance"), 1}, {S("name"), S("devicename1")}}},
                                                      {S("objects"), objects}})
                                .toJson());
        QProcess device;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(S("NODE_PATH"), judges + S("/node_modules"));
        device.setProcessEnvironment(env);
        device.start(S("node"), {judges + S("/serve_device.js"), S("--port"), S("0"), S("--config"), config});
        QVERIFY2(device.waitForStarted(), "node did not start");
        const auto stop = qScopeGuard([&device] {
            device.terminate();
            if (!device.waitForFinished(10000))
                device.kill();
        });
        // Its first line: "serving 127.0.0.1:PORT".
        QByteArray first;
        while (!first.contains('\n') && device.state() == QProcess::Running)
            if (device.waitForReadyRead(60000))
                first += device.readAllStandardOutput();
        const qsizetype colon = first.indexOf(':');
        QVERIFY2(first.startsWith("serving ") && colon > 0,
                 QByteArray(first + " / " + device.readAllStandardError()).constData());
        const quint16 port = quint16(first.mid(colon + 1, first.indexOf('\n') - colon - 1).trimmed().toUInt());
        QVERIFY(port != 0);
        const Cli_Run run = Verify(S("Plant"), port);
        QCOMPARE(run.out.split(u'\n', Qt::SkipEmptyParts), lines);
        QCOMPARE(run.code, 1);
    }

    // The converter aborts the whole object-list (no segmentation): it is read
    // element by element, and the device agrees.
    void object_list_by_index()
    {
        const auto converter = Serve(S("Many"));
        QCOMPARE(converter->Device().objects.size(), 300);
        const Cli_Run run = Verify(S("Many"), converter->Port());
        QCOMPARE(run.out, QString());
        QCOMPARE(run.code, 0);
    }

    // A device that answers as another instance is not read at all.
    void another_instance()
    {
        const auto converter = Serve(S("Other"));
        const Cli_Run run = Verify(S("Plant"), converter->Port());
        QCOMPARE(run.code, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(
                     Messages().Get(Msg_Verify_Other_Device).arg(S("127.0.0.1")).arg(converter->Port()).arg(7).arg(1)),
                 qPrintable(run.err));
    }

    // Whatever answers with bytes that are no BACnet/IP reply is reported, not read.
    void garbage_answer()
    {
        QUdpSocket liar;
        QVERIFY(liar.bind(QHostAddress::LocalHost, 0));
        connect(&liar, &QUdpSocket::readyRead, &liar, [&liar] {
            while (liar.hasPendingDatagrams()) {
                const QNetworkDatagram d = liar.receiveDatagram();
                // A BVLC header whose length claims more than it carries.
                liar.writeDatagram(QByteArray::fromHex("810a00ff0100100000"), d.senderAddress(),
                                   quint16(d.senderPort()));
            }
        });
        const Cli_Run run = Verify(S("Plant"), liar.localPort());
        QCOMPARE(run.code, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(Opening(Msg_Verify_Garbage)), qPrintable(run.err));
    }

    void mstp_configuration()
    {
        const Cli_Run run = Verify(S("Serial"), 47808);
        QCOMPARE(run.code, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(Messages().Get(Msg_Verify_MSTP).arg(S("Serial"))), qPrintable(run.err));
    }

    // An address that nobody answers, inside a network namespace made for the
    // test: the program gives up after its retries and says so.
    void silent_address()
    {
        const QString ns = S("sw52k31_verify_%1").arg(::getpid());
        if (QProcess::execute(S("ip"), {S("netns"), S("add"), ns}) != 0)
            QSKIP("a network namespace cannot be made here (ip netns add needs root)");
        const auto cleanup = qScopeGuard([&ns] { QProcess::execute(S("ip"), {S("netns"), S("del"), ns}); });
        // A link whose far end has no address: the converter's address is never resolved.
        const QString script =
            S("ip link set lo up && ip link add va type veth peer name vb && ip addr add 10.77.0.1/24 dev va && "
              "ip link set va up && ip link set vb up && exec \"$0\" --workspace \"$1\" verify Plant --ip 10.77.0.2 "
              "--timeout 200");
        QProcess program;
        program.start(S("ip"), {S("netns"), S("exec"), ns, S("sh"), S("-c"), script, S(SW52K31_PROGRAM), dir_.path()});
        QVERIFY(program.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardOutput().isEmpty());
        QVERIFY2(err.contains(Messages().Get(Msg_Verify_No_Answer).arg(S("10.77.0.2"), S("47808"), S("1"))),
                 qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(Test_Cli_Verify)
#include "test_cli_verify.moc"
