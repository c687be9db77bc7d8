#include "bacnet/virtual_converter.h"
#include "configuration_fixture.h"
#include "gate/configuration_gate.h"
#include "served_device_fixture.h"
#include "snapshot/configuration_snapshot.h"
#include "test_support.h"

#include <QFile>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

// The served device as a configuration's images give it, and the virtual
// converter on a real UDP socket on the loopback interface.
class Test_Virtual_Converter : public Configuration_Fixture
{
    Q_OBJECT

    static QByteArray Objects_Document(const QByteArray &read, const QByteArray &write)
    {
        return "<BACnet_to_Modbus><BACnet_in_Read>" + read + "</BACnet_in_Read><BACnet_in_Write>" + write +
               "</BACnet_in_Write></BACnet_to_Modbus>";
    }
    static QByteArray Row(const char *type, const char *position, const char *length, const char *mnemonic)
    {
        return QByteArray("<row Data_Type=\"") + type + "\" Eng_Unit=\"62\" Position=\"" + position +
               "\" Bit=\"2\" Length=\"" + length + "\" Swap=\"N\" Mnemonic=\"" + mnemonic + "\"/>";
    }

private slots:
    // The device's instance, name and port from the image's BACnet settings
    // of either link; without a parameter document the image has none.
    void device_settings_data()
    {
        QTest::addColumn<QByteArray>("pargen"); // empty: none
        QTest::addColumn<uint>("instance");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("mstp");
        QTest::newRow("BACnet/IP") << QByteArray(
                                          "<Par_Gen><LoRa_Payload_Size>59</LoRa_Payload_Size><BACnet_DEV_IDE>4321</"
                                          "BACnet_DEV_IDE><BACnet_NAME_STA>"
                                          "plant7</BACnet_NAME_STA><BACnet_PORT>47900</BACnet_PORT></Par_Gen>")
                                   << 4321u << QStringLiteral("plant7") << 47900 << false;
        QTest::newRow("MS/TP") << QByteArray("<Par_Gen><LoRa_Payload_Size>59</LoRa_Payload_Size><BACnet_Type>1</"
                                             "BACnet_Type><BACnet_Ser_DEV_IDE>77</"
                                             "BACnet_Ser_DEV_IDE><BACnet_Ser_NAME_STA>serial</BACnet_Ser_NAME_STA>"
                                             "<BACnet_DEV_IDE>4321</BACnet_DEV_IDE></Par_Gen>")
                               << 77u << QStringLiteral("serial") << 47808 << true;
        QTest::newRow("no parameter document") << QByteArray() << 0u << QString() << 47808 << false;
    }
    void device_settings()
    {
        QFETCH(QByteArray, pargen);
        QFETCH(uint, instance);
        QFETCH(QString, name);
        QFETCH(int, port);
        QFETCH(bool, mstp);
        New_Workspace();
        QFile::remove(ws_.File_ParGen);
        if (!pargen.isEmpty())
            test::Write(ws_.File_ParGen, pargen);
        const Result<Served_Device> device = Load_Served_Device(Read_Configuration(ws_, Output::Images));
        QVERIFY2(device.Ok(), qPrintable(device.Problem()));
        QCOMPARE(device->instance, instance);
        QCOMPARE(device->name, name);
        QCOMPARE(int(device->port), port);
        QCOMPARE(device->mstp, mstp);
    }

    // Types and instances as the records lie (sorted by type, counted from
    // 0), names as the image keeps them (cut to 16), the shared name warned.
    void served_from_the_images()
    {
        New_Workspace();
        test::Write(ws_.File_BACnet_Slave_Access,
                    Objects_Document(Row("Analog Input", "0", "4", "Room temperature north") +
                                         Row("Binary Input", "4", "1", "Alarm") +
                                         Row("Analog Input", "5", "2", "Room temperature south"),
                                     Row("Analog Out", "0", "2", "Valve") + Row("Binary Value", "2", "1", "")));
        const Result<Served_Device> device = Load_Served_Device(Read_Configuration(ws_, Output::Images));
        QVERIFY2(device.Ok(), qPrintable(device.Problem()));
        QStringList seen;
        for (const Served_Object &o : device->objects)
            seen.append(QStringLiteral("%1:%2 %3 %4 %5")
                            .arg(o.type_code)
                            .arg(o.instance)
                            .arg(o.name)
                            .arg(o.write)
                            .arg(o.position));
        QCOMPARE(seen, (QStringList{QStringLiteral("0:0 Room temperature 0 0"),
                                    QStringLiteral("0:1 Room temperature 0 5"), QStringLiteral("1:0 Valve 1 0"),
                                    QStringLiteral("3:0 Alarm 0 4"), QStringLiteral("5:0  1 2")}));
        QVERIFY2(!device->warnings.isEmpty(), "the shared name is warned of");
    }

    // A configuration that `check` refuses is not served, with its words.
    void refused_as_check_refuses()
    {
        New_Workspace();
        test::Write(ws_.File_BACnet_Slave_Access,
                    Objects_Document(Row("Analog Input", "0", "9", "Too long"), QByteArray()));
        const Configuration_Snapshot configuration = Read_Configuration(ws_, Output::Images);
        const Result<Served_Device> device = Load_Served_Device(configuration);
        QVERIFY(!device.Ok());
        QCOMPARE(device.Problem(), Check_Configuration(configuration, Output::Images).Problem());
    }

    void udp_round_trip()
    {
        Virtual_Converter converter(test::Small_Device());
        QVERIFY(converter.Start(QHostAddress::LocalHost, 0).Ok());
        QVERIFY(converter.Port() != 0);
        QVERIFY(converter.Serving_Line().contains(QStringLiteral("127.0.0.1:%1").arg(converter.Port())));
        QSignalSpy traffic(&converter, &Virtual_Converter::Traffic);
        QSignalSpy changed(&converter, &Virtual_Converter::Value_Changed);

        QUdpSocket client;
        QVERIFY(client.bind(QHostAddress::LocalHost, 0));
        const auto ask = [&](const QByteArray &apdu, bool reply) {
            client.writeDatagram(test::Frame(apdu, reply), QHostAddress::LocalHost, converter.Port());
            QTRY_VERIFY(client.hasPendingDatagrams());
        };
        ask(QByteArray::fromHex("1008"), false);
        QCOMPARE(test::Apdu(client.receiveDatagram().data()).toHex(), QByteArray("1000c4020004d22205c491032100"));
        QVERIFY(converter.Set_Input_Raw(0, 72).Ok());
        QCOMPARE(changed.count(), 1);
        ask(QByteArray::fromHex("0002010c0c000000051955"), true);
        QCOMPARE(test::Apdu(client.receiveDatagram().data()).toHex(), QByteArray("30010c0c0000000519553e44429000003f"));
        QCOMPARE(traffic.count(), 2);
        QVERIFY(traffic.at(1).at(0).toString().contains(QStringLiteral("127.0.0.1:%1").arg(client.localPort())));

        // A second converter on the same port is refused with the system's reason.
        Virtual_Converter second(test::Small_Device());
        const Result<> refused = second.Start(QHostAddress::LocalHost, converter.Port());
        QVERIFY(!refused.Ok());
        QVERIFY2(refused.Problem().contains(QString::number(converter.Port())), qPrintable(refused.Problem()));
        converter.Stop();
        QVERIFY(!converter.Running());
    }
};

QTEST_GUILESS_MAIN(Test_Virtual_Converter)
#include "test_virtual_converter.moc"
