#include "core/messages.h"
#include "table_fixture.h"
#include "tables/lora_access.h"

#include <QTest>

class Test_LoRa_Access : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }
    QString ParGen() const { return Path("ParGen.xml"); }
    QString Access() const { return Path("LoRaWAN_SetAccess.xml"); }

    void Write_Payload(const char *size) { test::Write(ParGen(), test::ParGen_With("LoRa_Payload_Size", size)); }

private slots:
    void init()
    {
        QFile::remove(ParGen());
        QFile::remove(Access());
    }

    void fresh_tables_without_documents()
    {
        LoRa_Set_Access rules;
        test::Fill(rules.Uplink, {QStringLiteral("N|1|2|Y|Y|Y|30|x")});
        const Load_Report report = rules.Load(ParGen(), Access());
        QCOMPARE(rules.Uplink.Row_Count(), 256);
        QCOMPARE(rules.Downlink.Row_Count(), 256);
        // Every row fresh again: Enable "Y", the rest empty; numbered from 1,
        // as the messages name the rows.
        for (int r : {0, 255}) {
            QCOMPARE(test::Row_Text(rules.Uplink, r), QStringLiteral("Y|||||||"));
            QCOMPARE(test::Row_Text(rules.Downlink, r), QStringLiteral("Y|||"));
        }
        QCOMPARE(rules.Uplink.headerData(0, Qt::Vertical).toInt(), 1);
        QCOMPARE(rules.Downlink.headerData(255, Qt::Vertical).toInt(), 256);
        QCOMPARE(rules.MaxPayloadSize, 0);
        // No payload size: only the warning of the missing setting.
        QCOMPARE(report.Warnings, QStringList{Messages().Get(1242)});
        QVERIFY(!report.Rows_At_Risk());
    }

    void payload_size_data()
    {
        QTest::addColumn<QByteArray>("pargen");
        QTest::addColumn<int>("size");
        QTest::newRow("set") << test::ParGen_With("LoRa_Payload_Size", "51") << 51;
        QTest::newRow("as typed") << test::ParGen_With("LoRa_Payload_Size", " 0x33") << 51;
        QTest::newRow("not a number") << test::ParGen_With("LoRa_Payload_Size", "51 ") << 0;
        QTest::newRow("missing key") << test::ParGen_With("LoRa_DataRate", "51") << 0;
        QTest::newRow("other case") << test::ParGen_With("lora_payload_size", "51") << 0;
    }

    void payload_size()
    {
        QFETCH(QByteArray, pargen);
        QFETCH(int, size);
        test::Write(ParGen(), pargen);
        LoRa_Set_Access rules;
        const Load_Report report = rules.Load(ParGen(), Access());
        QCOMPARE(rules.MaxPayloadSize, size);
        QCOMPARE(report.Warnings.contains(Messages().Get(1242)), size == 0);
    }

    void damaged_pargen_is_named()
    {
        test::Write(ParGen(), "<Par_Gen><LoRa_Payload_Size>51</Par_Gen>");
        LoRa_Set_Access rules;
        const Load_Report report = rules.Load(ParGen(), Access());
        QCOMPARE(rules.MaxPayloadSize, 0);
        QVERIFY(report.ParGen_Problem.contains(ParGen()));
        QCOMPARE(report.Warnings, (QStringList{report.ParGen_Problem, Messages().Get(1242)}));
    }

    void load_fills_rows_by_position()
    {
        Write_Payload("51");
        test::Write(Access(),
                    "<LoRaWAN_Set_Access>\n"
                    " <LoRaWAN_Uplink>\n"
                    "  <row Enable=\"N\" StartByte=\"0\" NumByte=\"10\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" "
                    "Time=\"600\" Mnemonic=\"a b \"/>\n"
                    "  <rule StartByte=\"5\" NumByte=\"2\"/>\n"
                    "  <row StartByte=\"7\" enable=\"N\"/>\n"
                    " </LoRaWAN_Uplink>\n"
                    " <LoRaWAN_Downlink><row Enable=\"N\" StartByte=\"010\" NumByte=\"\" Mnemonic=\"d\"/>"
                    "</LoRaWAN_Downlink>\n"
                    "</LoRaWAN_Set_Access><!--SW_VERSION = 1.000-->");
        LoRa_Set_Access rules;
        const Load_Report report = rules.Load(ParGen(), Access());
        QVERIFY(report.Warnings.isEmpty());
        QCOMPARE(test::Row_Text(rules.Uplink, 0), QStringLiteral("N|0|10|Y|N|Y|600|a b "));
        // Any element name is a row; missing attributes take their defaults,
        // and an attribute differing in letter case is missing.
        QCOMPARE(test::Row_Text(rules.Uplink, 1), QStringLiteral("Y|5|2|N|N|N||"));
        QCOMPARE(test::Row_Text(rules.Uplink, 2), QStringLiteral("Y|7||N|N|N||"));
        QCOMPARE(test::Row_Text(rules.Uplink, 3), QStringLiteral("Y|||||||"));
        QCOMPARE(test::Row_Text(rules.Downlink, 0), QStringLiteral("N|010||d"));
    }

    void missing_groups_are_empty_tables()
    {
        test::Write(Access(), "<LoRaWAN_Set_Access/>");
        LoRa_Set_Access rules;
        rules.Load(ParGen(), Access());
        QCOMPARE(test::Row_Text(rules.Uplink, 0), QStringLiteral("Y|||||||"));
        QCOMPARE(End_Of_Table(rules.Uplink, Up_StartByte), 0);
    }

    void damaged_document_falls_back_and_says_so()
    {
        Write_Payload("51");
        test::Write(Access(), "<LoRaWAN_Set_Access><LoRaWAN_Uplink><row StartByte=\"1\">");
        LoRa_Set_Access rules;
        const Load_Report report = rules.Load(ParGen(), Access());
        QVERIFY(report.Document_Problem.contains(Access()));
        QCOMPARE(report.Warnings, QStringList{Messages().Get(Msg_Table_Damaged).arg(report.Document_Problem)});
        QCOMPARE(End_Of_Table(rules.Uplink, Up_StartByte), 0);
    }

    void rows_beyond_the_table_are_reported()
    {
        Write_Payload("51");
        QByteArray doc = "<LoRaWAN_Set_Access><LoRaWAN_Uplink>";
        for (int i = 0; i < 260; ++i)
            doc += "<row StartByte=\"" + QByteArray::number(i) + "\" NumByte=\"1\"/>";
        doc += "</LoRaWAN_Uplink><LoRaWAN_Downlink/></LoRaWAN_Set_Access>";
        test::Write(Access(), doc);
        LoRa_Set_Access rules;
        const Load_Report report = rules.Load(ParGen(), Access());
        QCOMPARE(report.Rows_Not_Shown, (QList<int>{4, 0}));
        QCOMPARE(report.Warnings,
                 QStringList{QStringLiteral("Warning!! 4 rows of the table \"LoRaWAN Uplink\" could not be shown: "
                                            "the table holds 256 rows. They are lost if the table is saved.")});
        QCOMPARE(rules.Uplink.Cell(255, Up_StartByte), QStringLiteral("255"));
    }

    void rows_after_an_empty_start_byte_are_reported()
    {
        Write_Payload("51");
        test::Write(Access(), "<LoRaWAN_Set_Access><LoRaWAN_Uplink/><LoRaWAN_Downlink>"
                              "<row StartByte=\"1\"/><row NumByte=\"2\"/><row StartByte=\"3\"/>"
                              "</LoRaWAN_Downlink></LoRaWAN_Set_Access>");
        LoRa_Set_Access rules;
        const Load_Report report = rules.Load(ParGen(), Access());
        QCOMPARE(report.Rows_Not_Saved, (QList<int>{0, 2}));
        // The row is named by the number the grid shows.
        QCOMPARE(report.Warnings,
                 QStringList{QStringLiteral("Warning!! Row 2 of the table \"LoRaWAN Downlink\" has an empty "
                                            "\"Start Byte\": it ends the table, and the 2 rows from there on are "
                                            "lost if the table is saved.")});
    }

    void check_data()
    {
        QTest::addColumn<int>("payload");
        QTest::addColumn<QStringList>("uplink");   // Enable|Start|Num|OnChange|OnCMD|OnTimer|Time|Mnemonic
        QTest::addColumn<QStringList>("downlink"); // Enable|Start|Num|Mnemonic
        QTest::addColumn<QString>("error");        // empty: passes
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");

        const auto up = [](const char *s) { return QStringList{QString::fromLatin1(s)}; };
        const QStringList none;
        QTest::newRow("empty tables") << 51 << none << none << QString() << -1 << -1;
        QTest::newRow("num byte 0") << 51 << up("Y|0|0|N|N|N||") << none << QString() << -1 << -1;
        QTest::newRow("start 1536, only start checked")
            << 51 << up("Y|1536|40|N|N|N||") << none << QString() << -1 << -1;
        QTest::newRow("num byte at limit") << 51 << up("Y|0|49|N|N|N||") << none << QString() << -1 << -1;
        QTest::newRow("num byte in row 3")
            << 51
            << QStringList{QStringLiteral("Y|0|1|N|N|N||"), QStringLiteral("N|x|x|N|N|N||"),
                           QStringLiteral("Y|0|60|N|N|N||")}
            << none << QStringLiteral("Error row 3!! [LoraWAN Uplink] Number Byte must be between 0 and 49") << 0 << 2;
        QTest::newRow("start 1537") << 51 << up("Y|1537|1|N|N|N||") << none
                                    << QStringLiteral(
                                           "Error row 1!! [LoraWAN Uplink] Start Byte must be between 0 and 1536")
                                    << 0 << 0;
        QTest::newRow("start negative") << 51 << up("Y|-1|1|N|N|N||") << none
                                        << QStringLiteral(
                                               "Error row 1!! [LoraWAN Uplink] Start Byte must be between 0 and 1536")
                                        << 0 << 0;
        QTest::newRow("start not a number")
            << 51 << up(" Y|1.5|1|N|N|N||") << none
            << QStringLiteral("Error row 1!! [LoraWAN Uplink] Start Byte must be between 0 and 1536") << 0 << 0;
        QTest::newRow("start checked before num")
            << 51 << up("Y|2000|99|N|N|Y|1|") << none
            << QStringLiteral("Error row 1!! [LoraWAN Uplink] Start Byte must be between 0 and 1536") << 0 << 0;
        QTest::newRow("disabled not checked") << 51 << up("N|abc|999|N|N|Y|1|") << none << QString() << -1 << -1;
        QTest::newRow("lower-case y is not enabled") << 51 << up("y|abc|1|N|N|N||") << none << QString() << -1 << -1;
        QTest::newRow("time ignored without timer") << 51 << up("Y|0|1|N|N|N|10|") << none << QString() << -1 << -1;
        QTest::newRow("time 10 with timer")
            << 51 << up("Y|0|1|N|N|Y|10|") << none
            << QStringLiteral("Error row 1!! [LoraWAN Uplink] Time (s) must be between 30 and 86400") << 0 << 0;
        QTest::newRow("timer flag with blanks")
            << 51 << up("Y|0|1|N|N| Y |86401|") << none
            << QStringLiteral("Error row 1!! [LoraWAN Uplink] Time (s) must be between 30 and 86400") << 0 << 0;
        QTest::newRow("time bounds") << 51
                                     << QStringList{QStringLiteral("Y|0|1|N|N|Y|30|"),
                                                    QStringLiteral("Y|0|1|N|N|Y|86400|")}
                                     << none << QString() << -1 << -1;
        QTest::newRow("no payload size") << 0 << up("Y|0|0|N|N|N||") << none
                                         << QStringLiteral(
                                                "Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and -2")
                                         << 0 << 0;
        QTest::newRow("payload near 32-bit limit")
            << int(0x80000001) << up("Y|0|0|N|N|N||") << none
            << QStringLiteral("Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and -2147483649") << 0 << 0;
        QTest::newRow("only the rows above an empty start byte")
            << 51
            << QStringList{QStringLiteral("Y|0|1|N|N|N||"), QStringLiteral("Y|0|1|N|N|N||"),
                           QStringLiteral("Y| |99|N|N|N||"), QStringLiteral("Y|0|99|N|N|N||")}
            << none << QString() << -1 << -1;
        QTest::newRow("downlink start") << 51 << up("Y|0|1|N|N|N||")
                                        << QStringList{QStringLiteral("Y|0|1|"), QStringLiteral("Y|1537|1|")}
                                        << QStringLiteral(
                                               "Error row 2!! [LoraWAN Downlink] Start Byte must be between 0 and 1536")
                                        << 1 << 1;
        QTest::newRow("downlink num") << 11 << none << QStringList{QStringLiteral("Y|0|10|")}
                                      << QStringLiteral(
                                             "Error row 1!! [LoraWAN Downlink] Number Byte must be between 0 and 9")
                                      << 1 << 0;
        QTest::newRow("uplink first") << 11 << up("Y|0|10|N|N|N||") << QStringList{QStringLiteral("Y|0|10|")}
                                      << QStringLiteral(
                                             "Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and 9")
                                      << 0 << 0;
    }

    void check()
    {
        QFETCH(int, payload);
        QFETCH(QStringList, uplink);
        QFETCH(QStringList, downlink);
        QFETCH(QString, error);
        QFETCH(int, page);
        QFETCH(int, row);
        LoRa_Set_Access rules;
        rules.MaxPayloadSize = payload;
        test::Fill(rules.Uplink, uplink);
        test::Fill(rules.Downlink, downlink);
        const Problem_List result = rules.Controllo_Dati();
        QCOMPARE(result.Problem_Text(), error);
        QCOMPARE(result.Ok(), error.isEmpty());
        QCOMPARE(result.First().Page, page);
        QCOMPARE(result.First().Row, row);
    }

    void write_form()
    {
        LoRa_Set_Access rules;
        rules.MaxPayloadSize = 51;
        test::Fill(rules.Uplink, {QStringLiteral("Y|0|10|Y|N|Y|600|")});
        QCOMPARE(rules.Serialise(),
                 QByteArray("<LoRaWAN_Set_Access><LoRaWAN_Uplink><row Enable=\"Y\" StartByte=\"0\" NumByte=\"10\" "
                            "OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"600\" Mnemonic=\"\"/></LoRaWAN_Uplink>"
                            "<LoRaWAN_Downlink/></LoRaWAN_Set_Access><!--SW_VERSION = 1.000-->"));
    }

    void round_trip_keeps_text_and_ends_at_the_end_of_the_table()
    {
        Write_Payload("51");
        LoRa_Set_Access rules;
        rules.Load(ParGen(), Access());
        test::Fill(rules.Uplink, {QStringLiteral("N|abc| 010|Y|N|N|x|\"<&>\t é"), QStringLiteral("Y|1|2|N|N|N||"),
                                  QStringLiteral("Y|  |3|N|N|N||"), QStringLiteral("Y|4|5|N|N|N||")});
        test::Fill(rules.Downlink, {QStringLiteral("Y|0|1|d")});
        // OK refuses to lose row 4 (table_end_refusal); the document itself
        // holds the rules down to the end of the table.
        QVERIFY(!rules.Confirm(Access()));
        QVERIFY(!QFile::exists(Access()));
        QVERIFY(rules.Save(Access()));
        const QByteArray first = test::Read(Access());

        LoRa_Set_Access again;
        const Load_Report report = again.Load(ParGen(), Access());
        QVERIFY(report.Warnings.isEmpty());
        QCOMPARE(test::Row_Text(again.Uplink, 0), QStringLiteral("N|abc| 010|Y|N|N|x|\"<&>\t é"));
        QCOMPARE(test::Row_Text(again.Uplink, 1), QStringLiteral("Y|1|2|N|N|N||"));
        QCOMPARE(test::Row_Text(again.Uplink, 2), QStringLiteral("Y|||||||"));
        QCOMPARE(test::Row_Text(again.Uplink, 3), QStringLiteral("Y|||||||"));
        QCOMPARE(test::Row_Text(again.Downlink, 0), QStringLiteral("Y|0|1|d"));
        // Saving again without changes gives the same bytes.
        QVERIFY(again.Save(Access()));
        QCOMPARE(test::Read(Access()), first);
    }

    // OK refuses a table whose end would drop rows that hold text: it names
    // the row that ends the table (as the grid numbers it) and how many rows
    // from there on hold text, and points at the empty Start Byte. Check
    // boxes are no text. The rules above the end are checked first.
    void table_end_refusal_data()
    {
        QTest::addColumn<QStringList>("uplink");
        QTest::addColumn<QStringList>("downlink");
        QTest::addColumn<QString>("error"); // empty: saved
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");

        const QString up = Messages().Get(1214);
        const QString down = Messages().Get(1215);
        const auto lost = [](int number, const QString &table, int rows) {
            return QStringLiteral("Error!! Row %1 of the table \"%2\" has an empty \"Start Byte\": it ends the "
                                  "table, and %3 rows from there on hold text that saving would lose. Fill in "
                                  "\"Start Byte\" or delete those rows. Nothing was saved.")
                .arg(QString::number(number), table, QString::number(rows));
        };
        const QString rule = QStringLiteral("Y|0|10|N|N|N||r");
        const QString fresh = QStringLiteral("Y|||||||");

        QTest::newRow("inserted row in the middle")
            << QStringList{rule, rule, fresh, rule, rule, rule} << QStringList{} << lost(3, up, 3) << 0 << 2;
        QTest::newRow("end row holding a mnemonic only")
            << QStringList{rule, QStringLiteral("Y||||||| typed")} << QStringList{} << lost(2, up, 1) << 0 << 1;
        QTest::newRow("blank start byte ends the table too")
            << QStringList{rule, QStringLiteral("Y| ||||||"), QStringLiteral("N|||||||x")} << QStringList{}
            << lost(2, up, 1) << 0 << 1;
        QTest::newRow("downlink") << QStringList{rule} << QStringList{QStringLiteral("Y|||"), QStringLiteral("Y|5|1|")}
                                  << lost(1, down, 1) << 1 << 0;
        QTest::newRow("check boxes and blanks below are no text")
            << QStringList{rule, fresh, QStringLiteral("N|||Y|Y|Y||"), QStringLiteral("Y| |  ||||| ")}
            << QStringList{QStringLiteral("N|||")} << QString() << -1 << -1;
        QTest::newRow("no rules at all") << QStringList{} << QStringList{} << QString() << -1 << -1;
        QTest::newRow("a failing rule above is told first")
            << QStringList{QStringLiteral("Y|0|99|N|N|N||"), fresh, rule} << QStringList{}
            << QStringLiteral("Error row 1!! [LoraWAN Uplink] Number Byte must be between 0 and 49") << 0 << 0;
    }

    void table_end_refusal()
    {
        QFETCH(QStringList, uplink);
        QFETCH(QStringList, downlink);
        QFETCH(QString, error);
        QFETCH(int, page);
        QFETCH(int, row);
        test::Write(Access(), "<Old/>");
        LoRa_Set_Access rules;
        rules.MaxPayloadSize = 51;
        test::Fill(rules.Uplink, uplink);
        test::Fill(rules.Downlink, downlink);
        const Problem_List result = rules.Confirm(Access());
        QCOMPARE(result.Problem_Text(), error);
        if (error.isEmpty())
            return;
        QCOMPARE(result.First().Page, page);
        QCOMPARE(result.First().Row, row);
        if (result.First().Message == Msg_Rows_Would_Be_Lost)
            QCOMPARE(result.First().Column, int(Up_StartByte));
        QCOMPARE(test::Read(Access()), QByteArray("<Old/>"));
    }

    void failed_check_writes_nothing()
    {
        test::Write(Access(), "<Old/>");
        LoRa_Set_Access rules;
        rules.MaxPayloadSize = 51;
        test::Fill(rules.Uplink, {QStringLiteral("Y|0|50|N|N|N||")});
        const Problem_List result = rules.Confirm(Access());
        QVERIFY(!result);
        QCOMPARE(result.First().Message, 1245);
        QCOMPARE(result.Problem_Text(), rules.Controllo_Dati().Problem_Text());
        QCOMPARE(test::Read(Access()), QByteArray("<Old/>"));
    }

    void failed_write_is_reported()
    {
        LoRa_Set_Access rules;
        QVERIFY(rules.Controllo_Dati());
        const Problem_List result = rules.Confirm(Path("no/such/folder/LoRaWAN_SetAccess.xml"));
        QVERIFY(!result);
        QCOMPARE(result.First().Message, -1); // no rule failed: the write did
        QVERIFY(result.Problem_Text().contains(QStringLiteral("could not be written")));
    }

    // Every failing value of every enabled rule, uplink before downlink, in
    // grid order; the first is what OK shows.
    void all_problems_in_grid_order()
    {
        LoRa_Set_Access rules;
        rules.MaxPayloadSize = 12;
        test::Fill(rules.Uplink, {QStringLiteral("Y|1|2|Y|Y|Y|30|ok"), QStringLiteral("Y|1600|11|N|N|Y|5|two"),
                                  QStringLiteral("N|1600|99|N|N|Y|5|off"), QStringLiteral("Y|0|1|N|N|N|5|no timer"),
                                  QStringLiteral("Y|0|1|N|N|Y|90000|timer")});
        test::Fill(rules.Downlink, {QStringLiteral("Y|-1|2|a"), QStringLiteral("Y|0|2|b")});
        const Problem_List all = rules.All_Problems();
        QList<QList<int>> cells;
        for (const Problem &p : all)
            cells.append({p.Page, p.Row, p.Column, p.Message});
        const QList<QList<int>> expected{{Page_Uplink, 1, Up_StartByte, 1244},
                                         {Page_Uplink, 1, Up_NumByte, 1245},
                                         {Page_Uplink, 1, Up_Time, 1246},
                                         {Page_Uplink, 4, Up_Time, 1246},
                                         {Page_Downlink, 0, Down_StartByte, 1247}};
        QCOMPARE(cells, expected);
        QCOMPARE(all[1].Text, Messages().Get(1243) + u"2" + Messages().Get(1245) + u"10");
        const Problem_List first = rules.Controllo_Dati();
        QCOMPARE(first.Problem_Text(), all.at(0).Text);
        QCOMPARE(first.First().Column, Up_StartByte);
    }
};

QTEST_APPLESS_MAIN(Test_LoRa_Access)
#include "test_lora_access.moc"
