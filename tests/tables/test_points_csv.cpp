// Points lists: the object and rule tables out to CSV and back in.

#include "core/messages.h"
#include "hostile_cells.h"
#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/csv_text.h"
#include "tables/grid_clipboard.h"
#include "tables/lora_access.h"
#include "tables/object_types.h"
#include "tables/points_csv.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Italian = QStringLiteral(SW_DATA_DIR "/LANGUAGE/Italiano.lng");

const QByteArray Header = "Table,Data Type,Eng. Unit,Unit Name,Position,Start Bit,Length,Swap,Mnemonic\r\n";

// The rows a table holds, down to the first fresh one, as "a|b|c".
QStringList Rows_In_Use(const Text_Table &table)
{
    QStringList rows;
    for (int r = 0; r < table.Row_Count(); ++r) {
        const QString row = test::Row_Text(table, r);
        bool fresh = true;
        for (int c = 0; c < table.Column_Count(); ++c)
            fresh = fresh && table.Cell(r, c) == table.Column(c).fresh;
        if (!fresh)
            rows.append(row);
    }
    return rows;
}

QStringList Texts(const QList<Bad_Line> &bad)
{
    QStringList texts;
    for (const Bad_Line &line : bad)
        texts.append(line.Text());
    return texts;
}

QString Bad(int line, const QString &column, const QString &reason)
{
    return Bad_Line{line, column, reason}.Text();
}

QString Refused(int column, const QString &text, int page = Page_Read)
{
    return u'"' + text + u"\": "_s + Paste_Cell_Text(Object_Columns(page)[column], text).Problem();
}

void Apply(const Points_Tables &tables, const Points_Import &import)
{
    for (int t = 0; t < 2; ++t)
        const_cast<Text_Table *>(tables[t].Table)->Set_Cells(import.Changes[t]);
}

// Fills a fresh table from "a|b|c" rows.
void Fill(Text_Table &table, const QStringList &rows)
{
    table.Reset(table.Row_Count());
    test::Fill(table, rows);
}

// A file as a spreadsheet saves it again: semicolons, windows-1252 without
// a byte-order mark, fields quoted only where the semicolon needs it.
QByteArray Resaved_By_Spreadsheet(const QByteArray &exported)
{
    QString text;
    for (const Csv_Record &record : Parse_Csv(Decode_Csv(exported), u',')) {
        QStringList fields;
        for (const QString &field : record.Fields)
            fields.append(Csv_Field(field, u';'));
        text += fields.join(u';') + u"\r\n"_s;
    }
    QStringEncoder ansi("windows-1252");
    QByteArray bytes = ansi.encode(text);
    return bytes;
}

// The same file with tabs between its fields, UTF-8 without a mark.
QByteArray Resaved_As_Tabs(const QByteArray &exported)
{
    QString text;
    for (const Csv_Record &record : Parse_Csv(Decode_Csv(exported), u',')) {
        QStringList fields;
        for (const QString &field : record.Fields)
            fields.append(Csv_Field(field, u'\t'));
        text += fields.join(u'\t') + u"\n"_s;
    }
    return text.toUtf8();
}

} // namespace

