#include "cli_runner.h"
#include "core/messages.h"
#include "test_support.h"

#include <QTemporaryDir>
#include <QTest>

class Test_Cli_Check : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void initTestCase() { QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("list")}).code, 0); }

    void documents_data()
    {
        QTest::addColumn<QByteArray>("pargen");
        QTest::addColumn<QByteArray>("rules");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("no documents") << QByteArray() << QByteArray() << 0 << QStringList();
        QTest::newRow("bad Ethernet octet")
            << QByteArray("<Par_Gen><Ethernet_IP1>256</Ethernet_IP1></Par_Gen>") << QByteArray() << 1
            << QStringList{Messages().Get(465)};
        // No payload size: the rule window warns (1242), its check fails, and
        // so does the update step's check (30).
        QTest::newRow("rule without payload")
            << QByteArray()
            << QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" Name=\"a\" StartByte=\"0\" "
                          "NumByte=\"4\" Time=\"30\"/></LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>")
            << 1 << QStringList{Messages().Get(1242), Messages().Get(30)};
        QTest::newRow("damaged parameters")
            << QByteArray("<Par_Gen><Ethernet_IP1>") << QByteArray() << 1 << QStringList{QStringLiteral("ParGen.xml")};
    }

    void documents()
    {
        QFETCH(QByteArray, pargen);
        QFETCH(QByteArray, rules);
        QFETCH(int, code);
        QFETCH(QStringList, messages);
        const QString name = QString::fromLatin1(QTest::currentDataTag()).remove(u' ');
        QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("new"), name}).code, 0);
        const QString project = dir_.path() + QStringLiteral("/PROJECTS/") + name;
        if (!pargen.isEmpty())
            test::Write(project + QStringLiteral("/ParGen.xml"), pargen);
        if (!rules.isEmpty())
            test::Write(project + QStringLiteral("/LoRaWAN_SetAccess.xml"), rules);

        const Cli_Run run = Run_Cli(dir_.path(), {QStringLiteral("check"), name});
        QCOMPARE(run.code, code);
        for (const QString &message : messages)
            QVERIFY2(run.err.contains(message), qPrintable(run.err));
        if (messages.isEmpty())
            QCOMPARE(run.err, QString());
    }

    // Two objects served under one name, and one without a name: warnings
    // that refuse nothing, so the exit code stays 0 and compile succeeds.
    void object_name_warnings()
    {
        const QString name = QStringLiteral("Names");
        QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("new"), name}).code, 0);
        const QString project = dir_.path() + QStringLiteral("/PROJECTS/") + name;
        auto row = [](const char *position, const char *mnemonic) -> QByteArray {
            return QByteArray("<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"") + position +
                   "\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"" + mnemonic + "\"/>";
        };
        test::Write(project + QStringLiteral("/BACnet_Slave_SetAccess.xml"),
                    "<BACnet_to_Modbus><BACnet_in_Read>" + row("0", "Room temperature A") + row("4", "Room temperature B") +
                        row("8", "") + "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");

        const Cli_Run run = Run_Cli(dir_.path(), {QStringLiteral("check"), name});
        QCOMPARE(run.code, 0);
        const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        for (const QString &line : lines)
            QVERIFY2(line.startsWith(QStringLiteral("Warning: ")), qPrintable(line));
        // Cut to 16 characters both are "Room temperature".
        QVERIFY2(lines.at(0).contains(QStringLiteral("\"Room temperature\"")), qPrintable(lines.at(0)));
        QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("compile"), name}).code, 0);
    }

    void unknown_configuration()
    {
        const Cli_Run run = Run_Cli(dir_.path(), {QStringLiteral("check"), QStringLiteral("nothing")});
        QCOMPARE(run.code, 1);
        QCOMPARE(run.err, Messages().Get(18) + u'\n');
    }
};

QTEST_APPLESS_MAIN(Test_Cli_Check)
#include "test_cli_check.moc"
