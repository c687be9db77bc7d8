// The judges against one another: the judge client reads the reference device
// that the same independent stack serves, while tshark captures the traffic;
// the capture check finds a malformed packet, and the judge fails loudly when
// the device does not answer or refuses what it asks.

#include "judge_support.h"
#include "test_support.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList Object_Keys(const QJsonArray &list)
{
    QStringList keys;
    for (const QJsonValue &v : list)
        keys << u"%1:%2"_s.arg(v[u"type"_s].toInt()).arg(v[u"instance"_s].toInt());
    return keys;
}

QJsonObject Find_Object(const QJsonArray &objects, int type, int instance)
{
    for (const QJsonValue &v : objects)
        if (v[u"type"_s].toInt() == type && v[u"instance"_s].toInt() == instance)
            return v.toObject();
    return {};
}

} // namespace

class Test_Bacnet_Judges : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void initTestCase()
    {
        const QString missing = judge::Missing();
        if (!missing.isEmpty())
            QFAIL(qPrintable(missing));
    }

    void reads_the_reference_device_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<int>("instance");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("objects");
        QTest::newRow("as shipped") << QByteArray() << 4194 << u"judge-reference"_s << 8;
        QTest::newRow("another name and one more object")
            << QByteArray(R"({"device": {"instance": 77, "name": "plant-two"},
                              "add_objects": [{"type": "analog-value", "instance": 1, "name": "Extra",
                                               "units": 98, "value": 3}]})")
            << 77 << u"plant-two"_s << 9;
    }

    // Everything the judge reads agrees with what the device serves, and
    // tshark finds every packet of it well formed.
    void reads_the_reference_device()
    {
        QFETCH(QByteArray, config);
        QFETCH(int, instance);
        QFETCH(QString, name);
        QFETCH(int, objects);
        QStringList args{judge::Script(u"serve_device.js"_s), u"--port"_s, u"0"_s};
        if (!config.isEmpty()) {
            const QString file = dir_.filePath(u"device.json"_s);
            test::Write(file, config);
            args << u"--config"_s << file;
        }
        judge::Served_Device device;
        QString problem;
        QVERIFY2(device.Start(judge::Node(), args, judge::Node_Environment(), problem), qPrintable(problem));
        QVERIFY(device.First_Line().startsWith(u"serving 127.0.0.1:"_s));

        judge::Capture capture;
        QVERIFY2(capture.Start(device.Port(), dir_.filePath(u"reference.pcapng"_s), problem), qPrintable(problem));
        const judge::Judge_Run run = judge::Run_Judge(device.Port(), {u"--write"_s, u"analog-output:0=42.5"_s});
        QVERIFY2(capture.Stop(problem), qPrintable(problem));
        QString served;
        QCOMPARE(device.Stop(served), 0);
        QVERIFY2(run.code == 0, qPrintable(run.err));

        const QJsonObject &r = run.report;
        QCOMPARE(r[u"i_am"_s][u"device"_s].toInt(), instance);
        QCOMPARE(r[u"device"_s][u"instance"_s].toInt(), instance);
        QCOMPARE(r[u"device"_s][u"name"_s].toString(), name);
        const QStringList list = Object_Keys(r[u"object_list"_s].toArray());
        QCOMPARE(list.size(), objects + 1);
        QCOMPARE(list.first(), u"8:%1"_s.arg(instance));
        QCOMPARE(Object_Keys(r[u"object_list_by_index"_s].toArray()), list);
        QCOMPARE(Object_Keys(r[u"device"_s][u"properties"_s][u"object-list"_s].toArray()), list);
        QCOMPARE(r[u"objects"_s].toArray().size(), objects);
        QCOMPARE(r[u"errors"_s].toArray().size(), 0);

        const QJsonObject room = Find_Object(r[u"objects"_s].toArray(), 0, 0);
        QCOMPARE(room[u"name"_s].toString(), u"Room Temperature"_s);
        QCOMPARE(room[u"units"_s].toInt(), 62);
        QCOMPARE(room[u"present_value"_s].toDouble(), 21.5);
        QVERIFY(Find_Object(r[u"objects"_s].toArray(), 5, 0)[u"units"_s].isNull()); // a binary value has none
        if (objects == 9) {
            const QJsonObject extra = Find_Object(r[u"objects"_s].toArray(), 2, 1);
            QCOMPARE(extra[u"name"_s].toString(), u"Extra"_s);
            QCOMPARE(extra[u"units"_s].toInt(), 98);
        }

        const QJsonObject write = r[u"write"_s].toObject();
        QCOMPARE(write[u"before"_s].toDouble(), 0.0);
        QCOMPARE(write[u"read_back"_s].toDouble(), 42.5);
        QVERIFY(write[u"landed"_s].toBool());
        const QJsonObject cov = r[u"cov"_s].toObject();
        QCOMPARE(cov[u"first"_s][u"present_value"_s].toDouble(), 0.0);
        QCOMPARE(cov[u"change"_s][u"present_value"_s].toDouble(), 42.5);
        QCOMPARE(cov[u"change"_s][u"initiating_device"_s][u"instance"_s].toInt(), instance);

        // The device printed one line per request.
        QVERIFY2(served.contains(u"who-is from 127.0.0.1:"_s), qPrintable(served));
        QVERIFY(served.contains(u"write-property 1:0 85"_s));

        const judge::Capture_Findings found = capture.Check();
        QVERIFY2(found.problem.isEmpty(), qPrintable(found.problem));
        // Who-Is, I-Am, the device, the list whole and by index, each object,
        // the subscription and its notifications, the write and its read-back.
        QVERIFY2(found.bacnet_frames >= 2 * (objects + 1) * 2 + 10, qPrintable(QString::number(found.bacnet_frames)));
        QVERIFY2(found.faults.isEmpty(), qPrintable(found.faults.join(u'\n')));
    }

    // The capture check is no rubber stamp: a BACnet/IP datagram whose
    // ReadProperty request is cut short is reported, by its frame. (The
    // capture's marker datagrams are frames too, never BACnet ones.)
    void capture_check_finds_a_malformed_packet()
    {
        const quint16 port = judge::Free_Udp_Port();
        QVERIFY(port != 0);
        judge::Capture capture;
        QString problem;
        QVERIFY2(capture.Start(port, dir_.filePath(u"malformed.pcapng"_s), problem), qPrintable(problem));
        QUdpSocket socket;
        // BVLC unicast, NPDU expecting a reply, confirmed ReadProperty whose
        // object identifier says 4 bytes and holds 1.
        const QByteArray cut("\x81\x0a\x00\x0c\x01\x04\x00\x05\x01\x0c\x0c\x02", 12);
        QCOMPARE(socket.writeDatagram(cut, QHostAddress::LocalHost, port), cut.size());
        QVERIFY2(capture.Stop(problem), qPrintable(problem));
        const judge::Capture_Findings found = capture.Check();
        QVERIFY2(found.problem.isEmpty(), qPrintable(found.problem));
        QCOMPARE(found.bacnet_frames, 1);
        QVERIFY(!found.faults.isEmpty());
        QVERIFY2(found.faults.first().contains(QRegularExpression(u"^Frame \\d+: \\[Malformed Packet"_s)),
                 qPrintable(found.faults.join(u'\n')));
    }

    void judge_fails_loudly_data()
    {
        QTest::addColumn<bool>("device");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("said");
        QTest::newRow("nothing answers the Who-Is")
            << false << QStringList{u"--timeout"_s, u"1000"_s} << u"judge: Who-Is: no answer within 1000 ms"_s;
        QTest::newRow("an input refuses the write")
            << true << QStringList{u"--write"_s, u"analog-input:0=1"_s}
            << u"judge: writing 1 to analog-input:0: BacnetError - Class:2 - Code:40"_s;
        QTest::newRow("an object that is not there")
            << true << QStringList{u"--cov"_s, u"analog-value:9"_s}
            << u"judge: SubscribeCOV to analog-value:9: BacnetError - Class:1 - Code:31"_s;
    }

    void judge_fails_loudly()
    {
        QFETCH(bool, device);
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        judge::Served_Device served;
        quint16 port = judge::Free_Udp_Port();
        if (device) {
            QString problem;
            QVERIFY2(served.Start(judge::Node(), {judge::Script(u"serve_device.js"_s), u"--port"_s, u"0"_s},
                                  judge::Node_Environment(), problem),
                     qPrintable(problem));
            port = served.Port();
        }
        const judge::Judge_Run run = judge::Run_Judge(port, args);
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err.trimmed(), said);
        QVERIFY(run.report.isEmpty());
    }
};

QTEST_GUILESS_MAIN(Test_Bacnet_Judges)
#include "test_bacnet_judges.moc"
