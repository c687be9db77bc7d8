#include "core/messages.h"
#include "params/pargen_document.h"
#include "table_fixture.h"
#include "tables/object_document.h"
#include "tables/rule_document.h"
#include "tables/table_check.h"
#include "workspace/workspace.h"

#include <QTest>

class Test_Table_Check : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    Workspace ws_;

private slots:
    void initTestCase()
    {
        ws_.Path_Project = dir_.path();
        ws_.Set_Files();
    }

    void clean_documents()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51"));
        test::Write(ws_.File_LoRaWAN_Access, "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row StartByte=\"0\" NumByte=\"49\"/>"
                                             "</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>");
        const Table_Check check =
            Check_LoRaWAN_Access(Read_ParGen_Document(ws_.File_ParGen), Read_Rule_Document(ws_.File_LoRaWAN_Access));
        QVERIFY(check.As_OK().isEmpty());
        QVERIFY(check.As_OK().Texts(Severity::Error).isEmpty());
    }

    void warnings_then_the_failure()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("BACnet_Desc_Chars_Limit", "1"));
        QByteArray doc = "<BACnet_to_Modbus><BACnet_in_Read>";
        for (int i = 0; i < 1001; ++i)
            doc += "<row Data_Type=\"Access Door\" Eng_Unit=\"95\" Position=\"0\" Length=\"2\"/>";
        test::Write(ws_.File_BACnet_Slave_Access, doc + "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");
        const Table_Check check = Check_BACnet_Slave_Access(Read_ParGen_Document(ws_.File_ParGen),
                                                            Read_Object_Document(ws_.File_BACnet_Slave_Access));
        QVERIFY(!check.As_OK().isEmpty());
        QCOMPARE(check.As_OK().Texts(Severity::Error),
                 (QStringList{QStringLiteral("Warning!! 1 rows of the table \"BACnet in Read\" could not be shown: the "
                                             "table holds 1000 rows. They are lost if the table is saved."),
                              QStringLiteral("Error row 1!! [BACnet in Read] Length with variable \"Access Door\" "
                                             "must be equal to 1")}));

        // Rows at risk alone make the check unclean, though every rule passes.
        doc.replace("Length=\"2\"", "Length=\"1\"");
        test::Write(ws_.File_BACnet_Slave_Access, doc + "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");
        const Table_Check again = Check_BACnet_Slave_Access(Read_ParGen_Document(ws_.File_ParGen),
                                                            Read_Object_Document(ws_.File_BACnet_Slave_Access));
        QVERIFY(again.Failures.Ok());
        QVERIFY(!again.As_OK().isEmpty());
        QCOMPARE(again.As_OK().Texts(Severity::Error).size(), 1);
    }

    // A document that lacks one of its two groups (a misspelt name) fails
    // the check like a damaged one, naming the file and the group: the
    // compiler would take the group for an empty table. A missing file is
    // empty tables, no fault.
    void missing_group_data()
    {
        QTest::addColumn<bool>("objects");
        QTest::addColumn<QByteArray>("document"); // empty: no file
        QTest::addColumn<QStringList>("groups");  // the missing ones
        QTest::addColumn<QStringList>("tables");

        const QByteArray rule = "<row StartByte=\"0\" NumByte=\"4\"/>";
        const QByteArray object = "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Length=\"4\"/>";
        QTest::newRow("rules without downlink")
            << false << "<LoRaWAN_Set_Access><LoRaWAN_Uplink>" + rule + "</LoRaWAN_Uplink></LoRaWAN_Set_Access>"
            << QStringList{QStringLiteral("LoRaWAN_Downlink")} << QStringList{QStringLiteral("LoRaWAN Downlink")};
        QTest::newRow("rules, uplink in other letter case")
            << false
            << "<LoRaWAN_Set_Access><LoRaWAN_uplink>" + rule +
                   "</LoRaWAN_uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>"
            << QStringList{QStringLiteral("LoRaWAN_Uplink")} << QStringList{QStringLiteral("LoRaWAN Uplink")};
        QTest::newRow("objects, BACnet_In_Write misspelt")
            << true
            << "<BACnet_to_Modbus><BACnet_in_Read/><BACnet_In_Write>" + object + "</BACnet_In_Write></BACnet_to_Modbus>"
            << QStringList{QStringLiteral("BACnet_in_Write")} << QStringList{QStringLiteral("BACnet in Write")};
        QTest::newRow("objects, an empty root")
            << true << QByteArray("<BACnet_to_Modbus/>")
            << QStringList{QStringLiteral("BACnet_in_Read"), QStringLiteral("BACnet_in_Write")}
            << QStringList{QStringLiteral("BACnet in Read"), QStringLiteral("BACnet in Write")};
        QTest::newRow("rules, no file") << false << QByteArray() << QStringList() << QStringList();
        QTest::newRow("objects, no file") << true << QByteArray() << QStringList() << QStringList();
    }

    void missing_group()
    {
        QFETCH(bool, objects);
        QFETCH(QByteArray, document);
        QFETCH(QStringList, groups);
        QFETCH(QStringList, tables);
        test::Write(ws_.File_ParGen, test::ParGen_With("LoRa_Payload_Size", "51"));
        const QString path = objects ? ws_.File_BACnet_Slave_Access : ws_.File_LoRaWAN_Access;
        QFile::remove(path);
        if (!document.isEmpty())
            test::Write(path, document);

        const Table_Check check = objects
                                      ? Check_BACnet_Slave_Access(Read_ParGen_Document(ws_.File_ParGen),
                                                                  Read_Object_Document(ws_.File_BACnet_Slave_Access))
                                      : Check_LoRaWAN_Access(Read_ParGen_Document(ws_.File_ParGen),
                                                             Read_Rule_Document(ws_.File_LoRaWAN_Access));
        // The group that is there loads and passes: the missing one alone fails.
        QVERIFY(check.Failures.Ok());
        QCOMPARE(check.As_OK().isEmpty(), groups.isEmpty());
        QStringList problems;
        QStringList texts;
        for (qsizetype i = 0; i < groups.size(); ++i) {
            problems << Messages().Get(Msg_Table_Group_Missing).arg(QDir::toNativeSeparators(path), groups[i]);
            texts << Messages().Get(Msg_Table_Group_Starts_Empty).arg(problems.last(), tables[i]);
        }
        QCOMPARE(check.Report.Document_Problem, problems.join(u'\n'));
        QCOMPARE(check.As_OK().Texts(Severity::Error), texts);
    }
};

QTEST_APPLESS_MAIN(Test_Table_Check)
#include "test_table_check.moc"
