#include "compiler/compiler_buffers.h"
#include "compiler/encode_bacnet_objects.h"
#include "core/messages.h"
#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/object_document.h"
#include "tables/table_messages.h"

#include <QTest>

namespace {

// n valid objects "Analog Value" in rows 0 .. n-1.
void Fill_Valid(Text_Table &table, int n)
{
    const QStringList row{QStringLiteral("Analog Value"),
                          QStringLiteral("95"),
                          QStringLiteral("0"),
                          QString(),
                          QStringLiteral("4"),
                          QString(),
                          QString()};
    for (int r = 0; r < n; ++r)
        table.Set_Row(r, row);
}

} // namespace

class Test_BACnet_Access : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const char *name) const { return dir_.filePath(QLatin1StringView(name)); }
    QString ParGen() const { return Path("ParGen.xml"); }
    QString Access() const { return Path("BACnet_Slave_SetAccess.xml"); }

private slots:
    void init()
    {
        QFile::remove(ParGen());
        QFile::remove(Access());
    }

    void table_size_follows_description_length_data()
    {
        QTest::addColumn<QByteArray>("pargen");
        QTest::addColumn<int>("rows");
        QTest::newRow("no document") << QByteArray() << 2000;
        QTest::newRow("32 characters") << test::ParGen_With("BACnet_Desc_Chars_Limit", "1") << 1000;
        QTest::newRow("16 characters") << test::ParGen_With("BACnet_Desc_Chars_Limit", "0") << 2000;
        QTest::newRow("exactly 1 only") << test::ParGen_With("BACnet_Desc_Chars_Limit", " 1") << 2000;
        QTest::newRow("missing key") << test::ParGen_With("BACnet_Type", "1") << 2000;
        QTest::newRow("damaged") << QByteArray("<Par_Gen><BACnet_Desc_Chars_Limit>1</Par_Gen>") << 2000;
    }

    void table_size_follows_description_length()
    {
        QFETCH(QByteArray, pargen);
        QFETCH(int, rows);
        if (!pargen.isEmpty())
            test::Write(ParGen(), pargen);
        BACnet_Slave_Set_Access objects;
        const Load_Report report = objects.Load(ParGen(), Access());
        QCOMPARE(objects.Read.Row_Count(), rows);
        QCOMPARE(objects.Write.Row_Count(), rows);
        QCOMPARE(objects.Max_Objects(), rows);
        QCOMPARE(objects.NByte_IN, 1500);
        QCOMPARE(objects.NByte_OUT, 1500);
        QCOMPARE(report.Warnings.size(), report.ParGen_Problem.isEmpty() ? 0 : 1);
        QCOMPARE(objects.Read.Column(Obj_Position).items.size(), 1500);
        QCOMPARE(objects.Write.Column(Obj_Position).items.last(), QStringLiteral("1499"));
        QCOMPARE(objects.Read.Row_Number(0), 1);
    }

    void columns_and_type_lists()
    {
        BACnet_Slave_Set_Access objects;
        QCOMPARE(
            objects.Read.Column(Obj_Data_Type).items,
            (QStringList{QStringLiteral("Analog Input"), QStringLiteral("Analog Value"), QStringLiteral("Binary Input"),
                         QStringLiteral("Binary Value"), QStringLiteral("Positive Integer Value"),
                         QStringLiteral("Large Analog Value"), QStringLiteral("Integer Value"),
                         QStringLiteral("Multi State Input"), QStringLiteral("Multi State Value"),
                         QStringLiteral("Life Safety Point"), QStringLiteral("Life Safety Zone"),
                         QStringLiteral("Access Door"), QStringLiteral("Accumulator")}));
        QCOMPARE(objects.Write.Column(Obj_Data_Type).items,
                 (QStringList{QStringLiteral("Analog Out"), QStringLiteral("Analog Value"),
                              QStringLiteral("Binary Out"), QStringLiteral("Binary Value"),
                              QStringLiteral("Positive Integer Value"), QStringLiteral("Large Analog Value"),
                              QStringLiteral("Integer Value"), QStringLiteral("Multi State Output"),
                              QStringLiteral("Multi State Value"), QStringLiteral("Access Door")}));
        QCOMPARE(objects.Read.Column(Obj_Bit).items.size(), 8);
        QVERIFY(objects.Write.Column(Obj_Swap).hidden);
        QCOMPARE(objects.Write.Column(Obj_Swap).kind, Cell_Kind::Check);
        QCOMPARE(objects.Read.headerData(Obj_Mnemonic, Qt::Horizontal).toString(), QStringLiteral("Mnemonic"));
    }

    // Eng. Unit shows the unit's name; the cell and the document keep the
    // number. The Mnemonic's tip tells where the device cuts it: 16
    // characters, or 32 with long descriptions.
    void readable_cells_data()
    {
        QTest::addColumn<QByteArray>("pargen");
        QTest::addColumn<int>("kept");
        QTest::newRow("16 characters") << QByteArray() << 16;
        QTest::newRow("32 characters") << test::ParGen_With("BACnet_Desc_Chars_Limit", "1") << 32;
    }

    void readable_cells()
    {
        QFETCH(QByteArray, pargen);
        QFETCH(int, kept);
        if (!pargen.isEmpty())
            test::Write(ParGen(), pargen);
        const QString at_limit(kept, u'n');
        const QString over = at_limit + QStringLiteral("cut");
        const QString short_name(16, u's');
        test::Write(Access(),
                    "<BACnet_to_Modbus><BACnet_in_Read>"
                    "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" "
                    "Swap=\"N\" Mnemonic=\"" +
                        over.toUtf8() +
                        "\"/>"
                        "<row Data_Type=\"Analog Input\" Eng_Unit=\"abc\" Position=\"4\" Bit=\"\" Length=\"4\" "
                        "Swap=\"N\" Mnemonic=\"" +
                        at_limit.toUtf8() +
                        "\"/>"
                        "</BACnet_in_Read><BACnet_in_Write>"
                        "<row Data_Type=\"Analog Out\" Eng_Unit=\"236\" Position=\"0\" Bit=\"\" Length=\"4\" "
                        "Swap=\"N\" Mnemonic=\"" +
                        over.toUtf8() +
                        "\"/>"
                        "<row Data_Type=\"Analog Out\" Eng_Unit=\"237\" Position=\"4\" Bit=\"\" Length=\"4\" "
                        "Swap=\"N\" Mnemonic=\"" +
                        short_name.toUtf8() +
                        "\"/>"
                        "</BACnet_in_Write></BACnet_to_Modbus>");
        BACnet_Slave_Set_Access objects;
        objects.Load(ParGen(), Access());
        QCOMPARE(objects.Desc_Chars(), kept);
        const auto shown = [](const Text_Table &t, int r) { return t.index(r, Obj_Eng_Unit).data().toString(); };
        QCOMPARE(shown(objects.Read, 0), QStringLiteral("62  degrees-Celsius"));
        QCOMPARE(shown(objects.Read, 1), QStringLiteral("abc"));
        QCOMPARE(shown(objects.Write, 0), QStringLiteral("236  minutes-per-degree-kelvin"));
        QCOMPARE(shown(objects.Write, 1), QStringLiteral("237"));
        QCOMPARE(objects.Read.index(0, Obj_Eng_Unit).data(Qt::EditRole).toString(), QStringLiteral("62"));
        QCOMPARE(objects.Read.Cell(0, Obj_Eng_Unit), QStringLiteral("62"));

        const auto tip = [](const Text_Table &t, int r) { return t.index(r, Obj_Mnemonic).data(Qt::ToolTipRole); };
        const QString cut = Messages().Get(Msg_Text_Cut).arg(QString::number(kept), at_limit);
        QCOMPARE(tip(objects.Read, 0).toString(), cut);
        QCOMPARE(tip(objects.Write, 0).toString(), cut);
        QVERIFY(!tip(objects.Read, 1).isValid());
        QVERIFY(!tip(objects.Write, 1).isValid());
        QCOMPARE(objects.Read.index(0, Obj_Mnemonic).data().toString(), over);

        // Saved as loaded: numbers without names, names uncut.
        QVERIFY(objects.Save(Access()));
        const QByteArray saved = test::Read(Access());
        QVERIFY(saved.contains("Eng_Unit=\"62\" Position"));
        QVERIFY(saved.contains(QByteArray("Mnemonic=\"" + over.toUtf8() + '"')));
        QVERIFY(!saved.contains("degrees"));
    }

    void load_keeps_every_row()
    {
        test::Write(Access(),
                    "<BACnet_to_Modbus>"
                    "<BACnet_in_Read>"
                    "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" "
                    "Swap=\"Y\" Mnemonic=\"Temperature\"/>"
                    "<row Data_Type=\"Binary Input\" Position=\"4\" Bit=\"3\" Mnemonic=\"no unit, no length\"/>"
                    "<row Data_Type=\"Analog Value\" Eng_Unit=\"95\" Position=\"5\" Length=\"2\" Mnemonic=\"x\"/>"
                    "</BACnet_in_Read>"
                    "</BACnet_to_Modbus><!--SW_VERSION = 1.000-->");
        BACnet_Slave_Set_Access objects;
        const Load_Report report = objects.Load(ParGen(), Access());
        // The missing group is told before anything else.
        QCOMPARE(report.Warnings.size(), 1);
        QVERIFY2(report.Document_Problem.contains(QStringLiteral("no group BACnet_in_Write")),
                 qPrintable(report.Document_Problem));
        QCOMPARE(test::Row_Text(objects.Read, 0), QStringLiteral("Analog Input|62|0||4|Y|Temperature"));
        // A missing attribute reads as empty text (Swap as "N"), and the rows
        // after it are all there.
        QCOMPARE(test::Row_Text(objects.Read, 1), QStringLiteral("Binary Input||4|3||N|no unit, no length"));
        QCOMPARE(test::Row_Text(objects.Read, 2), QStringLiteral("Analog Value|95|5||2|N|x"));
        QCOMPARE(End_Of_Table(objects.Read, Obj_Data_Type), 3);
        // The missing group is an empty table.
        QCOMPARE(End_Of_Table(objects.Write, Obj_Data_Type), 0);
        // The check then refuses what needs a value.
        const Problem_List result = objects.Controllo_Dati();
        QCOMPARE(result.Problem_Text(),
                 QStringLiteral("Error row 2!! [BACnet in Read] Eng. Unit must be between 0 and 65535"));
        QCOMPARE(result.First().Row, 1);
        QCOMPARE(result.First().Column, int(Obj_Eng_Unit));
    }

    // Each attribute by its name, whatever the order in the row; a value
    // repeated from the row above reads the same as any other.
    void attributes_in_any_order_data()
    {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QStringList>("expected");
        const QString first = QStringLiteral("Analog Input|62|0||4|N|a");
        QTest::newRow("in column order")
            << QByteArray("<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" "
                          "Swap=\"N\" Mnemonic=\"a\"/>")
            << QStringList{first};
        QTest::newRow("reversed")
            << QByteArray("<row Mnemonic=\"a\" Swap=\"N\" Length=\"4\" Bit=\"\" Position=\"0\" Eng_Unit=\"62\" "
                          "Data_Type=\"Analog Input\"/>")
            << QStringList{first};
        QTest::newRow("other attributes between")
            << QByteArray("<row Data_Type=\"Analog Input\" Note=\"n\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" "
                          "Length=\"4\" Mnemonic=\"a\" Extra=\"e\"/>")
            << QStringList{first};
        QTest::newRow("repeated, missing, repeated again")
            << QByteArray("<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Mnemonic=\"a\"/>"
                          "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Mnemonic=\"a\"/>"
                          "<row Data_Type=\"Analog Input\" Mnemonic=\"\"/>"
                          "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Mnemonic=\"b\"/>")
            << QStringList{QStringLiteral("Analog Input|62||||N|a"), QStringLiteral("Analog Input|62||||N|a"),
                           QStringLiteral("Analog Input|||||N|"), QStringLiteral("Analog Input|62||||N|b")};
    }

    void attributes_in_any_order()
    {
        QFETCH(QByteArray, rows);
        QFETCH(QStringList, expected);
        test::Write(Access(), "<BACnet_to_Modbus><BACnet_in_Read>" + rows +
                                  "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");
        BACnet_Slave_Set_Access objects;
        QVERIFY(objects.Load(ParGen(), Access()).Document_Problem.isEmpty());
        for (int r = 0; r < expected.size(); ++r)
            QCOMPARE(test::Row_Text(objects.Read, r), expected[r]);
        QCOMPARE(End_Of_Table(objects.Read, Obj_Data_Type), expected.size());
    }

    // Of two attributes of one name neither counts: the document is
    // damaged, the tables start empty, and the problem names the row's line
    // and the attribute.
    void repeated_attribute_damages_the_document()
    {
        test::Write(Access(), "<BACnet_to_Modbus><BACnet_in_Read>\n"
                              "<row Data_Type=\"Analog Input\" Position=\"0\" Position=\"9\"/>\n"
                              "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus>");
        BACnet_Slave_Set_Access objects;
        const Load_Report report = objects.Load(ParGen(), Access());
        const QString problem =
            Messages()
                .Get(Msg_File_Damaged)
                .arg(Access(), QStringLiteral("2"), QStringLiteral("44"),
                     Messages().Get(Msg_Xml_Attribute_Twice).arg(QStringLiteral("row"), QStringLiteral("Position")));
        QCOMPARE(report.Document_Problem, problem);
        QCOMPARE(report.Warnings, QStringList{Messages().Get(Msg_Table_Damaged).arg(problem)});
        QCOMPARE(End_Of_Table(objects.Read, Obj_Data_Type), 0);
    }

    void rows_at_risk_are_reported()
    {
        test::Write(ParGen(), test::ParGen_With("BACnet_Desc_Chars_Limit", "1"));
        QByteArray doc = "<BACnet_to_Modbus><BACnet_in_Read>";
        for (int i = 0; i < 1003; ++i)
            doc += "<row Data_Type=\"Analog Input\" Eng_Unit=\"95\" Position=\"0\" Bit=\"\" Length=\"1\" "
                   "Mnemonic=\"\"/>";
        doc += "</BACnet_in_Read><BACnet_in_Write><row Eng_Unit=\"95\"/><row Data_Type=\"Analog Out\"/>"
               "</BACnet_in_Write></BACnet_to_Modbus>";
        test::Write(Access(), doc);
        BACnet_Slave_Set_Access objects;
        const Load_Report report = objects.Load(ParGen(), Access());
        QCOMPARE(report.Rows_Not_Shown, (QList<int>{3, 0}));
        QCOMPARE(report.Rows_Not_Saved, (QList<int>{0, 2}));
        QVERIFY(report.Rows_At_Risk());
        QCOMPARE(report.Warnings,
                 (QStringList{QStringLiteral("Warning!! 3 rows of the table \"BACnet in Read\" could not be shown: "
                                             "the table holds 1000 rows. They are lost if the table is saved."),
                              QStringLiteral("Warning!! Row 1 of the table \"BACnet in Write\" has an empty "
                                             "\"Data Type\": it ends the table, and the 2 rows from there on are "
                                             "lost if the table is saved.")}));
    }

    void check_data()
    {
        // Rows: Data Type|Eng. Unit|Position|Start Bit|Length|Swap|Mnemonic
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QString>("error"); // empty: passes
        QTest::addColumn<int>("message");

        const auto one = [](const char *s) { return QStringList{QString::fromLatin1(s)}; };
        const QStringList none;
        const auto err = [](const char *s) -> QString { return QStringLiteral("Error row ") + QString::fromLatin1(s); };

        QTest::newRow("last byte 1499") << one("Analog Input|62|1496||4||") << none << QString() << -1;
        QTest::newRow("last byte 1500")
            << one("Analog Input|62|1497||4||") << none
            << err("1!! [BACnet in Read] Too many bytes to save starting from the indicated Position") << 1546;
        QTest::newRow("empty length reads 0")
            << one("Analog Input|62|0||||") << none
            << err("1!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and 4") << 1535;
        QTest::newRow("binary without bit, read")
            << one("Binary Value|0|0||1||") << none << err("1!! [BACnet in Read] Bit must be between 0 and 7") << 1545;
        QTest::newRow("binary without bit, write")
            << none << one("Binary Value|0|0||1||") << err("1!! [BACnet in Write] Bit must be between 0 and 7") << 1557;
        QTest::newRow("binary with bit, any integer length")
            << one("Binary Input|0|1499|3|999||") << one("Binary Out|0|0|7|-5||") << QString() << -1;
        QTest::newRow("blank bit counts as set") << one("Binary Input|0|0| |1||") << none << QString() << -1;
        QTest::newRow("read integer value, no length rule")
            << one("Integer Value|0|0||100||") << none << QString() << -1;
        QTest::newRow("write integer value, length rule")
            << none << one("Integer Value|0|0||100||")
            << err("1!! [BACnet in Write] Length with variable \"Integer Value\" must be between 1 and 4") << 1553;
        QTest::newRow("huge length does not wrap")
            << one("Integer Value|0|10||2147483647||") << none
            << err("1!! [BACnet in Read] Too many bytes to save starting from the indicated Position") << 1546;
        // The type is read letter case aside, as the compiler reads it.
        QTest::newRow("other case: the type's length rule")
            << one("analog input|0|0||9||") << none
            << err("1!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and 4") << 1535;
        QTest::newRow("other case: last byte still checked")
            << one("analog input|0|1497||4||") << none
            << err("1!! [BACnet in Read] Too many bytes to save starting from the indicated Position") << 1546;
        QTest::newRow("write-only type in read: refused")
            << one("Analog Out|0|0||4||") << none
            << err("1!! [BACnet in Read] Data Type \"Analog Out\" is not one of the types of this table: choose one "
                   "from its list")
            << 1561;
        QTest::newRow("read-only binary in write: refused")
            << none << one("Binary Input|0|0|0|1||")
            << err("1!! [BACnet in Write] Data Type \"Binary Input\" is not one of the types of this table: choose "
                   "one from its list")
            << 1561;
        QTest::newRow("unit 65535") << one("Analog Value|65535|0||1||") << none << QString() << -1;
        QTest::newRow("unit 65536") << one("Analog Value|65536|0||1||") << none
                                    << err("1!! [BACnet in Read] Eng. Unit must be between 0 and 65535") << 1533;
        QTest::newRow("unit -1") << one("Analog Value|-1|0||1||") << none
                                 << err("1!! [BACnet in Read] Eng. Unit must be between 0 and 65535") << 1533;
        QTest::newRow("unit in hex") << one("Analog Value|0xFFFF|0||1||") << none << QString() << -1;
        QTest::newRow("unit write") << none << one("Analog Value||0||1||")
                                    << err("1!! [BACnet in Write] Eng. Unit must be between 0 and 65535") << 1547;
        QTest::newRow("position 1500") << one("Analog Value|0|1500||1||") << none
                                       << err("1!! [BACnet in Read] Position must be between 0 and 1499") << 1534;
        QTest::newRow("position empty, write")
            << none << QStringList{QStringLiteral("Analog Out|0|0||4||"), QStringLiteral("Analog Out|0|||4||")}
            << err("2!! [BACnet in Write] Position must be between 0 and 1499") << 1548;
        QTest::newRow("unit checked before position")
            << one("Analog Value|x|x||x||") << none << err("1!! [BACnet in Read] Eng. Unit must be between 0 and 65535")
            << 1533;
        QTest::newRow("life safety point 3")
            << one("Life Safety Point|0|0||3||") << none
            << err("1!! [BACnet in Read] Length with variable \"Life Safety Point\" must be 1 or 2") << 1541;
        QTest::newRow("life safety zone 0")
            << one("Life Safety Zone|0|0||0||") << none
            << err("1!! [BACnet in Read] Length with variable \"Life Safety Zone\" must be 1 or 2") << 1542;
        QTest::newRow("access door 2")
            << one("Access Door|0|0||2||") << none
            << err("1!! [BACnet in Read] Length with variable \"Access Door\" must be equal to 1") << 1543;
        QTest::newRow("access door write 2")
            << none << one("Access Door|0|0||2||")
            << err("1!! [BACnet in Write] Length with variable \"Access Door\" must be equal to 1") << 1556;
        QTest::newRow("large analog 8 and 9")
            << QStringList{QStringLiteral("Large Analog Value|0|0||8||"), QStringLiteral("Large Analog Value|0|0||9||")}
            << none << err("2!! [BACnet in Read] Length with variable \"Large Analog Value\" must be between 1 and 8")
            << 1537;
        QTest::newRow("accumulator 5")
            << one("Accumulator|0|0||5||") << none
            << err("1!! [BACnet in Read] Length with variable \"Accumulator\" must be between 1 and 4") << 1544;
        QTest::newRow("multi state output 5")
            << none << one("Multi State Output|0|0||5||")
            << err("1!! [BACnet in Write] Length with variable \"Multi State Output\" must be between 1 and 4") << 1554;
        QTest::newRow("write last byte")
            << none << one("Analog Out|0|1499||2||")
            << err("1!! [BACnet in Write] Too many bytes to save starting from the indicated Position") << 1558;
        QTest::newRow("read before write")
            << one("Analog Input|0|0||9||") << one("Analog Out|0|0||9||")
            << err("1!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and 4") << 1535;
        QTest::newRow("same position twice")
            << QStringList{QStringLiteral("Analog Input|0|7||4||"), QStringLiteral("Analog Input|0|7||4||")} << none
            << QString() << -1;
        QTest::newRow("only rows above an empty data type")
            << QStringList{QStringLiteral("Analog Input|0|0||4||"), QStringLiteral(" |x|x||x||"),
                           QStringLiteral("Analog Input|x|0||4||")}
            << none << QString() << -1;
    }

    void check()
    {
        QFETCH(QStringList, read);
        QFETCH(QStringList, write);
        QFETCH(QString, error);
        QFETCH(int, message);
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, read);
        test::Fill(objects.Write, write);
        const Problem_List result = objects.Controllo_Dati();
        QCOMPARE(result.Problem_Text(), error);
        QCOMPARE(result.Ok(), error.isEmpty());
        QCOMPARE(result.First().Message, message);
    }

    // Every Length rule of both tables at its edges: the smallest and the
    // largest allowed Length pass, one below and one above fail with the
    // rule's own message. The object stands in the second row of its table
    // at Position 0, so no other rule can fail first.
    void length_rules_at_their_edges_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("error"); // empty: passes
        QTest::addColumn<int>("message");

        struct Rule
        {
            int page;
            const char *type;
            int min, max;
            int message;
            const char *text;
        };
        const Rule rules[] = {
            {Page_Read, "Analog Input", 1, 4, 1535,
             "!! [BACnet in Read] Length with variable \"Analog Input\" must be between 1 and 4"},
            {Page_Read, "Positive Integer Value", 1, 4, 1536,
             "!! [BACnet in Read] Length with variable \"Positive Integer Value\" must be between 1 and 4"},
            {Page_Read, "Large Analog Value", 1, 8, 1537,
             "!! [BACnet in Read] Length with variable \"Large Analog Value\" must be between 1 and 8"},
            {Page_Read, "Analog Value", 1, 4, 1538,
             "!! [BACnet in Read] Length with variable \"Analog Value\" must be between 1 and 4"},
            {Page_Read, "Multi State Input", 1, 4, 1539,
             "!! [BACnet in Read] Length with variable \"Multi State Input\" must be between 1 and 4"},
            {Page_Read, "Multi State Value", 1, 4, 1540,
             "!! [BACnet in Read] Length with variable \"Multi State Value\" must be between 1 and 4"},
            {Page_Read, "Life Safety Point", 1, 2, 1541,
             "!! [BACnet in Read] Length with variable \"Life Safety Point\" must be 1 or 2"},
            {Page_Read, "Life Safety Zone", 1, 2, 1542,
             "!! [BACnet in Read] Length with variable \"Life Safety Zone\" must be 1 or 2"},
            {Page_Read, "Access Door", 1, 1, 1543,
             "!! [BACnet in Read] Length with variable \"Access Door\" must be equal to 1"},
            {Page_Read, "Accumulator", 1, 4, 1544,
             "!! [BACnet in Read] Length with variable \"Accumulator\" must be between 1 and 4"},
            {Page_Write, "Analog Out", 1, 4, 1549,
             "!! [BACnet in Write] Length with variable \"Analog Out\" must be between 1 and 4"},
            {Page_Write, "Analog Value", 1, 4, 1550,
             "!! [BACnet in Write] Length with variable \"Analog Value\" must be between 1 and 4"},
            {Page_Write, "Positive Integer Value", 1, 4, 1551,
             "!! [BACnet in Write] Length with variable \"Positive Integer Value\" must be between 1 and 4"},
            {Page_Write, "Large Analog Value", 1, 8, 1552,
             "!! [BACnet in Write] Length with variable \"Large Analog Value\" must be between 1 and 8"},
            {Page_Write, "Integer Value", 1, 4, 1553,
             "!! [BACnet in Write] Length with variable \"Integer Value\" must be between 1 and 4"},
            {Page_Write, "Multi State Output", 1, 4, 1554,
             "!! [BACnet in Write] Length with variable \"Multi State Output\" must be between 1 and 4"},
            {Page_Write, "Multi State Value", 1, 4, 1555,
             "!! [BACnet in Write] Length with variable \"Multi State Value\" must be between 1 and 4"},
            {Page_Write, "Access Door", 1, 1, 1556,
             "!! [BACnet in Write] Length with variable \"Access Door\" must be equal to 1"},
        };
        for (const Rule &rule : rules) {
            const QString type = QString::fromLatin1(rule.type);
            const QString error = QStringLiteral("Error row 2") + QString::fromLatin1(rule.text);
            const char *table = rule.page == Page_Read ? "Read" : "Write";
            const auto row = [&](const char *edge, int length) -> QTestData & {
                return QTest::addRow("%s %s, %s %d", table, rule.type, edge, length);
            };
            row("largest", rule.max) << rule.page << type << rule.max << QString() << -1;
            row("above", rule.max + 1) << rule.page << type << rule.max + 1 << error << rule.message;
            row("smallest", rule.min) << rule.page << type << rule.min << QString() << -1;
            row("below", rule.min - 1) << rule.page << type << rule.min - 1 << error << rule.message;
        }
    }

    void length_rules_at_their_edges()
    {
        QFETCH(int, page);
        QFETCH(QString, type);
        QFETCH(int, length);
        QFETCH(QString, error);
        QFETCH(int, message);
        BACnet_Slave_Set_Access objects;
        Text_Table &table = page == Page_Read ? objects.Read : objects.Write;
        test::Fill(table,
                   {QStringLiteral("Analog Value|95|0||1||"), QStringLiteral("%1|95|0||%2||").arg(type).arg(length)});
        const Problem_List result = objects.Controllo_Dati();
        QCOMPARE(result.Problem_Text(), error);
        QCOMPARE(result.Ok(), error.isEmpty());
        QCOMPARE(result.First().Message, message);
    }

    void object_count_limit_data()
    {
        QTest::addColumn<QByteArray>("limit");
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("write");
        QTest::addColumn<QString>("error");
        QTest::newRow("1000: 600 + 400") << QByteArray("1") << 600 << 400 << QString();
        QTest::newRow("1000: 600 + 401") << QByteArray("1") << 600 << 401
                                         << QStringLiteral("Error!! Too many Objects. Max objects 1000");
        QTest::newRow("1000: full tables")
            << QByteArray("1") << 1000 << 1000 << QStringLiteral("Error!! Too many Objects. Max objects 1000");
        QTest::newRow("2000: 2000 + 0") << QByteArray("0") << 2000 << 0 << QString();
        QTest::newRow("2000: 1999 + 2") << QByteArray("0") << 1999 << 2
                                        << QStringLiteral("Error!! Too many Objects. Max objects 2000");
    }

    void object_count_limit()
    {
        QFETCH(QByteArray, limit);
        QFETCH(int, read);
        QFETCH(int, write);
        QFETCH(QString, error);
        test::Write(ParGen(), test::ParGen_With("BACnet_Desc_Chars_Limit", limit.constData()));
        BACnet_Slave_Set_Access objects;
        objects.Load(ParGen(), Access());
        Fill_Valid(objects.Read, read);
        Fill_Valid(objects.Write, write);
        Problem_List result = objects.Controllo_Dati();
        QCOMPARE(result.Problem_Text(), error);

        // A row that fails its own rule is reported before the count.
        if (!error.isEmpty()) {
            objects.Write.Set_Cell(write - 1, Obj_Length, QStringLiteral("5"));
            result = objects.Controllo_Dati();
            QCOMPARE(result.First().Message, 1550);
        }
    }

    // OK refuses to drop objects below the row that ends a table; the
    // hidden Swap check box is no text.
    void table_end_refusal_data()
    {
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QString>("error"); // empty: passes
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");
        const QString object = QStringLiteral("Analog Value|95|0||4|N|a");
        const auto lost = [](int number, int table, int rows) {
            return QStringLiteral("Error!! Row %1 of the table \"%2\" has an empty \"Data Type\": it ends the "
                                  "table, and %3 rows from there on hold text that saving would lose. Fill in "
                                  "\"Data Type\" or delete those rows. Nothing was saved.")
                .arg(QString::number(number), Messages().Get(table), QString::number(rows));
        };
        QTest::newRow("read: inserted row") << QStringList{object, object, QStringLiteral("||||||"), object, object}
                                            << QStringList{} << lost(3, 1508, 2) << int(Page_Read) << 2;
        QTest::newRow("write: end row holding a mnemonic only")
            << QStringList{object} << QStringList{object, QStringLiteral("|||||N|Pump")} << lost(2, 1509, 1)
            << int(Page_Write) << 1;
        QTest::newRow("swap alone is no text")
            << QStringList{object, QStringLiteral("|||||N|"), QStringLiteral("|||||Y|")} << QStringList{} << QString()
            << -1 << -1;
    }

    void table_end_refusal()
    {
        QFETCH(QStringList, read);
        QFETCH(QStringList, write);
        QFETCH(QString, error);
        QFETCH(int, page);
        QFETCH(int, row);
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, read);
        test::Fill(objects.Write, write);
        QVERIFY(objects.Controllo_Dati());
        const Problem_List result = objects.Confirm(Access());
        QCOMPARE(result.Problem_Text(), error);
        QCOMPARE(QFile::exists(Access()), error.isEmpty());
        if (error.isEmpty())
            return;
        QCOMPARE(result.First().Message, int(Msg_Rows_Would_Be_Lost));
        QCOMPARE(result.First().Page, page);
        QCOMPARE(result.First().Row, row);
        QCOMPARE(result.First().Column, int(Obj_Data_Type));
    }

    void write_form()
    {
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read, {QStringLiteral("Analog Input|62|0||4||Temperature")});
        QCOMPARE(objects.Serialise(),
                 QByteArray("<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\" "
                            "Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"\" Mnemonic=\"Temperature\"/>"
                            "</BACnet_in_Read><BACnet_in_Write/></BACnet_to_Modbus><!--SW_VERSION = 1.000-->"));
    }

    void round_trip_writes_swap_back()
    {
        test::Write(Access(), "<BACnet_to_Modbus><BACnet_in_Read/><BACnet_in_Write>"
                              "<row Data_Type=\"Analog Out\" Eng_Unit=\"95\" Position=\"0\" Bit=\"\" Length=\"4\" "
                              "Mnemonic=\"a\"/>"
                              "<row Data_Type=\"Binary Out\" Eng_Unit=\"95\" Position=\"1\" Bit=\"0\" Length=\"1\" "
                              "Swap=\"Y\" Mnemonic=\"b\"/>"
                              "</BACnet_in_Write></BACnet_to_Modbus>");
        BACnet_Slave_Set_Access objects;
        objects.Load(ParGen(), Access());
        const Problem_List saved = objects.Confirm(Access());
        QVERIFY2(saved, qPrintable(saved.Problem_Text()));
        const QByteArray bytes = test::Read(Access());
        QVERIFY(bytes.contains("Length=\"4\" Swap=\"N\" Mnemonic=\"a\""));
        QVERIFY(bytes.contains("Length=\"1\" Swap=\"Y\" Mnemonic=\"b\""));
        BACnet_Slave_Set_Access again;
        again.Load(ParGen(), Access());
        QVERIFY(again.Save(Access()));
        QCOMPARE(test::Read(Access()), bytes);
    }

    void grids_fill_in_length_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("length"); // expected after the choice, from "2"
        QTest::newRow("large analog value")
            << int(Page_Write) << QStringLiteral("Large Analog Value") << QStringLiteral("8");
        QTest::newRow("analog out") << int(Page_Write) << QStringLiteral("Analog Out") << QStringLiteral("4");
        QTest::newRow("integer value") << int(Page_Write) << QStringLiteral("Integer Value") << QStringLiteral("4");
        QTest::newRow("multi state output")
            << int(Page_Write) << QStringLiteral("Multi State Output") << QStringLiteral("4");
        QTest::newRow("binary out") << int(Page_Write) << QStringLiteral("Binary Out") << QStringLiteral("1");
        QTest::newRow("binary value") << int(Page_Write) << QStringLiteral("Binary Value") << QStringLiteral("1");
        QTest::newRow("access door") << int(Page_Write) << QStringLiteral("Access Door") << QStringLiteral("1");
        QTest::newRow("upper case matches") << int(Page_Write) << QStringLiteral("ACCESS DOOR") << QStringLiteral("1");
        QTest::newRow("read-only type") << int(Page_Write) << QStringLiteral("Analog Input") << QStringLiteral("2");
        QTest::newRow("read: large analog value")
            << int(Page_Read) << QStringLiteral("Large Analog Value") << QStringLiteral("8");
        QTest::newRow("read: binary input") << int(Page_Read) << QStringLiteral("Binary Input") << QStringLiteral("1");
        QTest::newRow("read: integer value")
            << int(Page_Read) << QStringLiteral("Integer Value") << QStringLiteral("4");
        QTest::newRow("read: life safety zone")
            << int(Page_Read) << QStringLiteral("Life Safety Zone") << QStringLiteral("2");
        QTest::newRow("read: lower case matches")
            << int(Page_Read) << QStringLiteral("binary value") << QStringLiteral("1");
        QTest::newRow("read: write-only type") << int(Page_Read) << QStringLiteral("Analog Out") << QStringLiteral("2");
    }

    void grids_fill_in_length()
    {
        QFETCH(int, page);
        QFETCH(QString, type);
        QFETCH(QString, length);
        BACnet_Slave_Set_Access objects;
        Text_Table &table = objects.Table(page);
        table.Set_Cell(3, Obj_Length, QStringLiteral("2"));
        // The grid's drop-down choice reaches the table through the model.
        QVERIFY(table.setData(table.index(3, Obj_Data_Type), type));
        QCOMPARE(table.Cell(3, Obj_Data_Type), type);
        QCOMPARE(table.Cell(3, Obj_Length), length);
        // A change made by the logic itself fills in nothing.
        table.Set_Cell(3, Obj_Length, QStringLiteral("2"));
        table.Set_Cell(3, Obj_Data_Type, QStringLiteral("Analog Value"));
        QCOMPARE(table.Cell(3, Obj_Length), QStringLiteral("2"));
    }

    // Whatever type the user chooses from a grid's list, the Length it fills
    // in passes the check: no new object meets a Length refusal.
    void every_listed_type_fills_in_a_length_that_passes()
    {
        for (int page : {int(Page_Read), int(Page_Write)}) {
            for (const QString &type : Data_Type_Items(page)) {
                BACnet_Slave_Set_Access objects;
                Text_Table &table = objects.Table(page);
                test::Fill(table, {QStringLiteral("|95|0|0|||x")});
                QVERIFY(table.setData(table.index(0, Obj_Data_Type), type));
                const Problem_List result = objects.Controllo_Dati();
                QVERIFY2(result, qPrintable(type + QStringLiteral(": ") + result.Problem_Text()));
            }
        }
    }

    // The check refuses a Length that is not an integer exactly where the
    // compiler would stop at it: in a row of any of the table's types
    // (letters a-z in any case), whatever the table's own Length rule. The
    // document the check passes compiles; the one it refuses does not.
    void length_must_be_an_integer_where_the_compiler_reads_it_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("length");
        QTest::addColumn<bool>("refused");
        const auto row = [](const char *name, int page, const char *type, const char *length, bool refused) {
            QTest::newRow(name) << page << QString::fromUtf8(type) << QString::fromUtf8(length) << refused;
        };
        row("read binary input, empty", Page_Read, "Binary Input", "", true);
        row("read binary value, text", Page_Read, "Binary Value", "one", true);
        row("read binary input, hex", Page_Read, "Binary Input", "0x1", false);
        row("read binary input, leading blank", Page_Read, "Binary Input", " 1", false);
        row("read binary input, trailing blank", Page_Read, "Binary Input", "1 ", true);
        row("write binary out, empty", Page_Write, "Binary Out", "", true);
        row("write binary value, empty", Page_Write, "Binary Value", "", true);
        row("read integer value, empty", Page_Read, "Integer Value", "", true);
        row("read integer value, decimal point", Page_Read, "Integer Value", "1.5", true);
        row("read integer value, 4", Page_Read, "Integer Value", "4", false);
        row("other case", Page_Read, "binary input", "", true);
        row("other case, integer", Page_Write, "BINARY OUT", "1", false);
    }

    void length_must_be_an_integer_where_the_compiler_reads_it()
    {
        QFETCH(int, page);
        QFETCH(QString, type);
        QFETCH(QString, length);
        QFETCH(bool, refused);
        BACnet_Slave_Set_Access objects;
        Text_Table &table = objects.Table(page);
        // A sound object first: the refusal names the second row.
        test::Fill(table,
                   {QStringLiteral("Analog Value|95|0||4||a"), QStringLiteral("%1|95|0|0|%2||b").arg(type, length)});
        const Problem_List result = objects.Controllo_Dati();
        QCOMPARE(!result, refused);
        if (refused) {
            const QString caption = Messages().Get(page == Page_Read ? 1508 : 1509);
            QCOMPARE(
                result.Problem_Text(),
                QStringLiteral("Error row 2!! [%1] Length with variable \"%2\" must be an integer").arg(caption, type));
            QCOMPARE(result.First().Message, int(Msg_Object_Length_Not_Integer));
            QCOMPARE(result.First().Page, page);
            QCOMPARE(result.First().Row, 1);
            QCOMPARE(result.First().Column, int(Obj_Length));
        }
        // The compiler agrees.
        QVERIFY(objects.Save(Access()));
        auto buffers = Make_Initial_Buffers();
        const Result<> encoded = Encode_BACnet_Objects(*buffers, 0x82000, Read_Object_Document(Access()));
        QCOMPARE(encoded.Ok(), !refused);
    }

    // The check reads a row's type as the compiler reads the document's.
    void types_are_the_compilers()
    {
        QStringList texts;
        for (const Object_Type &t : Object_Catalogue) {
            const QString upper = QString::fromLatin1(t.device_text);
            texts << upper << upper.toLower() << upper + u' ' << upper.left(upper.size() - 1);
            if (t.table_text)
                texts << QString::fromUtf16(t.table_text);
        }
        texts << QString() << QStringLiteral("Octet  String") << QStringLiteral("BINARY_INPUT")
              << QStringLiteral("analog ınput") << QStringLiteral("Änalog Out");
        for (const QString &text : std::as_const(texts)) {
            const Object_Type *type = Find_Object_Type(text);
            const int index = Device_Kind_Index(text.toUtf8().constData());
            QVERIFY2(index == (type ? int(type - Object_Catalogue.data()) : -1), qPrintable(text));
        }
    }

    // A row whose Data Type is not one of its own table's types (letter case
    // aside, nothing trimmed) is refused, naming the row and the text: the
    // compiler would skip it or write another type, and the EDE file list it
    // as yet another.
    void type_not_of_the_table_is_refused_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("refused");
        const auto row = [](const char *name, int page, const char *type, bool refused) {
            QTest::newRow(name) << page << QString::fromUtf8(type) << refused;
        };
        row("trailing blank", Page_Read, "Binary Value ", true);
        row("leading blank", Page_Write, " Analog Value", true);
        row("type of no table", Page_Read, "Octet String", true);
        row("date-time value", Page_Read, "Datetime Value", true);
        row("character string value", Page_Write, "CharacterString Value", true);
        row("write type in the Read table", Page_Read, "Analog Out", true);
        row("read type in the Write table", Page_Write, "Binary Input", true);
        row("unknown type", Page_Read, "Thermostat", true);
        row("non-ASCII letter", Page_Write, "Änalog Out", true);
        row("dotless i", Page_Read, "analog ınput", true);
        row("lower case", Page_Read, "binary value", false);
        row("upper case", Page_Write, "ANALOG OUT", false);
    }

    void type_not_of_the_table_is_refused()
    {
        QFETCH(int, page);
        QFETCH(QString, type);
        QFETCH(bool, refused);
        BACnet_Slave_Set_Access objects;
        // A sound object first: the refusal names the second row.
        test::Fill(objects.Table(page),
                   {QStringLiteral("Analog Value|95|0||4||a"), QStringLiteral("%1|95|0|0|1||b").arg(type)});
        const Problem_List result = objects.All_Problems();
        QCOMPARE(!result.Ok(), refused);
        if (refused) {
            const QString caption = Messages().Get(page == Page_Read ? 1508 : 1509);
            QCOMPARE(result.Problem_Text(),
                     QStringLiteral("Error row 2!! [%1] Data Type \"%2\" is not one of the types of this table: "
                                    "choose one from its list")
                         .arg(caption, type));
            QCOMPARE(result.First().Message, int(Msg_Object_Type_Not_Offered));
            QCOMPARE(result.First().Page, page);
            QCOMPARE(result.First().Row, 1);
            QCOMPARE(result.First().Column, int(Obj_Data_Type));
        }
    }

    // Every failure of both tables in grid order, then the count; in a row a
    // failed place ends the rules that depend on it. The first is what OK shows.
    void all_problems_in_grid_order()
    {
        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read,
                   {QStringLiteral("Analog Value|95|0||4||a"), QStringLiteral("Analog Value|x|1500||4||b"),
                    QStringLiteral("Binary Value|95|3|||||c"), QStringLiteral("Analog Value|95|1498||4||d")});
        test::Fill(objects.Write,
                   {QStringLiteral("Analog Value|70000|0||4||e"), QStringLiteral("Analog Value|95|0||x||f")});
        const Problem_List all = objects.All_Problems();
        QList<QList<int>> cells;
        for (const Problem &p : all)
            cells.append({p.Page, p.Row, p.Column, p.Message});
        const QList<QList<int>> expected{
            {Page_Read, 1, Obj_Eng_Unit, 1533},      {Page_Read, 1, Obj_Position, 1534},
            {Page_Read, 2, Obj_Bit, all[2].Message}, {Page_Read, 3, Obj_Length, 1546},
            {Page_Write, 0, Obj_Eng_Unit, 1547},     {Page_Write, 1, Obj_Length, all[5].Message}};
        QCOMPARE(cells, expected);
        QVERIFY(all[2].Message > 0);
        QCOMPARE(all[1].Text, Messages().Get(1532) + u"2" + Messages().Get(1534) + u"1499");
        const Problem_List first = objects.Controllo_Dati();
        QCOMPARE(first.Problem_Text(), all.at(0).Text);
        QCOMPARE(first.First().Row, 1);
        QCOMPARE(first.First().Column, Obj_Eng_Unit);
    }
};

QTEST_APPLESS_MAIN(Test_BACnet_Access)
#include "test_bacnet_access.moc"
