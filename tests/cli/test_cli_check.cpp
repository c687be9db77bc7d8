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
        QTest::newRow("bad Ethernet octet") << QByteArray("<Par_Gen><Ethernet_IP1>256</Ethernet_IP1></Par_Gen>")
                                            << QByteArray() << 1 << QStringList{Messages().Get(465)};
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
                    "<BACnet_to_Modbus><BACnet_in_Read>" + row("0", "Room temperature A") +
                        row("4", "Room temperature B") + row("8", "") +
                        "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");

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

    // --all: every bad parameter and every bad object row, one a line naming
    // document (table and row), then the warnings; the exit code as without
    // it. Without --all only the first failure of each document shows.
    void all_problems_data()
    {
        QTest::addColumn<QByteArray>("parameters"); // empty: as `new` made them
        QTest::addColumn<QByteArray>("objects");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("first_lines"); // without --all: the first failure of each document
        auto row = [](const char *unit, const char *position, const char *mnemonic) -> QByteArray {
            return QByteArray("<row Data_Type=\"Analog Input\" Eng_Unit=\"") + unit + "\" Position=\"" + position +
                   "\" Bit=\"\" Length=\"4\" Swap=\"N\" Mnemonic=\"" + mnemonic + "\"/>";
        };
        const auto doc = [](const QByteArray &read, const QByteArray &write) -> QByteArray {
            return "<BACnet_to_Modbus><BACnet_in_Read>" + read + "</BACnet_in_Read><BACnet_in_Write>" + write +
                   "</BACnet_in_Write></BACnet_to_Modbus>";
        };
        const QString file = QStringLiteral("BACnet_Slave_SetAccess.xml");
        const QString read = Messages().Get(1508);
        const QString write = Messages().Get(1509);
        QTest::newRow("bad rows")
            << QByteArray()
            << doc(row("62", "0", "a") + row("x", "4", "b") + row("62", "1500", "c"),
                   row("70000", "0", "d").replace("Analog Input", "Analog Out"))
            << 1
            << QStringList{Messages().Get(1167).arg(file, read, QStringLiteral("2"),
                                                    Messages().Get(1532) + u"2" + Messages().Get(1533)),
                           Messages().Get(1167).arg(file, read, QStringLiteral("3"),
                                                    Messages().Get(1532) + u"3" + Messages().Get(1534) + u"1499"),
                           Messages().Get(1167).arg(file, write, QStringLiteral("1"),
                                                    Messages().Get(1532) + u"1" + Messages().Get(1547))}
            << 1;
        QTest::newRow("overlap") << QByteArray() << doc(row("62", "0", "a") + row("62", "2", "b"), QByteArray()) << 0
                                 << QStringList{Messages().Get(1169).arg(
                                        file, Messages().Get(1153).arg(read).arg(2).arg(1).arg(2))}
                                 << 0;
        // Every bad parameter, each naming its document, before the rows.
        const QString pargen = QStringLiteral("ParGen.xml");
        QTest::newRow("bad parameters")
            << QByteArray("<Par_Gen><Ethernet_IP1>256</Ethernet_IP1><Ethernet_SM2>x</Ethernet_SM2>"
                          "<BACnet_PORT>10001</BACnet_PORT></Par_Gen>")
            << doc(row("x", "0", "a"), QByteArray()) << 1
            << QStringList{Messages().Get(1168).arg(pargen, Messages().Get(465)),
                           Messages().Get(1168).arg(pargen, Messages().Get(470)),
                           Messages().Get(1168).arg(pargen, Messages().Get(622)),
                           Messages().Get(1167).arg(file, read, QStringLiteral("1"),
                                                    Messages().Get(1532) + u"1" + Messages().Get(1533))}
            << 2;
    }

    void all_problems()
    {
        QFETCH(QByteArray, parameters);
        QFETCH(QByteArray, objects);
        QFETCH(int, code);
        QFETCH(QStringList, lines);
        QFETCH(int, first_lines);
        const QString name = QStringLiteral("All") + QString::fromLatin1(QTest::currentDataTag()).remove(u' ');
        QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("new"), name}).code, 0);
        const QString project = dir_.path() + QStringLiteral("/PROJECTS/") + name;
        test::Write(project + QStringLiteral("/BACnet_Slave_SetAccess.xml"), objects);
        if (!parameters.isEmpty())
            test::Write(project + QStringLiteral("/ParGen.xml"), parameters);

        const Cli_Run run = Run_Cli(dir_.path(), {QStringLiteral("check"), name, QStringLiteral("--all")});
        QCOMPARE(run.code, code);
        QCOMPARE(run.err.split(u'\n', Qt::SkipEmptyParts), lines);
        const Cli_Run first = Run_Cli(dir_.path(), {QStringLiteral("check"), name});
        QCOMPARE(first.code, code);
        if (code)
            QCOMPARE(first.err.split(u'\n', Qt::SkipEmptyParts).size(), first_lines);
    }

    // A rule is named by the number its grid shows, in its own text and in
    // the line that places it: both say 3 for the third row.
    void rule_rows_as_the_grid_shows()
    {
        const QString name = QStringLiteral("RuleRows");
        QCOMPARE(Run_Cli(dir_.path(), {QStringLiteral("new"), name}).code, 0);
        const QString project = dir_.path() + QStringLiteral("/PROJECTS/") + name;
        const QByteArray off("<row Enable=\"N\" StartByte=\"0\" NumByte=\"4\"/>");
        test::Write(project + QStringLiteral("/LoRaWAN_SetAccess.xml"),
                    "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + off + off +
                        "<row Enable=\"Y\" StartByte=\"2000\" NumByte=\"4\"/></LoRaWAN_Uplink>"
                        "<LoRaWAN_Downlink/></LoRaWAN_Set_Access>");

        const QString text = Messages().Get(1243) + u"3" + Messages().Get(1244);
        const Cli_Run first = Run_Cli(dir_.path(), {QStringLiteral("check"), name});
        QCOMPARE(first.code, 1);
        QVERIFY2(first.err.split(u'\n').contains(text), qPrintable(first.err));
        const Cli_Run all = Run_Cli(dir_.path(), {QStringLiteral("check"), name, QStringLiteral("--all")});
        QCOMPARE(all.code, 1);
        const QString line = Messages().Get(1167).arg(QStringLiteral("LoRaWAN_SetAccess.xml"), Messages().Get(1214),
                                                      QStringLiteral("3"), text);
        QVERIFY2(all.err.split(u'\n').contains(line), qPrintable(all.err));
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
