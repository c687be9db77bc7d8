#include "configuration_fixture.h"
#include "core/messages.h"
#include "core/xml_document.h"
#include "ede/bacnet_ede_file.h"
#include "ede/ede_messages.h"
#include "hostile_cells.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime Export_Time(QDate(2021, 3, 4), QTime(9, 5, 3));

// "key=value" pairs of ParGen.xml; "-" alone means no file.
using Keys = QStringList;
// Rows as "Data_Type|Eng_Unit|Mnemonic"; "~" in a cell leaves its attribute out.
using Rows = QStringList;

} // namespace

class Test_Bacnet_Ede_File : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    Workspace ws_;

    QString Out() const { return dir_.filePath(QStringLiteral("out.csv")); }

    void Write_Par_Gen(const Keys &keys)
    {
        QFile::remove(ws_.File_ParGen);
        if (keys == Keys{QStringLiteral("-")})
            return;
        Xml_Document doc;
        pugi::xml_node root = doc.Begin("Par_Gen", true);
        for (const QString &key : keys)
            Add_Key(root, key.section(u'=', 0, 0).toUtf8().constData(), key.section(u'=', 1));
        const Result<> saved = doc.Save(ws_.File_ParGen);
        QVERIFY2(saved, qPrintable(saved.Problem()));
    }

    void Write_Objects(const Rows &read, const Rows &write)
    {
        Xml_Document doc;
        pugi::xml_node root = doc.Begin("BACnet_to_Modbus", true);
        for (auto [group, rows] : {std::pair{"BACnet_in_Read", &read}, std::pair{"BACnet_in_Write", &write}}) {
            pugi::xml_node g = root.append_child(group);
            for (const QString &row : *rows) {
                pugi::xml_node r = g.append_child("row");
                const QStringList cells = row.split(u'|');
                const char *names[] = {"Data_Type", "Eng_Unit", "Mnemonic"};
                for (int i = 0; i < 3; ++i)
                    if (cells.value(i) != u"~")
                        Add_Attr(r, names[i], cells.value(i));
            }
        }
        const Result<> saved = doc.Save(ws_.File_BACnet_Slave_Access);
        QVERIFY2(saved, qPrintable(saved.Problem()));
    }

    // The object lines of the file just written, without the header.
    QStringList Object_Lines() const
    {
        const QByteArray bytes = test::Read(Out());
        QList<QByteArray> lines = bytes.split('\n');
        lines.removeLast(); // after the last CR LF
        QStringList objects;
        for (qsizetype i = 7; i < lines.size(); ++i)
            objects << QString::fromLatin1(lines[i].chopped(1));
        return objects;
    }