class Test_Points_Csv : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void cleanup() { Messages().Build_Default_Messages(); }

    void import_objects_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("append");
        QTest::addColumn<bool>("italian");
        QTest::addColumn<QStringList>("before"); // the Read table's rows before
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QStringList>("write");
        QTest::addColumn<QStringList>("bad");
        const QStringList none;
        const QString old = u"Analog Input|62|0||4|N|Old"_s;

        QTest::newRow("comma, every column")
            << Header + "Read,Analog Input,62,degrees-Celsius,0,,4,N,Supply\r\nWrite,Binary Out,95,,10,3,1,,Pump\r\n"
            << false << false << none << QStringList{u"Analog Input|62|0||4|N|Supply"_s}
            << QStringList{u"Binary Out|95|10|3|1||Pump"_s} << none;
        QTest::newRow("semicolon, some columns in another order and case")
            << "Mnemonic;table;DATA TYPE; position ;Length\r\nRoom;read;analog value;12;4\r\n"_ba << false << false
            << none << QStringList{u"Analog Value||12||4||Room"_s} << none << none;
        QTest::newRow("tab")
            << "Table\tData Type\tEng. Unit\tPosition\tLength\tMnemonic\nWrite\tAnalog Out\t98\t0\t4\tValve\n"_ba
            << false << false << none << none << QStringList{u"Analog Out|98|0||4||Valve"_s} << none;
        QTest::newRow("quoted separators and quotes")
            << Header + "Read,Analog Input,62,,0,,4,N,\"Pump, \"\"main\"\"; 1\"\r\n"
            << false << false << none << QStringList{u"Analog Input|62|0||4|N|Pump, \"main\"; 1"_s} << none << none;
        // The quoted line break makes the record span lines 2 and 3; the
        // next record starts on line 4.
        QTest::newRow("quoted line break, and the lines after it")
            << Header + "Read,Analog Input,62,,0,,4,N,\"two\nlines\"\r\nRead,Analog Lnput,62,,4,,4,N,x\r\n"
            << false << false << none << none << none
            << QStringList{
                   Bad(2, u"\"Mnemonic\""_s, u"\"two\u240Alines\": "_s + Messages().Get(Msg_Paste_Control_Character)),
                   Bad(4, u"\"Data Type\""_s, Refused(Obj_Data_Type, u"Analog Lnput"_s))};
        QTest::newRow("byte-order mark and non-ASCII")
            << "\xEF\xBB\xBF" + Header + "Read,Analog Input,62,,0,,4,N,Ventil\xC3\xA1tor \xE2\x82\xAC\r\n"
            << false << false << none << QStringList{u"Analog Input|62|0||4|N|Ventilátor €"_s} << none << none;
        QTest::newRow("windows-1252") << Header + "Read,Analog Input,62,,0,,4,,Temp\xE9rature \x80\r\n"
                                      << false << false << none << QStringList{u"Analog Input|62|0||4||Température €"_s}
                                      << none << none;
        QTest::newRow("a bad cell changes nothing")
            << Header + "Read,Analog Input,62,,0,,4,,a\r\nRead,Analog Input,62,,1500,,4,,b\r\n"
            << false << false << QStringList{old} << QStringList{old} << none
            << QStringList{Bad(3, u"\"Position\""_s, Refused(Obj_Position, u"1500"_s))};
        QTest::newRow("too many rows")
            << Header + "Read,Analog Value,95,,0,,4,,a\r\nRead,Analog Value,95,,1,,4,,b\r\n"
                        "Write,Analog Value,95,,0,,4,,w\r\nRead,Analog Value,95,,2,,4,,c\r\n"
                        "Read,Analog Value,95,,3,,4,,d\r\n"
            << false << false << none << none << none
            << QStringList{Bad(6, u"\"Table\""_s, Messages().Get(Msg_Points_No_Room).arg(u"Read"_s, u"3"_s, u"1"_s))};
        QTest::newRow("too many rows to append")
            << Header +
                   "Read,Analog Value,95,,0,,4,,a\r\nRead,Analog Value,95,,1,,4,,b\r\nRead,Analog Value,95,,2,,4,,c\r\n"
            << true << false << QStringList{old} << QStringList{old} << none
            << QStringList{Bad(4, u"\"Table\""_s, Messages().Get(Msg_Points_No_Room).arg(u"Read"_s, u"2"_s, u"1"_s))};
        QTest::newRow("append") << Header + "Read,Binary Input,95,,7,2,,,New\r\nWrite,Analog Out,98,,0,,4,,W\r\n"
                                << true << false << QStringList{old} << QStringList{old, u"Binary Input|95|7|2|||New"_s}
                                << QStringList{u"Analog Out|98|0||4||W"_s} << none;
        QTest::newRow("replace") << Header + "Read,Binary Input,95,,7,2,,,New\r\n"
                                 << false << false << QStringList{old, old}
                                 << QStringList{u"Binary Input|95|7|2|||New"_s} << none << none;
        QTest::newRow("replace with nothing") << Header << false << false << QStringList{old} << none << none << none;
        QTest::newRow("unit names")
            << Header + "Read,Analog Input,,DEGREES-CELSIUS,0,,4,,a\r\nRead,Analog Input,98,percent,4,,4,,b\r\n"
            << false << false << none << QStringList{u"Analog Input|62|0||4||a"_s, u"Analog Input|98|4||4||b"_s} << none
            << none;
        QTest::newRow("unit names that are wrong")
            << Header + "Read,Analog Input,62,percent,0,,4,,a\r\nRead,Analog Input,,no such unit,4,,4,,b\r\n"
            << false << false << none << none << none
            << QStringList{
                   Bad(2, u"\"Unit Name\""_s,
                       Messages().Get(Msg_Paste_Unit_Disagrees).arg(u"62"_s, u"degrees-Celsius"_s, u"percent"_s)),
                   Bad(3, u"\"Unit Name\""_s, u"\"no such unit\": "_s + Messages().Get(Msg_Paste_Not_A_Unit))};
        QTest::newRow("flags and items in any case")
            << Header + "READ,binary value,95,,0,5,,TRUE,a\r\nwrite,ACCESS DOOR,95,,1,,1,0,b\r\n"
            << false << false << none << QStringList{u"Binary Value|95|0|5||Y|a"_s}
            << QStringList{u"Access Door|95|1||1|N|b"_s} << none;
        QTest::newRow("header faults")
            << "Table,Data Typ,Position,Position\r\nRead,x,1,2\r\n"_ba << false << false << none << none << none
            << QStringList{Bad(1, u"\"Data Typ\""_s,
                               Messages()
                                   .Get(Msg_Points_Unknown_Column)
                                   .arg(u"\"Table\", \"Data Type\", \"Eng. Unit\", \"Unit Name\", \"Position\", "
                                        u"\"Start Bit\", \"Length\", \"Swap\", \"Mnemonic\""_s)),
                           Bad(1, u"\"Position\""_s, Messages().Get(Msg_Points_Column_Twice)),
                           Bad(1, u"\"Data Type\""_s, Messages().Get(Msg_Points_Column_Missing))};
        QTest::newRow("empty file") << QByteArray() << false << false << QStringList{old} << QStringList{old} << none
                                    << QStringList{
                                           Bad(1, u"\"Table\""_s, Messages().Get(Msg_Points_Column_Missing)),
                                           Bad(1, u"\"Data Type\""_s, Messages().Get(Msg_Points_Column_Missing))};
        QTest::newRow("no table, an empty key, a field too many")
            << Header + "Rd,Analog Input,62,,0,,4,,a\r\nRead, ,62,,0,,4,,b\r\nRead,Analog Input,62,,0,,4,,c,,x\r\n"
            << false << false << none << none << none
            << QStringList{
                   Bad(2, u"\"Table\""_s, Messages().Get(Msg_Points_Not_A_Table).arg(u"Rd"_s, u"Read"_s, u"Write"_s)),
                   Bad(3, u"\"Data Type\""_s, Messages().Get(Msg_Points_Key_Empty)),
                   Bad(4, u"11"_s, Messages().Get(Msg_Points_Too_Many_Fields).arg(u"11"_s, u"9"_s))};
        QTest::newRow("blank lines and trailing separators")
            << "Table,Data Type,Position,,\r\n,,,,\r\nRead,Access Door,5,,\r\n\r\n ,\r\n"_ba << false << false << none
            << QStringList{u"Access Door||5||||"_s} << none << none;
        QTest::newRow("Italian header names")
            << "Tabella;Tipo dato;Unit\xC3\xA0 ing.;NOME UNIT\xC3\x80;Posizione;Bit "
               "iniziale;Lunghezza;Swap;Mnemonico\r\n"
               "Read;Analog Input;62;degrees-Celsius;0;;4;N;Mandata\r\n"_ba
            << false << true << none << QStringList{u"Analog Input|62|0||4|N|Mandata"_s} << none << none;
        QTest::newRow("English header names with Italian texts")
            << Header + "Read,Analog Input,62,,0,,4,N,a\r\n"
            << false << true << none << QStringList{u"Analog Input|62|0||4|N|a"_s} << none << none;
    }

    void import_objects()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, append);
        QFETCH(bool, italian);
        QFETCH(QStringList, before);
        QFETCH(QStringList, read);
        QFETCH(QStringList, write);
        QFETCH(QStringList, bad);
        if (italian)
            QVERIFY(Messages().Read_Language_File(Italian).Ok());
        Text_Table read_table(Object_Columns(Page_Read), 3);
        Text_Table write_table(Object_Columns(Page_Write), 3);
        Fill(read_table, before);
        const Points_Tables tables{{{"Read", &read_table, Obj_Data_Type}, {"Write", &write_table, Obj_Data_Type}}};
        const Points_Import import = Import_Points(tables, file, append ? Import_Mode::Append : Import_Mode::Replace);
        if (!italian) // the reasons are English texts in the rows
            QCOMPARE(Texts(import.Bad_Lines), bad);
        QCOMPARE(import.Ok(), bad.isEmpty());
        if (import.Ok())
            Apply(tables, import);
        QCOMPARE(Rows_In_Use(read_table), read);
        QCOMPARE(Rows_In_Use(write_table), write);
    }

    // The names of the BACnet object types that points lists of other tools
    // give, in any letter case, pasted or imported: the table's own text is
    // stored. A type the table does not offer is refused, with the reason
    // that names the table's types, as any text that is none of them.
    void standard_type_names_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored"); // empty: refused
        const auto row = [](const char *tag, int page, const char *name, const char *stored) {
            QTest::newRow(tag) << page << QString::fromUtf8(name) << QString::fromUtf8(stored);
        };
        row("binary output", Page_Write, "binary output", "Binary Out");
        row("Analog Output", Page_Write, "Analog Output", "Analog Out");
        row("AO", Page_Write, "AO", "Analog Out");
        row("ANALOG_INPUT", Page_Read, "ANALOG_INPUT", "Analog Input");
        row("analog-input", Page_Read, "analog-input", "Analog Input");
        row("ai, outer blanks", Page_Read, " ai ", "Analog Input");
        row("AV", Page_Write, "AV", "Analog Value");
        row("BI", Page_Read, "BI", "Binary Input");
        row("BO", Page_Write, "BO", "Binary Out");
        row("bv", Page_Read, "bv", "Binary Value");
        row("MSI", Page_Read, "MSI", "Multi State Input");
        row("MSO", Page_Write, "MSO", "Multi State Output");
        row("MSV", Page_Read, "MSV", "Multi State Value");
        row("Multistate Value", Page_Write, "Multistate Value", "Multi State Value");
        row("Multi-state Input", Page_Read, "Multi-state Input", "Multi State Input");
        row("MULTI_STATE_OUTPUT", Page_Write, "MULTI_STATE_OUTPUT", "Multi State Output");
        row("Positive Integer", Page_Read, "Positive Integer", "Positive Integer Value");
        row("positive-integer-value", Page_Write, "positive-integer-value", "Positive Integer Value");
        row("INTEGER VALUE", Page_Write, "INTEGER VALUE", "Integer Value");
        row("large_analog_value", Page_Read, "large_analog_value", "Large Analog Value");
        row("Access Door", Page_Write, "access-door", "Access Door");
        row("an output type in Read", Page_Read, "Analog Output", "");
        row("AO in Read", Page_Read, "AO", "");
        row("BI in Write", Page_Write, "BI", "");
        row("MSI in Write", Page_Write, "Multistate Input", "");
        row("a type no table offers", Page_Read, "DateTime Value", "");
        row("no type", Page_Read, "Analog Inputs", "");
        row("other punctuation", Page_Read, "A.I.", "");
    }

    void standard_type_names()
    {
        QFETCH(int, page);
        QFETCH(QString, name);
        QFETCH(QString, stored);
        const QList<Column_Desc> columns = Object_Columns(page);
        const Column_Desc &column = columns[Obj_Data_Type];
        const QString refusal = Messages().Get(Msg_Paste_Not_An_Item).arg(Data_Type_Items(page).join(u", "_s));

        const Result<QString> pasted = Paste_Cell_Text(column, name);
        QCOMPARE(pasted.Ok() ? pasted.Value() : pasted.Problem(), stored.isEmpty() ? refusal : stored);
        // A block pasted into the grid, each cell through the same rule.
        Text_Table table(Object_Columns(page), 2);
        const Result<QList<Cell_Change>> planned =
            Plan_Paste(table, 0, Obj_Data_Type, QList<QStringList>{QStringList{name}, QStringList{name}});
        QCOMPARE(planned.Ok(), !stored.isEmpty());
        if (planned.Ok())
            QCOMPARE(planned.Value().value(1).text, stored);

        Text_Table read_table(Object_Columns(Page_Read), 2);
        Text_Table write_table(Object_Columns(Page_Write), 2);
        const Points_Tables tables{{{"Read", &read_table, Obj_Data_Type}, {"Write", &write_table, Obj_Data_Type}}};
        const QByteArray line = (page == Page_Read ? "Read," : "Write,") + name.toUtf8() + ",62,,0,,4,N,a\r\n";
        const Points_Import import = Import_Points(tables, Header + line, Import_Mode::Replace);
        if (stored.isEmpty()) {
            QCOMPARE(Texts(import.Bad_Lines),
                     QStringList{Bad(2, u"\"Data Type\""_s, u'"' + name + u"\": "_s + refusal)});
        } else {
            QVERIFY2(import.Ok(), qPrintable(import.Problem(u"points.csv"_s)));
            Apply(tables, import);
            QCOMPARE(Rows_In_Use(page == Page_Read ? read_table : write_table),
                     QStringList{stored + u"|62|0||4|N|a"_s});
        }
    }

    void import_rules_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("uplink");
        QTest::addColumn<QStringList>("downlink");
        QTest::addColumn<QStringList>("bad");
        const QStringList none;
        const QByteArray header = "Table,Enable,Start Byte,Num. Byte,On Change,On CMD,On Timer,Time (s),Mnemonic\r\n";
        QTest::newRow("both tables") << header + "Uplink,Y,0,10,yes,no,1,600,Meter\r\nDownlink,N,20,2,,,,,Set point\r\n"
                                     << QStringList{u"Y|0|10|Y|N|Y|600|Meter"_s} << QStringList{u"N|20|2|Set point"_s}
                                     << none;
        // A column left out gives what a fresh row holds (a rule is
        // enabled); an empty field is a box not ticked.
        QTest::newRow("columns left out") << "Start Byte;Table\r\n5;uplink\r\n6;DOWNLINK\r\n"_ba
                                          << QStringList{u"Y|5||||||"_s} << QStringList{u"Y|6||"_s} << none;
        QTest::newRow("empty fields") << "Start Byte;Table;Enable;On CMD\r\n5;uplink;;\r\n6;DOWNLINK;;\r\n"_ba
                                      << QStringList{u"N|5||||||"_s} << QStringList{u"N|6||"_s} << none;
        QTest::newRow("uplink columns on a downlink line")
            << header + "Downlink,Y,0,1,Y,,,30,x\r\n"
            << none << none
            << QStringList{Bad(2, u"\"On Change\""_s, Messages().Get(Msg_Points_Not_In_Table).arg(u"Downlink"_s)),
                           Bad(2, u"\"Time (s)\""_s, Messages().Get(Msg_Points_Not_In_Table).arg(u"Downlink"_s))};
        QTest::newRow("no start byte") << "Table,Enable\r\nUplink,Y\r\n"_ba << none << none
                                       << QStringList{
                                              Bad(1, u"\"Start Byte\""_s, Messages().Get(Msg_Points_Column_Missing))};
        QTest::newRow("a flag that is none")
            << header + "Uplink,maybe,0,1,,,,,x\r\n"
            << none << none
            << QStringList{Bad(2, u"\"Enable\""_s, u"\"maybe\": "_s + Messages().Get(Msg_Paste_Not_A_Flag))};
    }

    void import_rules()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, uplink);
        QFETCH(QStringList, downlink);
        QFETCH(QStringList, bad);
        LoRa_Set_Access rules;
        const Points_Import import = Import_Points(Points_Of(rules), file, Import_Mode::Replace);
        QCOMPARE(Texts(import.Bad_Lines), bad);
        if (import.Ok())
            Apply(Points_Of(rules), import);
        QCOMPARE(Rows_In_Use(rules.Uplink), uplink);
        QCOMPARE(Rows_In_Use(rules.Downlink), downlink);
    }

    void export_format()
    {
        LoRa_Set_Access rules;
        test::Fill(rules.Uplink, {u"Y|0|10|Y|N|Y|600|Meter, main"_s});
        test::Fill(rules.Downlink, {u"N|20|2| Set \"point\""_s, u"Y||3|after the end"_s});
        QCOMPARE(Export_Points(Points_Of(rules)),
                 "\xEF\xBB\xBFTable,Enable,Start Byte,Num. Byte,On Change,On CMD,On Timer,Time (s),Mnemonic\r\n"
                 "Uplink,Y,0,10,Y,N,Y,600,\"Meter, main\"\r\n"
                 "Downlink,N,20,2,,,,,\" Set \"\"point\"\"\"\r\n"_ba);

        BACnet_Slave_Set_Access objects;
        test::Fill(objects.Read,
                   {u"Analog Input|62|0||4|N|a"_s, u"Analog Input|300|4||4||b"_s, u"Analog Input|x|8||4||c"_s});
        test::Fill(objects.Write, {u"Binary Out|95|0|3|1|Y|d"_s});
        // Written in English whatever the language.
        QVERIFY(Messages().Read_Language_File(Italian).Ok());
        QCOMPARE(Export_Points(Points_Of(objects)), "\xEF\xBB\xBF" + Header +
                                                        "Read,Analog Input,62,degrees-Celsius,0,,4,N,a\r\n"
                                                        "Read,Analog Input,300,,4,,4,,b\r\n"
                                                        "Read,Analog Input,x,,8,,4,,c\r\n"
                                                        "Write,Binary Out,95,no-units,0,3,1,Y,d\r\n");
    }

    void problem_lists_every_bad_line()
    {
        Points_Import import;
        for (int i = 2; i <= 5; ++i)
            import.Bad_Lines.append({i, u"\"Table\""_s, u"x"_s});
        const QString heading = Messages().Get(Msg_Points_Not_Imported).arg(u"/tmp/p.csv"_s);
        QCOMPARE(import.Problem(u"/tmp/p.csv"_s).split(u'\n'),
                 (QStringList{heading, Bad(2, u"\"Table\""_s, u"x"_s), Bad(3, u"\"Table\""_s, u"x"_s),
                              Bad(4, u"\"Table\""_s, u"x"_s), Bad(5, u"\"Table\""_s, u"x"_s)}));
        QCOMPARE(import.Problem(u"/tmp/p.csv"_s, 2).split(u'\n'),
                 (QStringList{heading, Bad(2, u"\"Table\""_s, u"x"_s), Bad(3, u"\"Table\""_s, u"x"_s),
                              Messages().Get(Msg_Object_Names_More).arg(2)}));
    }

    // An export, then an import that replaces the tables, gives back the
    // same document, also after a spreadsheet saved the file again.
    void round_trip_data()
    {
        QTest::addColumn<int>("form");
        QTest::newRow("as exported") << 0;
        QTest::newRow("saved with semicolons in windows-1252") << 1;
        QTest::newRow("saved with tabs in UTF-8 without a mark") << 2;
    }

    void round_trip()
    {
        QFETCH(int, form);
        const auto resave = [form](const QByteArray &exported) {
            return form == 0 ? exported : form == 1 ? Resaved_By_Spreadsheet(exported) : Resaved_As_Tabs(exported);
        };
        const QStringList names{u"Pump, \"main\"; 1"_s, u" leading blank"_s, u"Ventilátor € ÄÖ"_s,
                                u"100 % open"_s,        u"=1+2"_s,           QString(),
                                u"trailing blank "_s,   u"tab\\t is text"_s};

        // Every type of both tables, each Swap, several units.
        BACnet_Slave_Set_Access made;
        const QStringList units{u"62"_s, u"95"_s, u"300"_s, u"0"_s, u"65535"_s};
        const QStringList swaps{u"N"_s, u"Y"_s, QString()};
        for (int page : {Page_Read, Page_Write}) {
            const QStringList types = Data_Type_Items(page);
            QStringList rows;
            for (int i = 0; i < types.size(); ++i) {
                const bool binary = types[i].startsWith(u"Binary"_s);
                rows.append(QStringList{types[i], units[i % units.size()], QString::number(i * 97 % 1500),
                                        binary ? QString::number(i % 8) : QString(),
                                        binary                                      ? QString()
                                        : Length_For(types[i], Page_Write).isNull() ? u"2"_s
                                                                                    : Length_For(types[i], Page_Write),
                                        swaps[i % 3], names[(i + page) % names.size()]}
                                .join(u'|'));
            }
            test::Fill(made.Table(page), rows);
        }
        const QByteArray objects = made.Serialise();
        const QString objects_file = dir_.filePath(u"objects.xml"_s);
        test::Write(objects_file, objects);
        BACnet_Slave_Set_Access loaded;
        (void)loaded.Load(QString(), objects_file);
        QCOMPARE(loaded.Serialise(), objects);

        BACnet_Slave_Set_Access other; // holds other rows, and one below the end
        test::Fill(other.Read, {u"Analog Input|1|1||1||x"_s, u"|||||Y|"_s, u"Accumulator|2|2||2||y"_s});
        const Points_Import objects_import =
            Import_Points(Points_Of(other), resave(Export_Points(Points_Of(loaded))), Import_Mode::Replace);
        QVERIFY2(objects_import.Ok(), qPrintable(objects_import.Problem(u"objects"_s)));
        Apply(Points_Of(other), objects_import);
        QCOMPARE(other.Serialise(), objects);

        LoRa_Set_Access rules;
        test::Fill(rules.Uplink, {u"Y|0|10|Y|N|Y|600|"_s + names[0], u"N|1536|0|N|Y|N|10|"_s + names[2],
                                  u"Y|12|49|N|N|N||"_s + names[3]});
        test::Fill(rules.Downlink, {u"N|20|2|"_s + names[1], u"Y|0|1|"_s + names[6]});
        const QByteArray rules_doc = rules.Serialise();
        LoRa_Set_Access other_rules;
        test::Fill(other_rules.Downlink, {u"Y|1|1|x"_s, u"Y|2|2|y"_s, u"Y|3|3|z"_s});
        const Points_Import rules_import =
            Import_Points(Points_Of(other_rules), resave(Export_Points(Points_Of(rules))), Import_Mode::Replace);
        QVERIFY2(rules_import.Ok(), qPrintable(rules_import.Problem(u"rules"_s)));
        Apply(Points_Of(other_rules), rules_import);
        QCOMPARE(other_rules.Serialise(), rules_doc);
    }

    // A cell that a spreadsheet would run as a formula goes out behind an
    // apostrophe and comes back without it: the object and rule lists read
    // back byte for byte what they wrote; numbers go out as they are.
    void formula_cells_data() { test::Hostile_Cells_Data(); }

    void formula_cells()
    {
        QFETCH(QString, cell);
        QFETCH(QString, field);
        BACnet_Slave_Set_Access objects;
        Fill(objects.Read, {u"Analog Input|62|0||4||"_s});
        objects.Read.Set_Cell(0, Obj_Mnemonic, cell);
        LoRa_Set_Access rules;
        Fill(rules.Downlink, {u"Y|0|2|"_s});
        rules.Downlink.Set_Cell(0, Down_Mnemonic, cell);

        BACnet_Slave_Set_Access objects_back;
        LoRa_Set_Access rules_back;
        const Points_Tables lists[] = {Points_Of(objects), Points_Of(rules)};
        const Points_Tables back[] = {Points_Of(objects_back), Points_Of(rules_back)};
        const Text_Table *back_table[] = {&objects_back.Read, &rules_back.Downlink};
        const int mnemonic[] = {Obj_Mnemonic, Down_Mnemonic};
        for (int k = 0; k < 2; ++k) {
            const QByteArray exported = Export_Points(lists[k]);
            const QList<Csv_Record> records = Parse_Csv(Decode_Csv(exported), u',');
            QCOMPARE(records.size(), 2);
            QCOMPARE(records[1].Fields.last(), field);
            const Points_Import import = Import_Points(back[k], exported, Import_Mode::Replace);
            QVERIFY2(import.Ok(), qPrintable(import.Problem(u"points"_s)));
            Apply(back[k], import);
            QCOMPARE(back_table[k]->Cell(0, mnemonic[k]), cell);
        }
    }

    void file_name_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("added") << u"/x/points"_s << u"/x/points.csv"_s;
        QTest::newRow("kept in any case") << u"/x/points.CSV"_s << u"/x/points.CSV"_s;
        QTest::newRow("another extension") << u"/x/points.txt"_s << u"/x/points.txt.csv"_s;
    }

    void file_name()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QCOMPARE(Points_File_Name(chosen), written);
    }
};

QTEST_APPLESS_MAIN(Test_Points_Csv)
#include "test_points_csv.moc"
