#include "compiler/fixtures.h"
#include "core/messages.h"
#include "inspector/config_diff.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace fixture;

namespace {

QString M(int n)
{
    return Messages().Get(n);
}

} // namespace

class Test_Config_Diff : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    // The configuration `name`: an MS/TP converter with one rule and two
    // objects, its parameters changed by `keys`, its Read rows replaced by
    // `read` when given.
    Configuration_Documents Make(const char *name, const Keys &keys = {}, const QList<Row> &read = {})
    {
        const QString folder = dir_.filePath(QLatin1StringView(name));
        QDir().mkpath(folder);
        const Configuration_Documents d{QLatin1StringView(name), folder + S("/ParGen.xml"),
                                        folder + S("/LoRaWAN_SetAccess.xml"),
                                        folder + S("/BACnet_Slave_SetAccess.xml")};
        Write_ParGen(d.file_pargen, With(With(Window_ParGen(), {{S("BACnet_Type"), S("1")}}), keys));
        Write_Rules(d.file_lorawan, {Uplink(S("Y"), S("0"), S("8"), S("Y"), S("N"), S("N"), S("30"))});
        Write_Objects(d.file_bacnet,
                      read.isEmpty() ? QList<Row>{Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("t1")),
                                                  Object(S("Analog Input"), S("62"), S("4"), S(""), S("4"), S("t2"))}
                                     : read);
        return d;
    }

