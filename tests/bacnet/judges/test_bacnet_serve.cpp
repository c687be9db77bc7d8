// `sw52k31 serve` judged by an independent BACnet stack: the configuration's
// device, as the real program serves it on loopback, is read by the judge
// client while tshark captures the traffic. What the judge reads must be what
// the EDE export lists and what the inspector decodes from the images.

#include "cli/cli_runner.h"
#include "judge_support.h"
#include "test_support.h"

#include <QJsonArray>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One served object as each source names it: its name and unit by type and instance.
struct Listed
{
    QString name;
    int units = -1;
    bool operator==(const Listed &) const = default;
};
using Object_Map = QMap<QString, Listed>;

QString Key(int type, int instance)
{
    return u"%1:%2"_s.arg(type).arg(instance);
}

// The object types whose objects have a unit (analog, large analog, integer,
// positive integer, accumulator); the others are compared without it.
bool Has_Units(int type)
{
    return type == 0 || type == 1 || type == 2 || type == 23 || type == 45 || type == 46 || type == 48;
}

// The object lines of a classic EDE file: keyname;device;name;type;instance;description;unit;
Object_Map Ede_Objects(const QByteArray &file)
{
    Object_Map objects;
    const QList<QByteArray> lines = file.split('\n');
    for (qsizetype i = 7; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].trimmed().split(';');
        if (f.size() < 7)
            continue;
        const int type = f[3].toInt();
        objects[Key(type, f[4].toInt())] = {QString::fromLatin1(f[2]), Has_Units(type) ? f[6].toInt() : -1};
    }
    return objects;
}

Object_Map Dump_Objects(const QJsonObject &dump)
{
    Object_Map objects;
    for (const QJsonValue &o : dump[u"bank2"_s][u"objects"_s].toArray()) {
        const int type = o[u"bacnet_type"_s].toInt();
        objects[Key(type, o[u"instance"_s].toInt())] = {o[u"description"_s].toString(),
                                                        Has_Units(type) ? o[u"eng_unit"_s].toInt() : -1};
    }
    return objects;
}

Object_Map Judged_Objects(const QJsonObject &report)
{
    Object_Map objects;
    for (const QJsonValue &o : report[u"objects"_s].toArray()) {
        const int type = o[u"type"_s].toInt();
        objects[Key(type, o[u"instance"_s].toInt())] = {o[u"name"_s].toString(),
                                                        Has_Units(type) ? o[u"units"_s].toInt(-1) : -1};
    }
    return objects;
}

QStringList Object_Keys(const QJsonArray &list)
{
    QStringList keys;
    for (const QJsonValue &v : list)
        keys << Key(v[u"type"_s].toInt(), v[u"instance"_s].toInt());
    return keys;
}

QString Describe(const Object_Map &objects)
{
    QStringList lines;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it)
        lines << u"%1 \"%2\" %3"_s.arg(it.key(), it->name).arg(it->units);
    return lines.join(u'\n');
}

} // namespace

class Test_Bacnet_Serve : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Ws() const { return dir_.filePath(u"ws"_s); }
    QString Project(const QString &file) const { return Ws() + u"/PROJECTS/Plant/"_s + file; }

    QJsonObject dump_;
    Object_Map ede_;

