#include "table_fixture.h"
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
        const Table_Check check = Check_LoRaWAN_Access(ws_);
        QVERIFY(check.Clean());
        QVERIFY(check.Texts().isEmpty());
    }

    void warnings_then_the_failure()
    {
        test::Write(ws_.File_ParGen, test::ParGen_With("BACnet_Desc_Chars_Limit", "1"));
        QByteArray doc = "<BACnet_to_Modbus><BACnet_in_Read>";
        for (int i = 0; i < 1001; ++i)
            doc += "<row Data_Type=\"Access Door\" Eng_Unit=\"95\" Position=\"0\" Length=\"2\"/>";
        test::Write(ws_.File_BACnet_Slave_Access, doc + "</BACnet_in_Read></BACnet_to_Modbus>");
        const Table_Check check = Check_BACnet_Slave_Access(ws_);
        QVERIFY(!check.Clean());
        QCOMPARE(check.Texts(),
                 (QStringList{QStringLiteral("Warning!! 1 rows of the table \"BACnet in Read\" could not be shown: the "
                                             "table holds 1000 rows. They are lost if the table is saved."),
                              QStringLiteral("Error row 1!! [BACnet in Read] Length with variable \"Access Door\" "
                                             "must be equal to 1")}));

        // Rows at risk alone make the check unclean, though every rule passes.
        doc.replace("Length=\"2\"", "Length=\"1\"");
        test::Write(ws_.File_BACnet_Slave_Access, doc + "</BACnet_in_Read></BACnet_to_Modbus>");
        const Table_Check again = Check_BACnet_Slave_Access(ws_);
        QVERIFY(again.Check.Ok());
        QVERIFY(!again.Clean());
        QCOMPARE(again.Texts().size(), 1);
    }
};

QTEST_APPLESS_MAIN(Test_Table_Check)
#include "test_table_check.moc"
