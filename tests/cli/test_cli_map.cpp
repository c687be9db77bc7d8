#include "cli_runner.h"
#include "core/messages.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Object(const char *type, int position, const char *bit, int length)
{
    return QByteArray("<row Data_Type=\"") + type + "\" Eng_Unit=\"95\" Position=\"" + QByteArray::number(position) +
           "\" Bit=\"" + bit + "\" Length=\"" + QByteArray::number(length) + "\" Swap=\"N\" Mnemonic=\"o" +
           QByteArray::number(position) + "\"/>";
}

QByteArray Rule(int start, int bytes)
{
    return QByteArray("<row Enable=\"Y\" Name=\"r\" StartByte=\"") + QByteArray::number(start) + "\" NumByte=\"" +
           QByteArray::number(bytes) + "\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"N\" Time=\"30\"/>";
}

} // namespace

class Test_Cli_Map : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    // A configuration named after the data row, holding these documents.
    QString Make(const QByteArray &read, const QByteArray &uplink)
    {
        const QString name = QString::fromLatin1(QTest::currentDataTag()).remove(u' ');
        if (Run_Cli(dir_.path(), {QStringLiteral("new"), name}).code != 0)
            return {};
        const QString project = dir_.path() + QStringLiteral("/PROJECTS/") + name;
        test::Write(project + QStringLiteral("/BACnet_Slave_SetAccess.xml"),
                    "<BACnet_to_Modbus><BACnet_in_Read>" + read +
                        "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");
        test::Write(project + QStringLiteral("/LoRaWAN_SetAccess.xml"),
                    "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + uplink +
                        "</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>");
        return name;
    }

private slots:
    void initTestCase() { QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("list")}).code, 0); }

    // The lines name each row as its grid numbers it; the exit code follows
    // overlaps and overruns only, not gaps.
    void configurations_data()
    {
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QByteArray>("uplink");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("lines");
        const QString read = Messages().Get(1508);
        QTest::newRow("paired") << Object("Analog Value", 0, "", 4) + Object("Binary Value", 4, "2", 1) << Rule(0, 5)
                                << 0 << QStringList{Messages().Get(Msg_Map_Nothing_Listed)};
        // A copied row whose Position was not changed, an object past the
        // end, and bytes that no rule carries.
        QTest::newRow("overlap overrun gap")
            << Object("Analog Value", 0, "", 4) + Object("Analog Value", 0, "", 4) +
                   Object("Analog Value", 1498, "", 4) + Object("Analog Value", 8, "", 4)
            << Rule(0, 4) + Rule(1498, 2) << 1
            << QStringList{
                   Messages().Get(Msg_Objects_Overlap).arg(read).arg(2).arg(1).arg(0),
                   Messages().Get(Msg_Map_Overrun).arg(read).arg(3).arg(1498).arg(1501).arg(1500),
                   Messages().Get(Msg_Map_Pairing_Note),
                   Messages()
                       .Get(Msg_Map_Not_Carried)
                       .arg(read, QStringLiteral("3"), QStringLiteral("1498-1501"), QStringLiteral("1500-1501")),
                   Messages()
                       .Get(Msg_Map_Not_Carried)
                       .arg(read, QStringLiteral("4"), QStringLiteral("8-11"), QStringLiteral("8-11"))};
        // Rules are named from 1, as the rule grid numbers its rows and as
        // its own messages name them.
        const QString uplink = Messages().Get(1214);
        QTest::newRow("rules overlap")
            << Object("Analog Value", 0, "", 4) << Rule(0, 4) + Rule(2, 4) << 1
            << QStringList{Messages().Get(Msg_Rules_Overlap).arg(uplink).arg(2).arg(1).arg(2),
                           Messages().Get(Msg_Map_Pairing_Note),
                           Messages()
                               .Get(Msg_Map_No_Object)
                               .arg(uplink, QStringLiteral("2"), QStringLiteral("2-5"), QStringLiteral("4-5"))};
        QTest::newRow("gap only") << Object("Analog Value", 0, "", 4) << Rule(0, 2) << 0
                                  << QStringList{Messages().Get(Msg_Map_Pairing_Note),
                                                 Messages()
                                                     .Get(Msg_Map_Not_Carried)
                                                     .arg(read, QStringLiteral("1"), QStringLiteral("0-3"),
                                                          QStringLiteral("2-3"))};
    }

    void configurations()
    {
        QFETCH(QByteArray, read);
        QFETCH(QByteArray, uplink);
        QFETCH(int, code);
        QFETCH(QStringList, lines);
        const QString name = Make(read, uplink);
        QVERIFY(!name.isEmpty());
        const Cli_Run run = Run_Cli(dir_.path(), {QStringLiteral("map"), name});
        QCOMPARE(run.code, code);
        QCOMPARE(run.err, QString());
        const QStringList out = run.out.split(u'\n');
        // The lists, a blank line, the legend, then four pictures of 30 lines
        // of 50 bytes, each after a blank line and its heading.
        QCOMPARE(out.mid(0, lines.size()), lines);
        QCOMPARE(out.value(lines.size()), QString());
        QCOMPARE(out.value(lines.size() + 1), Messages().Get(Msg_Map_Legend));
        QCOMPARE(out.size(), lines.size() + 2 + 4 * (2 + 30) + 1);
        const qsizetype first_row = lines.size() + 4;
        QCOMPARE(out.value(first_row).size(), 5 + 50);
        QVERIFY2(out.value(first_row).startsWith(QStringLiteral("   0 ")), qPrintable(out.value(first_row)));
    }

    void usage_and_unknown_name()
    {
        QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("map")}).code, 2);
        const Cli_Run unknown = Run_Cli(dir_.path(), {QStringLiteral("map"), QStringLiteral("Nowhere")});
        QCOMPARE(unknown.code, 1);
        QVERIFY2(unknown.err.contains(Messages().Get(18).trimmed()), qPrintable(unknown.err));
    }

    // A damaged document is told, and the map does not pass as clean.
    void damaged_document()
    {
        QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("new"), QStringLiteral("Damaged")}).code, 0);
        test::Write(dir_.path() + QStringLiteral("/PROJECTS/Damaged/BACnet_Slave_SetAccess.xml"),
                    "<BACnet_to_Modbus><BACnet_in_Read>");
        const Cli_Run run = Run_Cli(dir_.path(), {QStringLiteral("map"), QStringLiteral("Damaged")});
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QStringLiteral("BACnet_Slave_SetAccess.xml")), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(Test_Cli_Map)
#include "test_cli_map.moc"