private slots:
    void init()
    {
        QVERIFY(test::Open_Configuration_In(ws_, dir_.filePath(QStringLiteral("PROJECTS")), QStringLiteral("Plant1")));
        QFile::remove(ws_.File_ParGen);
        QFile::remove(ws_.File_BACnet_Slave_Access);
        QFile::remove(Out());
    }

    void object_lines_data()
    {
        QTest::addColumn<Keys>("par_gen");
        QTest::addColumn<Rows>("read");
        QTest::addColumn<Rows>("write");
        QTest::addColumn<QStringList>("lines");
        const Keys dev1{QStringLiteral("BACnet_Type=0"), QStringLiteral("BACnet_DEV_IDE=1")};

        QTest::newRow("instances by type, read then write")
            << dev1 << Rows{QStringLiteral("Analog Input|62|T1"), QStringLiteral("Analog Input|62|T2")}
            << Rows{QStringLiteral("Analog Out|98|Valve")}
            << QStringList{S("1_T1_0;1;T1;0;0;T1;62;"), S("1_T2_1;1;T2;0;1;T2;62;"),
                           S("1_Valve_0;1;Valve;1;0;Valve;98;")};
        QTest::newRow("two multi state values")
            << dev1 << Rows{}
            << Rows{QStringLiteral("Multi State Value|95|A"), QStringLiteral("Multi State Value|95|B")}
            << QStringList{S("1_A_0;1;A;19;0;A;95;"), S("1_B_1;1;B;19;1;B;95;")};
        QTest::newRow("write objects go on with the read numbering")
            << dev1 << Rows{QStringLiteral("Analog Value|62|R"), QStringLiteral("Binary Value|95|X")}
            << Rows{QStringLiteral("Binary Value|95|Y"), QStringLiteral("Analog Value|62|W")}
            << QStringList{S("1_R_0;1;R;2;0;R;62;"), S("1_X_0;1;X;5;0;X;95;"), S("1_Y_1;1;Y;5;1;Y;95;"),
                           S("1_W_1;1;W;2;1;W;62;")};
        QTest::newRow("unknown types are numbered with the analog inputs")
            << dev1 << Rows{QStringLiteral("Analog Input|62|A"), QStringLiteral("OCTET STRING|95|B")}
            << Rows{QStringLiteral("|95|C")}
            << QStringList{S("1_A_0;1;A;0;0;A;62;"), S("1_B_1;1;B;0;1;B;95;"), S("1_C_2;1;C;0;2;C;95;")};
        // The type is read as the check and the compiler read it: letter case
        // aside (outer blanks name no type, and the check refuses them).
        QTest::newRow("case of the type ignored") << dev1 << Rows{QStringLiteral("large ANALOG value|62|L")} << Rows{}
                                                  << QStringList{S("1_L_0;1;L;46;0;L;62;")};

        const char *twenty = "Temperature_Room_01X";
        QTest::newRow("20 characters, short names")
            << dev1 << Rows{QString::fromLatin1("Analog Input|62|") + QLatin1StringView(twenty)} << Rows{}
            << QStringList{S("1_Temperature_Room_01X_0;1;Temperature_Room;0;0;Temperature_Room;62;")};
        QTest::newRow("20 characters, long names")
            << dev1 + Keys{QStringLiteral("BACnet_Desc_Chars_Limit=1")}
            << Rows{QString::fromLatin1("Analog Input|62|") + QLatin1StringView(twenty)} << Rows{}
            << QStringList{S("1_Temperature_Room_01X_0;1;Temperature_Room_01X;0;0;Temperature_Room_01X;62;")};
        QTest::newRow("40 characters, long names")
            << dev1 + Keys{QStringLiteral("BACnet_Desc_Chars_Limit=1")}
            << Rows{QStringLiteral("Analog Input|62|0123456789abcdefghijABCDEFGHIJ0123456789")} << Rows{}
            << QStringList{S("1_0123456789abcdefghijABCDEFGHIJ0123456789_0;1;0123456789abcdefghijABCDEFGHIJ01;0;0;"
                             "0123456789abcdefghijABCDEFGHIJ01;62;")};
        QTest::newRow("long names only for exactly 1")
            << dev1 + Keys{QStringLiteral("BACnet_Desc_Chars_Limit= 1")}
            << Rows{QStringLiteral("Analog Input|62|0123456789abcdefXY")} << Rows{}
            << QStringList{S("1_0123456789abcdefXY_0;1;0123456789abcdef;0;0;0123456789abcdef;62;")};

        const Keys both{QStringLiteral("BACnet_Ser_DEV_IDE=77"), QStringLiteral("BACnet_DEV_IDE=5")};
        const Rows one{QStringLiteral("Analog Input|62|T")};
        QTest::newRow("MS/TP takes the serial instance")
            << both + Keys{QStringLiteral("BACnet_Type=1")} << one << Rows{} << QStringList{S("77_T_0;77;T;0;0;T;62;")};
        QTest::newRow("BACnet/IP takes the IP instance")
            << both + Keys{QStringLiteral("BACnet_Type=0")} << one << Rows{} << QStringList{S("5_T_0;5;T;0;0;T;62;")};
        QTest::newRow("type read as an integer") << both + Keys{QStringLiteral("BACnet_Type= 0x1")} << one << Rows{}
                                                 << QStringList{S("77_T_0;77;T;0;0;T;62;")};
        QTest::newRow("type that is no number counts as IP") << both + Keys{QStringLiteral("BACnet_Type=MS/TP")} << one
                                                             << Rows{} << QStringList{S("5_T_0;5;T;0;0;T;62;")};
        QTest::newRow("no type key counts as IP") << both << one << Rows{} << QStringList{S("5_T_0;5;T;0;0;T;62;")};
        QTest::newRow("instance kept as typed")
            << Keys{QStringLiteral("BACnet_DEV_IDE=010")} << one << Rows{} << QStringList{S("010_T_0;010;T;0;0;T;62;")};
        QTest::newRow("no ParGen.xml: empty device column")
            << Keys{QStringLiteral("-")} << one << Rows{} << QStringList{S("_T_0;;T;0;0;T;62;")};
        QTest::newRow("MS/TP without its instance key")
            << Keys{QStringLiteral("BACnet_Type=1"), QStringLiteral("BACnet_DEV_IDE=5")} << one << Rows{}
            << QStringList{S("_T_0;;T;0;0;T;62;")};
        QTest::newRow("double quotes inside a mnemonic kept")
            << dev1 << Rows{QStringLiteral("Analog Input|62|Pump \"A\"")} << Rows{}
            << QStringList{S("1_Pump \"A\"_0;1;Pump \"A\";0;0;Pump \"A\";62;")};
        QTest::newRow("missing attributes read as empty")
            << dev1 << Rows{QStringLiteral("~|~|~"), QStringLiteral("Binary Input|~|B")} << Rows{}
            << QStringList{S("1__0;1;;0;0;;;"), S("1_B_0;1;B;3;0;B;;")};
    }

    void object_lines()
    {
        QFETCH(Keys, par_gen);
        QFETCH(Rows, read);
        QFETCH(Rows, write);
        QFETCH(QStringList, lines);
        Write_Par_Gen(par_gen);
        Write_Objects(read, write);
        const Result<> created = Create_EDE_File(ws_, Out(), Export_Time);
        QVERIFY2(created, qPrintable(created.Problem()));
        QCOMPARE(Object_Lines(), lines);
    }

    // Every served type has its own numbering, with its standard code.
    void every_type_numbered_by_itself()
    {
        const QStringList types{
            QStringLiteral("Analog Input"),       QStringLiteral("Analog Out"),
            QStringLiteral("Analog Value"),       QStringLiteral("Binary Input"),
            QStringLiteral("Binary Out"),         QStringLiteral("Binary Value"),
            QStringLiteral("Multi State Input"),  QStringLiteral("Multi State Output"),
            QStringLiteral("Multi State Value"),  QStringLiteral("Life Safety Point"),
            QStringLiteral("Life Safety Zone"),   QStringLiteral("Accumulator"),
            QStringLiteral("Access Door"),        QStringLiteral("CharacterString Value"),
            QStringLiteral("DateTime Value"),     QStringLiteral("Integer Value"),
            QStringLiteral("Large Analog Value"), QStringLiteral("Positive Integer Value"),
        };
        Rows read;
        for (const QString &type : types)
            read << type + QStringLiteral("|95|a") << type + QStringLiteral("|95|b");
        Write_Par_Gen({QStringLiteral("BACnet_DEV_IDE=9")});
        Write_Objects(read, {});
        const Result<> created = Create_EDE_File(ws_, Out(), Export_Time);
        QVERIFY2(created, qPrintable(created.Problem()));
        const QStringList lines = Object_Lines();
        QCOMPARE(lines.size(), 36);
        const QList<int> codes{0, 1, 2, 3, 4, 5, 13, 14, 19, 21, 22, 23, 30, 40, 44, 45, 46, 48};
        for (int i = 0; i < codes.size(); ++i) {
            const QString code = QString::number(codes[i]);
            QCOMPARE(lines[2 * i], QStringLiteral("9_a_0;9;a;%1;0;a;95;").arg(code));
            QCOMPARE(lines[2 * i + 1], QStringLiteral("9_b_1;9;b;%1;1;b;95;").arg(code));
        }
    }

    void whole_file_bytes()
    {
        Write_Par_Gen({QStringLiteral("BACnet_DEV_IDE=1")});
        Write_Objects({QString::fromUtf8("Analog Input|62|T \xC2\xB0"
                                         "C \xE2\x82\xAC \xE4\xB8\xAD")},
                      {});
        const Result<> created = Create_EDE_File(ws_, Out(), Export_Time);
        QVERIFY2(created, qPrintable(created.Problem()));
        QCOMPARE(test::Read(Out()),
                 QByteArray("PROJECT_NAME; Tavelin--Plant1;;;;;;\r\n"
                            "VERSION_OF_REFERENCEFILE;1.0;;;;;;\r\n"
                            "TIMESTAMP_OF_LAST_CHANGE;09:05:03 04/03/2021;;;;;;\r\n"
                            "AUTHOR_OF_LAST_CHANGE;Tavelin;;;;;;\r\n"
                            "VERSION_OF_LAYOUT;2;;;;;;\r\n"
                            "# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;\r\n"
                            "# keyname;device obj.-instance;object-name;object-type;object-instance;description;"
                            "unit-code;\r\n"
                            "1_T \xB0"
                            "C \x80 ?_0;1;T \xB0"
                            "C \x80 ?;0;0;T \xB0"
                            "C \x80 ?;62;\r\n"));
    }

    // The file is windows-1252: a character the code page holds is its byte,
    // any other is one "?", the C1 controls U+0080 to U+009F included (the
    // code page puts other characters at 0x80 to 0x9F and leaves 0x81, 0x8D,
    // 0x8F, 0x90 and 0x9D undefined), and so is a character outside the basic
    // plane, though it takes two UTF-16 units.
    void code_page_characters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        for (char16_t c = 0x80; c <= 0x9F; ++c)
            QTest::addRow("C1 control U+%04X", unsigned(c)) << QString(QChar(c)) << QByteArray("?");
        QTest::newRow("euro sign") << QStringLiteral("\u20AC") << QByteArray("\x80");
        QTest::newRow("e acute") << QStringLiteral("\u00E9") << QByteArray("\xE9");
        QTest::newRow("low quotation mark") << QStringLiteral("\u201A") << QByteArray("\x82");
        QTest::newRow("trade mark") << QStringLiteral("\u2122") << QByteArray("\x99");
        QTest::newRow("Y diaeresis") << QStringLiteral("\u0178") << QByteArray("\x9F");
        QTest::newRow("no-break space") << QStringLiteral("\u00A0") << QByteArray("\xA0");
        QTest::newRow("y diaeresis") << QStringLiteral("\u00FF") << QByteArray("\xFF");
        QTest::newRow("A macron") << QStringLiteral("\u0100") << QByteArray("?");
        QTest::newRow("L stroke") << QStringLiteral("\u0141") << QByteArray("?");
        QTest::newRow("CJK") << QStringLiteral("\u4E2D") << QByteArray("?");
        QTest::newRow("byte-order mark") << QStringLiteral("\uFEFF") << QByteArray("?");
        QTest::newRow("replacement character") << QStringLiteral("\uFFFD") << QByteArray("?");
        QTest::newRow("first beyond the basic plane") << QString::fromUcs4(U"\U00010000") << QByteArray("?");
        QTest::newRow("emoji") << QString::fromUcs4(U"\U0001F600") << QByteArray("?");
        QTest::newRow("last code point") << QString::fromUcs4(U"\U0010FFFF") << QByteArray("?");
        QTest::newRow("two emoji, C1, euro")
            << QString::fromUcs4(U"\U0001F600\U0001F600\u0081\u20AC") << QByteArray("???\x80");
    }

    void code_page_characters()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        Write_Par_Gen({QStringLiteral("BACnet_DEV_IDE=1")});
        Write_Objects({QStringLiteral("Analog Input|62|a") + text + u'b'}, {});
        const Result<> created = Create_EDE_File(ws_, Out(), Export_Time);
        QVERIFY2(created, qPrintable(created.Problem()));
        const QList<QByteArray> lines = test::Read(Out()).split('\n');
        QCOMPARE(lines.size(), 9); // seven header lines, one object line, nothing after its CR LF
        const QByteArray name = "a" + bytes + "b";
        QCOMPARE(lines[7].toHex(' '), QByteArray("1_" + name + "_0;1;" + name + ";0;0;" + name + ";62;\r").toHex(' '));
    }

    void header_only_data()
    {
        QTest::addColumn<bool>("objects_file");
        QTest::newRow("no object document") << false;
        QTest::newRow("empty groups") << true;
    }

    void header_only()
    {
        QFETCH(bool, objects_file);
        // A device instance that could not be written is no problem without objects.
        Write_Par_Gen({QStringLiteral("BACnet_DEV_IDE=1;2")});
        if (objects_file)
            Write_Objects({}, {});
        const Result<> created = Create_EDE_File(ws_, Out(), Export_Time);
        QVERIFY2(created, qPrintable(created.Problem()));
        const QByteArray bytes = test::Read(Out());
        QCOMPARE(bytes.count("\r\n"), 7);
        QVERIFY(bytes.startsWith("PROJECT_NAME; Tavelin--Plant1;;;;;;\r\n"));
        QVERIFY(bytes.endsWith("description;unit-code;\r\n"));
    }

    // Hand-indented groups: the row number in a message counts rows only.
    void indented_document_names_the_right_row()
    {
        test::Write(ws_.File_BACnet_Slave_Access,
                    "<BACnet_to_Modbus>\n  <BACnet_in_Read>\n    <row Data_Type=\"Analog Input\" Mnemonic=\"a\"/>\n"
                    "    <row Data_Type=\"Analog Input\" Mnemonic=\"b;c\"/>\n  </BACnet_in_Read>\n"
                    "  <BACnet_in_Write/>\n</BACnet_to_Modbus>\n<!--SW_VERSION = 1.000-->");
        const Result<> created = Create_EDE_File(ws_, Out(), Export_Time);
        QVERIFY(!created);
        const QString &problem = created.Problem();
        QCOMPARE(problem, Messages()
                              .Get(Msg_EDE_Cell_Breaks_Columns)
                              .arg(QStringLiteral("2"), QStringLiteral("BACnet in Read"), QStringLiteral("Mnemonic")));
    }

    // A Mnemonic that a spreadsheet would run as a formula is refused in both
    // layouts, which write the object name the device serves and no other;
    // its near misses are written as they are.
    void formula_cells_data() { test::Hostile_Cells_Data(); }

    void formula_cells()
    {
        QFETCH(QString, cell);
        QFETCH(bool, formula);
        Write_Par_Gen({QStringLiteral("BACnet_DEV_IDE=7")});
        Write_Objects({QStringLiteral("Analog Input|62|")}, {});
        // The cell as it is: it may hold the "|" that separates the rows' cells.
        QByteArray document = test::Read(ws_.File_BACnet_Slave_Access);
        document.replace("Mnemonic=\"\"", QByteArray("Mnemonic=\"" + cell.toHtmlEscaped().toUtf8() + '"'));
        test::Write(ws_.File_BACnet_Slave_Access, document);
        for (const EDE_Options &options : {EDE_Options{EDE_Layout::Classic, EDE_Charset::Windows_1252},
                                           EDE_Options{EDE_Layout::Standard, EDE_Charset::Utf8}}) {
            const QString main = EDE_Files_For(Out()).main;
            QFile::remove(main);
            const Result<> created = Create_EDE_File(ws_, Out(), Export_Time, options);
            if (formula) {
                QVERIFY(!created);
                QCOMPARE(created.Problem(),
                         Messages()
                             .Get(Msg_EDE_Cell_Runs_As_Formula)
                             .arg(QStringLiteral("1"), QStringLiteral("BACnet in Read"), QStringLiteral("Mnemonic")));
                QVERIFY(!QFileInfo::exists(main));
            } else {
                QVERIFY2(created, qPrintable(created.Problem()));
                const QString text = QString::fromUtf8(test::Read(main));
                QVERIFY2(text.contains(u';' + cell.left(16) + u';'), qPrintable(text));
            }
        }
    }

    void refusals_write_nothing_data()
    {
        QTest::addColumn<QString>("case_name");
        QTest::addColumn<QString>("expected");
        const auto cell = [](const char *row, const char *table, const char *attr) {
            return Messages()
                .Get(Msg_EDE_Cell_Breaks_Columns)
                .arg(QLatin1StringView(row), QLatin1StringView(table), QLatin1StringView(attr));
        };
        QTest::newRow("semicolon in a read mnemonic")
            << QStringLiteral("read ;") << cell("2", "BACnet in Read", "Mnemonic");
        QTest::newRow("LF in a write mnemonic")
            << QStringLiteral("write LF") << cell("1", "BACnet in Write", "Mnemonic");
        QTest::newRow("CR in a write mnemonic")
            << QStringLiteral("write CR") << cell("3", "BACnet in Write", "Mnemonic");
        QTest::newRow("semicolon in a unit") << QStringLiteral("unit ;") << cell("1", "BACnet in Read", "Eng_Unit");
        // A spreadsheet reads a field that starts with a double quote as quoted,
        // up to the next quote, and shifts every column after it.
        const auto quoted = [](const char *row, const char *table, const char *attr) {
            return Messages()
                .Get(Msg_EDE_Cell_Starts_Quoted)
                .arg(QLatin1StringView(row), QLatin1StringView(table), QLatin1StringView(attr));
        };
        QTest::newRow("quote starting a read mnemonic")
            << QStringLiteral("read quote") << quoted("2", "BACnet in Read", "Mnemonic");
        QTest::newRow("quote starting a write mnemonic")
            << QStringLiteral("write quote") << quoted("1", "BACnet in Write", "Mnemonic");
        QTest::newRow("quote starting a unit")
            << QStringLiteral("unit quote") << quoted("1", "BACnet in Read", "Eng_Unit");
        QTest::newRow("configuration folder gone") << QStringLiteral("folder gone") << QString();
        QTest::newRow("no read group") << QStringLiteral("no read") << QString();
        QTest::newRow("no write group") << QStringLiteral("no write") << QString();
        QTest::newRow("damaged objects") << QStringLiteral("damaged objects") << QString();
        QTest::newRow("damaged ParGen") << QStringLiteral("damaged ParGen") << QString();
        QTest::newRow("semicolon in the device instance") << QStringLiteral("device ;") << QString();
        QTest::newRow("line break in the project name") << QStringLiteral("project LF") << QString();
        QTest::newRow("no configuration open") << QStringLiteral("closed") << Messages().Get(18);
    }

    void refusals_write_nothing()
    {
        QFETCH(QString, case_name);
        QFETCH(QString, expected);
        const Rows fine{QStringLiteral("Analog Input|62|a")};
        Write_Par_Gen({QStringLiteral("BACnet_DEV_IDE=1")});
        Write_Objects(fine, fine);
        const QString objects = QDir::toNativeSeparators(ws_.File_BACnet_Slave_Access);
        if (case_name == u"read ;") {
            Write_Objects(fine + Rows{QStringLiteral("Analog Input|62|a;b")}, fine);
        } else if (case_name == u"write LF") {
            Write_Objects(fine, Rows{QStringLiteral("Analog Out|62|a\nb")});
        } else if (case_name == u"write CR") {
            Write_Objects(fine, fine + fine + Rows{QStringLiteral("Analog Out|62|ab\r")});
        } else if (case_name == u"unit ;") {
            Write_Objects({QStringLiteral("Analog Input|62;|a")}, fine);
        } else if (case_name == u"read quote") {
            Write_Objects(fine + Rows{QStringLiteral("Analog Input|62|\"Pump\" A")}, fine);
        } else if (case_name == u"write quote") {
            Write_Objects(fine, Rows{QStringLiteral("Analog Out|62|\"")});
        } else if (case_name == u"unit quote") {
            Write_Objects({QStringLiteral("Analog Input|\"62\"|a")}, fine);
        } else if (case_name == u"folder gone") {
            // Renamed outside the program after it was opened: its documents
            // are gone with it, so the file would list no object at all.
            QVERIFY(QDir().rename(ws_.Path_Project, ws_.Path_Project + QStringLiteral(" renamed")));
            expected = Messages().Get(18) + u'\n' +
                       Messages().Get(Msg_Configuration_Folder_Gone).arg(QDir::toNativeSeparators(ws_.Path_Project));
        } else if (case_name == u"no read") {
            test::Write(ws_.File_BACnet_Slave_Access, "<BACnet_to_Modbus><BACnet_in_Write/></BACnet_to_Modbus>");
            expected = Messages().Get(Msg_EDE_Group_Missing).arg(objects, QStringLiteral("BACnet_in_Read"));
        } else if (case_name == u"no write") {
            // A group's name is compared exactly, letter case included.
            test::Write(ws_.File_BACnet_Slave_Access,
                        "<BACnet_to_Modbus><BACnet_in_Read/><BACnet_in_write/></BACnet_to_Modbus>");
            expected = Messages().Get(Msg_EDE_Group_Missing).arg(objects, QStringLiteral("BACnet_in_Write"));
        } else if (case_name == u"damaged objects") {
            test::Write(ws_.File_BACnet_Slave_Access, "<BACnet_to_Modbus>\n<BACnet_in_Read>\n<row a=\"1\">\n");
            Xml_Document doc;
            doc.Load(ws_.File_BACnet_Slave_Access);
            expected = doc.Problem();
        } else if (case_name == u"damaged ParGen") {
            test::Write(ws_.File_ParGen, "<Par_Gen><BACnet_DEV_IDE>1</Par_Gen>");
            Xml_Document doc;
            doc.Load(ws_.File_ParGen);
            expected = doc.Problem();
        } else if (case_name == u"device ;") {
            Write_Par_Gen({QStringLiteral("BACnet_Type=1"), QStringLiteral("BACnet_Ser_DEV_IDE=1;2")});
            expected = Messages()
                           .Get(Msg_EDE_Key_Breaks_Columns)
                           .arg(QStringLiteral("BACnet_Ser_DEV_IDE"), QDir::toNativeSeparators(ws_.File_ParGen));
        } else if (case_name == u"project LF") {
            ws_.Project_Name = QStringLiteral("Plant\n1");
            expected = Messages().Get(Msg_EDE_Name_Breaks_Columns).arg(ws_.Project_Name);
        } else if (case_name == u"closed") {
            ws_.Open_Configuration(QString());
        }
        QVERIFY(!expected.trimmed().isEmpty());
        // The file the user chose keeps its old content.
        test::Write(Out(), "old");
        const Result<> created = Create_EDE_File(ws_, Out(), Export_Time);
        QVERIFY(!created);
        const QString &problem = created.Problem();
        QCOMPARE(problem, expected);
        QCOMPARE(test::Read(Out()), QByteArray("old"));
        QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("out.csv*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("out.csv")});
    }

    void write_errors_are_reported_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder missing") << QStringLiteral("no/such/folder/out.csv");
        QTest::newRow("target is a folder") << QStringLiteral("folder.csv");
    }

    void write_errors_are_reported()
    {
        QFETCH(QString, target);
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder.csv")));
        const QString path = dir_.filePath(target);
        const Result<> created = Create_EDE_File(ws_, path, Export_Time);
        QVERIFY(!created);
        const QString &problem = created.Problem();
        QVERIFY2(problem.startsWith(Messages().Get(Msg_File_Not_Written).section(u'%', 0, 0)), qPrintable(problem));
        QVERIFY2(problem.contains(QDir::toNativeSeparators(path)), qPrintable(problem));
    }

    // Nothing of one export carries over: the counters start at 0 again and
    // an existing file is replaced whole.
    void exports_start_from_nothing()
    {
        Write_Par_Gen({QStringLiteral("BACnet_DEV_IDE=1")});
        Write_Objects({QStringLiteral("Analog Input|62|a"), QStringLiteral("Analog Input|62|b")}, {});
        QVERIFY(Create_EDE_File(ws_, Out(), Export_Time));
        const QByteArray first = test::Read(Out());
        Write_Objects({QStringLiteral("Analog Input|62|a")}, {});
        QVERIFY(Create_EDE_File(ws_, Out(), Export_Time));
        QCOMPARE(Object_Lines(), QStringList{QStringLiteral("1_a_0;1;a;0;0;a;62;")});
        Write_Objects({QStringLiteral("Analog Input|62|a"), QStringLiteral("Analog Input|62|b")}, {});
        QVERIFY(Create_EDE_File(ws_, Out(), Export_Time));
        QCOMPARE(test::Read(Out()), first);
    }

    void dialog_target()
    {
        const QString base = dir_.filePath(QStringLiteral("list"));
        EDE_Target target = EDE_Target_For(base);
        QCOMPARE(target.file_name, base + QStringLiteral(".csv"));
        QVERIFY(!target.ask_overwrite);
        test::Write(base + QStringLiteral(".csv"), "x");
        // The question concerns the name with ".csv", not the one typed.
        target = EDE_Target_For(base);
        QCOMPARE(target.file_name, base + QStringLiteral(".csv"));
        QVERIFY(target.ask_overwrite);
    }
};

QTEST_APPLESS_MAIN(Test_Bacnet_Ede_File)
#include "test_bacnet_ede_file.moc"