private slots:
    // The documents as the windows show them, then the images.
    void differences_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QList<Row>>("read");
        QTest::addColumn<QStringList>("lines");
        const QList<Row> none;
        QTest::newRow("identical") << Keys{} << none << QStringList();
        QTest::newRow("a changed parameter")
            << Keys{{S("BACnet_Ser_ID"), S("7")}} << none
            << QStringList{S("[BACnet Slave] MAC Address: 0 -> 7"), S("bank1.mstp_mac_address: 0 -> 7"),
                           S("bank1.checksum_stored: 5951 -> 5958")};
        // Four keys, one input of four octets.
        QTest::newRow("an address") << Keys{{S("Ethernet_IP4"), S("20")}} << none
                                    << QStringList{S("[Ethernet] IP Address: 192.168.0.10 -> 192.168.0.20"),
                                                   S("bank1.ip_address: 192.168.0.10 -> 192.168.0.20"),
                                                   S("bank1.checksum_stored: 5951 -> 5961")};
        QTest::newRow("a check box") << Keys{{S("Ethernet_EN_DNS"), S("1")}} << none
                                     << QStringList{S("[Ethernet] DNS: ") + M(Msg_Diff_Off) + S(" -> ") +
                                                        M(Msg_Diff_On),
                                                    S("bank1.dns_server: 255.255.255.255 -> 8.8.8.8"),
                                                    S("bank1.checksum_stored: 5951 -> 4963")};
        QTest::newRow("a choice") << Keys{{S("LoRa_Transmission_Type"), S("Confirmed")}} << none
                                  << QStringList{S("[LoRaWAN] Transmission Type: Unconfirmed -> Confirmed"),
                                                 S("bank2.lora.transmission_type: 0 (unconfirmed) -> 1 (confirmed)")};
        // The data-rate item's tab shows as a blank, and the payload that
        // follows it changes too.
        QTest::newRow("a data rate") << Keys{{S("LoRa_DataRate"), S("2\t- LoRa: SF10/125kHz 980 [bit/s]")},
                                             {S("LoRa_Payload_Size"), S("59")}}
                                     << none
                                     << QStringList{
                                            S("[LoRaWAN] DataRate: 6 - LoRa: SF7/250kHz 11000 [bit/s] -> 2 - LoRa: "
                                              "SF10/125kHz 980 [bit/s]"),
                                            S("[LoRaWAN] Max Payload Size: 230 -> 59"),
                                            S("bank2.lora.data_rate: 6 (6 - LoRa: SF7/250kHz 11000 [bit/s]) -> 2 (2 "
                                              "- LoRa: SF10/125kHz 980 [bit/s])"),
                                            S("bank2.lora.max_payload_size: 230 -> 59")};
        QTest::newRow("an inserted row")
            << Keys{}
            << QList<Row>{Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("t1")),
                          Object(S("Binary Input"), S("95"), S("8"), S("3"), S("1"), S("b")),
                          Object(S("Analog Input"), S("62"), S("4"), S(""), S("4"), S("t2"))}
            << QStringList{M(Msg_Diff_Row_Inserted)
                               .arg(S("[BACnet in Read] row 2"),
                                    S("Data Type: Binary Input; Eng. Unit: 95  no-units; Position: 8; Start Bit: 3; "
                                      "Length: 1; Mnemonic: b")),
                           S("bank1.object_counts.BINARY INPUT: 0 -> 1"), S("bank1.checksum_stored: 5951 -> 5952"),
                           S("bank2.objects[ANALOG INPUT 1].row: 2 -> 3"),
                           S("bank2.objects[BINARY INPUT 0]: added (position 8, eng_unit 95 (no-units), length 1, "
                             "group 0 (Read), row 2, start_bit 3, description \"b\")")};
        QTest::newRow("a changed unit")
            << Keys{}
            << QList<Row>{Object(S("Analog Input"), S("62"), S("0"), S(""), S("4"), S("t1")),
                          Object(S("Analog Input"), S("98"), S("4"), S(""), S("4"), S("t2"))}
            << QStringList{S("[BACnet in Read] row 2, Eng. Unit: 62  degrees-Celsius -> 98  percent"),
                           S("bank2.objects[ANALOG INPUT 1].eng_unit: 62 (degrees-Celsius) -> 98 (percent)")};
    }

    void differences()
    {
        QFETCH(Keys, keys);
        QFETCH(QList<Row>, read);
        QFETCH(QStringList, lines);
        const Image_Comparison c = Compare_Configurations(Make("A"), Make("B", keys, read));
        QCOMPARE(c.Lines, lines);
        QCOMPARE(c.Problems_Before, QStringList());
        QCOMPARE(c.Problems_After, QStringList());
    }

    // A configuration that cannot be read or compiled is a line, not the end.
    void damaged()
    {
        const Configuration_Documents a = Make("A");
        const Configuration_Documents b = Make("B");
        QFile file(b.file_bacnet);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<BACnet_to_Modbus><BACnet_in_Read>");
        file.close();
        const QString problem = S("Error! The file %1 is damaged (line 1, column 34): Start-end tags mismatch")
                                    .arg(QDir::toNativeSeparators(b.file_bacnet));
        // The object window would open on empty tables, and say so.
        QCOMPARE(Compare_Configurations(a, b).Lines,
                 (QStringList{M(Msg_Diff_Not_Read).arg(S("B"), problem),
                              M(Msg_Diff_Row_Deleted)
                                  .arg(S("[BACnet in Read] row 1"),
                                       S("Data Type: Analog Input; Eng. Unit: 62  degrees-Celsius; Position: 0; "
                                         "Start Bit: (empty); Length: 4; Mnemonic: t1")),
                              M(Msg_Diff_Row_Deleted)
                                  .arg(S("[BACnet in Read] row 2"),
                                       S("Data Type: Analog Input; Eng. Unit: 62  degrees-Celsius; Position: 4; "
                                         "Start Bit: (empty); Length: 4; Mnemonic: t2")),
                              M(Msg_Diff_Not_Compiled).arg(S("B"), problem)}));
        // Both damaged alike: the documents read the same, and still each
        // problem is said.
        const Image_Comparison both = Compare_Configurations(b, b);
        QCOMPARE(both.Lines.size(), 4);
        QVERIFY(both.Lines.first().startsWith(S("B: Error!")));
    }
};

QTEST_GUILESS_MAIN(Test_Config_Diff)
#include "test_config_diff.moc"