private slots:
    // A configuration with a device of its own and objects of both tables,
    // its EDE file and its decoded images.
    void initTestCase()
    {
        const QString missing = judge::Missing();
        if (!missing.isEmpty())
            QFAIL(qPrintable(missing));
        QCOMPARE(Run_Cli(Ws(), {u"new"_s, u"Plant"_s}).code, 0);
        // The other parameters keep their fallbacks.
        test::Write(Project(u"ParGen.xml"_s),
                    "<Par_Gen><BACnet_Type>0</BACnet_Type><BACnet_DEV_IDE>4711</BACnet_DEV_IDE>"
                    "<BACnet_NAME_STA>judgeplant</BACnet_NAME_STA><LoRa_Payload_Size>59</LoRa_Payload_Size></Par_Gen>"
                    "<!--SW_VERSION = 1.000-->");

        const QString points = dir_.filePath(u"points.csv"_s);
        test::Write(points, "Table,Data Type,Eng. Unit,Unit Name,Position,Start Bit,Length,Swap,Mnemonic\r\n"
                            "Read,Analog Input,62,,0,,4,,Room Temp\r\n"
                            "Read,Analog Input,98,,4,,2,,Humidity\r\n"
                            "Read,Binary Input,95,,8,0,1,,Door\r\n"
                            "Read,Multi State Input,95,,9,,1,,Mode\r\n"
                            "Read,Analog Value,62,,10,,4,,Outdoor\r\n"
                            "Write,Analog Out,98,,0,,4,,Valve\r\n"
                            "Write,Analog Value,62,,4,,4,,Setpoint\r\n"
                            "Write,Binary Out,95,,8,1,1,,Fan\r\n");
        const Cli_Run imported = Run_Cli(Ws(), {u"import-objects"_s, u"Plant"_s, points});
        QVERIFY2(imported.code == 0, qPrintable(imported.err));

        const QString ede = dir_.filePath(u"plant.csv"_s);
        const Cli_Run exported = Run_Cli(Ws(), {u"ede"_s, u"Plant"_s, ede});
        QVERIFY2(exported.code == 0, qPrintable(exported.err));
        ede_ = Ede_Objects(test::Read(ede));
        QCOMPARE(ede_.size(), 8);

        const Cli_Run dumped = Run_Cli(Ws(), {u"dump"_s, u"--config"_s, u"Plant"_s});
        QVERIFY2(dumped.code == 0, qPrintable(dumped.err));
        dump_ = QJsonDocument::fromJson(dumped.out.toUtf8()).object();
        QCOMPARE(dump_[u"bank1"_s][u"bacnet_ip_device_identifier"_s].toInt(), 4711);
        QCOMPARE(Dump_Objects(dump_), ede_);
    }

    void serves_what_the_configuration_lists()
    {
        const quint16 port = judge::Free_Udp_Port();
        QVERIFY(port != 0);
        judge::Served_Device device;
        QString problem;
        QVERIFY2(device.Start(QStringLiteral(SW52K31_PROGRAM),
                              {u"--workspace"_s, Ws(), u"serve"_s, u"Plant"_s, u"--bind"_s, u"127.0.0.1"_s, u"--port"_s,
                               QString::number(port)},
                              QProcessEnvironment::systemEnvironment(), problem, port),
                 qPrintable(problem));

        judge::Capture capture;
        QVERIFY2(capture.Start(port, dir_.filePath(u"serve.pcapng"_s), problem), qPrintable(problem));
        // The value rule keeps an analog value as a whole number of its bytes.
        const judge::Judge_Run run = judge::Run_Judge(port, {u"--write"_s, u"analog-output:0=42"_s});
        QVERIFY2(capture.Stop(problem), qPrintable(problem));
        QString served;
        QCOMPARE(device.Stop(served), 0);
        QVERIFY2(run.code == 0, qPrintable(run.err + served));
        const QJsonObject &r = run.report;

        // Discovered as the image's device.
        const QJsonObject bank1 = dump_[u"bank1"_s].toObject();
        QCOMPARE(r[u"i_am"_s][u"device"_s].toInt(), bank1[u"bacnet_ip_device_identifier"_s].toInt());
        QCOMPARE(r[u"device"_s][u"instance"_s].toInt(), 4711);
        QCOMPARE(r[u"device"_s][u"name"_s].toString(), bank1[u"device_name"_s].toString());
        QCOMPARE(r[u"device"_s][u"name"_s].toString(), u"judgeplant"_s);

        // The object list: the device and every object of the EDE file and
        // the images, by index as whole.
        const QStringList list = Object_Keys(r[u"object_list"_s].toArray());
        QCOMPARE(Object_Keys(r[u"object_list_by_index"_s].toArray()), list);
        QCOMPARE(list.count(Key(8, 4711)), 1);
        const Object_Map judged = Judged_Objects(r);
        QCOMPARE(list.size(), judged.size() + 1);
        QVERIFY2(judged == ede_, qPrintable(u"judged:\n"_s + Describe(judged) + u"\nEDE:\n"_s + Describe(ede_)));
        QCOMPARE(judged, Dump_Objects(dump_));
        QVERIFY2(r[u"errors"_s].toArray().isEmpty(), QJsonDocument(r[u"errors"_s].toArray()).toJson().constData());

        // The write lands, and the subscription tells of the change.
        QVERIFY(r[u"write"_s][u"landed"_s].toBool());
        QCOMPARE(r[u"write"_s][u"read_back"_s].toDouble(), 42.0);
        QCOMPARE(r[u"cov"_s][u"change"_s][u"present_value"_s].toDouble(), 42.0);
        QCOMPARE(r[u"cov"_s][u"change"_s][u"initiating_device"_s][u"instance"_s].toInt(), 4711);

        // What went over the wire, decoded by tshark.
        const judge::Capture_Findings found = capture.Check();
        QVERIFY2(found.problem.isEmpty(), qPrintable(found.problem));
        QVERIFY(found.bacnet_frames > 2 * list.size());
        QVERIFY2(found.faults.isEmpty(), qPrintable(found.faults.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(Test_Bacnet_Serve)
#include "test_bacnet_serve.moc"
