#include "core/messages.h"
#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/eng_units.h"
#include "tables/grid_clipboard.h"
#include "tables/lora_access.h"

#include <QTest>
#include <random>

using namespace Qt::StringLiterals;

namespace {

using Block = QList<QStringList>;

// A table of `columns` text columns (headers are any message).
Text_Table Text_Columns(int columns, int rows)
{
    QList<Column_Desc> descs;
    for (int c = 0; c < columns; ++c)
        descs.append({.attribute = "T", .header_message = 1224});
    return Text_Table(descs, rows);
}

QList<int> Range(int first, int count)
{
    QList<int> list;
    for (int i = 0; i < count; ++i)
        list.append(first + i);
    return list;
}

// Every row of the table as "a|b|c" texts.
QStringList Snapshot(const Text_Table &table)
{
    QStringList rows;
    for (int r = 0; r < table.Row_Count(); ++r)
        rows.append(test::Row_Text(table, r));
    return rows;
}

enum Table_Kind { Objects_Read, Objects_Write, Uplink };

Text_Table Make(Table_Kind kind, int rows)
{
    switch (kind) {
    case Objects_Read:
        return Text_Table(Object_Columns(Page_Read), rows);
    case Objects_Write:
        return Text_Table(Object_Columns(Page_Write), rows);
    case Uplink:
        break;
    }
    return Text_Table(Uplink_Columns(), rows);
}

// Plans a paste of the clipboard text `clip` and applies it when it can go in.
Result<QList<Cell_Change>> Paste(Text_Table &table, int row, int column, const QString &clip)
{
    Result<QList<Cell_Change>> plan = Plan_Paste(table, row, column, Parse_Clipboard(clip));
    if (plan.Ok())
        table.Set_Cells(plan.Value());
    return plan;
}

} // namespace

Q_DECLARE_METATYPE(Block)

class Test_Grid_Clipboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Messages().Build_Default_Messages(); }

    // What a spreadsheet reads back: tabs between cells, a line break after
    // every row, and a cell quoted only when it holds a tab, a line break or
    // a double quote.
    void copy_quotes_only_what_needs_it_data()
    {
        QTest::addColumn<Block>("cells");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << Block{{u"Analog Input"_s, u"62"_s, u""_s}, {u""_s, u""_s, u"x"_s}}
                               << QStringLiteral("Analog Input\t62\t\n\t\tx\n");
        QTest::newRow("blanks, commas and %1 stay bare")
            << Block{{u" a, b "_s, u"%1"_s}} << QStringLiteral(" a, b \t%1\n");
        QTest::newRow("tab") << Block{{u"a\tb"_s, u"c"_s}} << QStringLiteral("\"a\tb\"\tc\n");
        QTest::newRow("line feed") << Block{{u"two\nlines"_s}} << QStringLiteral("\"two\nlines\"\n");
        QTest::newRow("carriage return") << Block{{u"x\ry"_s}} << QStringLiteral("\"x\ry\"\n");
        QTest::newRow("quotes doubled") << Block{{u"say \"hi\""_s, u"\""_s}}
                                        << QStringLiteral("\"say \"\"hi\"\"\"\t\"\"\"\"\n");
        QTest::newRow("one empty cell") << Block{{u""_s}} << QStringLiteral("\n");
    }

    void copy_quotes_only_what_needs_it()
    {
        QFETCH(Block, cells);
        QFETCH(QString, text);
        Text_Table table = Text_Columns(int(cells[0].size()), int(cells.size()) + 2);
        for (int r = 0; r < cells.size(); ++r)
            table.Set_Row(r + 1, cells[r]);
        QCOMPARE(Copy_Cells(table, Range(1, int(cells.size())), Range(0, int(cells[0].size()))), text);
        QCOMPARE(Parse_Clipboard(text), cells);
    }

    void copy_takes_the_given_rows_and_columns()
    {
        Text_Table table(Object_Columns(Page_Read), 4);
        test::Fill(table, {u"Analog Input|62|0||4|Y|Supply"_s, u"Binary Input|95|4|3|1|N|Fan"_s});
        // The visible columns but Eng. Unit, rows in the order given.
        QCOMPARE(Copy_Cells(table, {1, 0}, {Obj_Data_Type, Obj_Position, Obj_Mnemonic}),
                 QStringLiteral("Binary Input\t4\tFan\nAnalog Input\t0\tSupply\n"));
        QCOMPARE(Copy_Cells(table, {}, {0, 1}), QString());
    }

    // Texts as LibreOffice Calc, Excel and Google Sheets put them on the
    // clipboard.
    void parse_spreadsheet_texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Block>("cells");
        QTest::newRow("Excel: CR LF after every row")
            << QStringLiteral("Analog Input\t62\t0\r\nBinary Input\t95\t4\r\n")
            << Block{{u"Analog Input"_s, u"62"_s, u"0"_s}, {u"Binary Input"_s, u"95"_s, u"4"_s}};
        QTest::newRow("Calc: LF after every row")
            << QStringLiteral("a\tb\nc\td\n") << Block{{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}};
        QTest::newRow("Sheets: no line break after the last row")
            << QStringLiteral("a\tb\nc\td") << Block{{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}};
        QTest::newRow("lone CR between rows") << QStringLiteral("a\rb\r") << Block{{u"a"_s}, {u"b"_s}};
        QTest::newRow("a lone cell") << QStringLiteral("62") << Block{{u"62"_s}};
        QTest::newRow("a lone cell with its line break") << QStringLiteral("62\r\n") << Block{{u"62"_s}};
        QTest::newRow("one empty cell") << QStringLiteral("\r\n") << Block{{u""_s}};
        QTest::newRow("nothing") << QString() << Block{};
        QTest::newRow("empty cells at the row ends")
            << QStringLiteral("a\t\t\r\n\tb\t\r\n\t\tc\r\n")
            << Block{{u"a"_s, u""_s, u""_s}, {u""_s, u"b"_s, u""_s}, {u""_s, u""_s, u"c"_s}};
        QTest::newRow("a tab at the very end") << QStringLiteral("a\t") << Block{{u"a"_s, u""_s}};
        QTest::newRow("an empty row in the middle, a final empty row")
            << QStringLiteral("a\r\n\r\nb\r\n\r\n") << Block{{u"a"_s}, {u""_s}, {u"b"_s}, {u""_s}};
        QTest::newRow("quoted multi-line cell (Excel, LF inside)")
            << QStringLiteral("\"Supply\nair\"\t62\r\nx\t\"a\tb\"\r\n")
            << Block{{u"Supply\nair"_s, u"62"_s}, {u"x"_s, u"a\tb"_s}};
        QTest::newRow("quoted cell with CR LF inside and doubled quotes")
            << QStringLiteral("\"6\"\" pipe\r\nsecond\"\r\n") << Block{{u"6\" pipe\r\nsecond"_s}};
        QTest::newRow("quoted cell last, no final line break")
            << QStringLiteral("a\t\"b\"\"\"") << Block{{u"a"_s, u"b\""_s}};
        QTest::newRow("quotes inside a bare cell stay")
            << QStringLiteral("5\" pipe\tb\n") << Block{{u"5\" pipe"_s, u"b"_s}};
        QTest::newRow("a quote not closing the cell: bare text")
            << QStringLiteral("\"5\" pipe\tb\n") << Block{{u"\"5\" pipe"_s, u"b"_s}};
        QTest::newRow("an unclosed quote: bare text up to the line break")
            << QStringLiteral("\"open\tb\nc\n") << Block{{u"\"open"_s, u"b"_s}, {u"c"_s}};
    }

    void parse_spreadsheet_texts()
    {
        QFETCH(QString, text);
        QFETCH(Block, cells);
        QCOMPARE(Parse_Clipboard(text), cells);
    }

    // Any block of texts survives a copy and a parse: random blocks over the
    // characters that matter (tabs, line breaks, quotes, blanks).
    void copy_then_parse_gives_the_block_back()
    {
        std::mt19937 random(20240515);
        const QString alphabet = QStringLiteral("\t\r\n\" a\u00E8\u20AC,;");
        const auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); };
        for (int round = 0; round < 500; ++round) {
            const int rows = 1 + pick(4);
            const int columns = 1 + pick(4);
            Text_Table table = Text_Columns(columns, rows);
            Block cells;
            for (int r = 0; r < rows; ++r) {
                QStringList row;
                for (int c = 0; c < columns; ++c) {
                    QString text;
                    for (int k = pick(6); k > 0; --k)
                        text += alphabet[pick(int(alphabet.size()))];
                    row.append(text);
                }
                table.Set_Row(r, row);
                cells.append(row);
            }
            const QString copied = Copy_Cells(table, Range(0, rows), Range(0, columns));
            QCOMPARE(Parse_Clipboard(copied), cells);
        }
    }

    // A block pasted into the object tables: each text through its cell's
    // rules, the hidden Swap column (which holds "S" here) skipped.
    void paste_into_object_table_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QStringList>("rows"); // the three rows afterwards
        QTest::newRow("a whole row, names in other case, Swap skipped")
            << int(Page_Read) << 0 << 0 << QStringLiteral("analog INPUT\t62\t17\t\t4\tSupply air\r\n")
            << QStringList{u"Analog Input|62|17||4|S|Supply air"_s, u"|||||S|"_s, u"x|1|2|3|4|S|m"_s};
        QTest::newRow("Eng. Unit by number, by name and as the grid shows it")
            << int(Page_Read) << 0 << 1 << QStringLiteral(" 95 \nDegrees-celsius\n62 degrees-Celsius\n")
            << QStringList{u"|95||||S|"_s, u"|62||||S|"_s, u"x|62|2|3|4|S|m"_s};
        QTest::newRow("Eng. Unit written other ways")
            << int(Page_Read) << 0 << 1 << QStringLiteral("0062\n207 -> PER-MILLE\n300\n")
            << QStringList{u"|62||||S|"_s, u"|207||||S|"_s, u"x|300|2|3|4|S|m"_s};
        QTest::newRow("the unit names of the descriptions")
            << int(Page_Read) << 0 << 1 << QStringLiteral("ohm-meters\n139 (megajoules-per-square-meter)\nwatts\n")
            << QStringList{u"|172||||S|"_s, u"|139||||S|"_s, u"x|47|2|3|4|S|m"_s};
        QTest::newRow("from Length: Length and Mnemonic, blanks of a text kept")
            << int(Page_Write) << 1 << int(Obj_Length) << QStringLiteral("2\t  Valve 1  \r\n")
            << QStringList{u"|||||S|"_s, u"||||2|S|  Valve 1  "_s, u"x|1|2|3|4|S|m"_s};
        QTest::newRow("Position and Start Bit lists, Write types")
            << int(Page_Write) << 0 << 0 << QStringLiteral("binary out\t\t1499\t7\nLarge analog value\t\t0\t0\n")
            << QStringList{u"Binary Out||1499|7||S|"_s, u"Large Analog Value||0|0||S|"_s, u"x|1|2|3|4|S|m"_s};
        QTest::newRow("empty texts give fresh cells") << int(Page_Read) << 2 << 0 << QStringLiteral("\t\t\t\t\t\r\n")
                                                      << QStringList{u"|||||S|"_s, u"|||||S|"_s, u"|||||S|"_s};
        QTest::newRow("rows of different lengths")
            << int(Page_Read) << 0 << int(Obj_Length) << QStringLiteral("m1\nm2\tx\n")
            << QStringList{u"||||m1|S|"_s, u"||||m2|S|x"_s, u"x|1|2|3|4|S|m"_s};
    }

    void paste_into_object_table()
    {
        QFETCH(int, page);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, clip);
        QFETCH(QStringList, rows);
        Text_Table table(Object_Columns(page), 3);
        test::Fill(table, {u"|||||S|"_s, u"|||||S|"_s, u"x|1|2|3|4|S|m"_s});
        const Result<QList<Cell_Change>> plan = Paste(table, row, column, clip);
        QVERIFY2(plan.Ok(), qPrintable(plan.Problem()));
        QStringList after;
        for (int r = 0; r < 3; ++r)
            after.append(test::Row_Text(table, r));
        QCOMPARE(after, rows);
    }

    // The rule table's check boxes from the words a spreadsheet holds.
    void paste_check_cells_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("row"); // the uplink row afterwards
        QTest::newRow("Y and N") << QStringLiteral("Y\t0\t6\tN\ty\tn\t600\tr") << QStringLiteral("Y|0|6|N|Y|N|600|r");
        QTest::newRow("1 and 0") << QStringLiteral("0\t0\t6\t1\t0\t1") << QStringLiteral("N|0|6|Y|N|Y||");
        QTest::newRow("true and false, any case")
            << QStringLiteral("TRUE\t0\t6\tfalse\tTrue\tFALSE") << QStringLiteral("Y|0|6|N|Y|N||");
        QTest::newRow("yes and no, blanks around")
            << QStringLiteral(" yes \t0\t6\tNo\tYES \t no") << QStringLiteral("Y|0|6|N|Y|N||");
        QTest::newRow("Italian spreadsheet booleans")
            << QStringLiteral("VERO\t0\t6\tfalso\tS\u00EC\tno") << QStringLiteral("Y|0|6|N|Y|N||");
        QTest::newRow("empty: unticked, as a fresh row has it")
            << QStringLiteral("\t0\t6\t\t\t") << QStringLiteral("N|0|6|||||");
    }

    void paste_check_cells()
    {
        QFETCH(QString, clip);
        QFETCH(QString, row);
        Text_Table table(Uplink_Columns(), 4);
        const Result<QList<Cell_Change>> plan = Paste(table, 2, 0, clip);
        QVERIFY2(plan.Ok(), qPrintable(plan.Problem()));
        QCOMPARE(test::Row_Text(table, 2), row);
        QCOMPARE(test::Row_Text(table, 1), QStringLiteral("Y|||||||"));
    }

    // A list whose items differ only in letter case: the item spelt as
    // pasted, else the first alike.
    void combo_prefers_the_exact_spelling()
    {
        const Column_Desc list{.attribute = "L", .kind = Cell_Kind::Combo, .items = {u"Auto"_s, u"AUTO"_s}};
        QCOMPARE(Paste_Cell_Text(list, u"AUTO"_s).Value(), u"AUTO"_s);
        QCOMPARE(Paste_Cell_Text(list, u" auto"_s).Value(), u"Auto"_s);
        QCOMPARE(Paste_Cell_Text(list, u"Auto"_s).Value(), u"Auto"_s);
    }

    // Every unit of the catalogue by its name, in any case, and as the grid
    // shows it beside its number.
    void paste_every_unit_name()
    {
        const Column_Desc unit = Object_Columns(Page_Read)[Obj_Eng_Unit];
        int units = 0;
        for (const Unit_Category &category : Unit_Catalogue())
            for (const Eng_Unit &u : category.units) {
                const QString name = QString::fromUtf16(u.text);
                const QString number = QString::number(u.number);
                for (const QString &text : QStringList{name, name.toUpper(), Desc_Unit(u.number).toLower(),
                                                       number + u' ' + Desc_Unit(u.number)}) {
                    const Result<QString> stored = Paste_Cell_Text(unit, text);
                    QVERIFY2(stored.Ok(), qPrintable(text + u' ' + stored.Problem()));
                    QCOMPARE(stored.Value(), number);
                }
                ++units;
            }
        QCOMPARE(units, Eng_Unit_Count);
    }

    // A paste that cannot go in whole changes nothing and names the first
    // refused cell, its column and text, and why.
    void refusals_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("message");
        QTest::newRow("too many rows")
            << int(Objects_Read) << 4 << 0 << QStringLiteral("Analog Input\nAnalog Input\nAnalog Input\n")
            << QStringLiteral("Error!! The pasted block has 3 rows, but from row 5 to the end the table has only 2. "
                              "Nothing was pasted.");
        QTest::newRow("too many columns: Swap is not one")
            << int(Objects_Read) << 0 << int(Obj_Length) << QStringLiteral("4\tN\tname\r\n")
            << QStringLiteral("Error!! The pasted block has 3 columns, but from the column \"Length\" to the last the "
                              "table has only 2. Nothing was pasted.");
        QTest::newRow("too many columns in a later row")
            << int(Uplink) << 0 << int(Up_Time) << QStringLiteral("600\n600\tr\tx\n")
            << QStringLiteral("Error!! The pasted block has 3 columns, but from the column \"Time (s)\" to the last "
                              "the table has only 2. Nothing was pasted.");
        QTest::newRow("an unknown Data Type")
            << int(Objects_Read) << 1 << 0 << QStringLiteral("Analog Input\t62\nAnalog Out\t62\n")
            << QStringLiteral("Error row 3!! The column \"Data Type\" cannot take \"Analog Out\": it is none of the "
                              "items of the list (Analog Input, Analog Value, Binary Input, Binary Value, Positive "
                              "Integer Value, Large Analog Value, Integer Value, Multi State Input, Multi State Value, "
                              "Life Safety Point, Life Safety Zone, Access Door, Accumulator). Nothing was pasted.");
        QTest::newRow("a Position beyond the list: the list shortened")
            << int(Objects_Write) << 0 << int(Obj_Position) << QStringLiteral("1500")
            << QStringLiteral(
                   "Error row 1!! The column \"Position\" cannot take \"1500\": it is none of the items of "
                   "the list (0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, ..., 1499). Nothing was pasted.");
        QTest::newRow("a unit name that does not exist")
            << int(Objects_Read) << 0 << int(Obj_Eng_Unit) << QStringLiteral("62\ndegrees-Celsus\n")
            << QStringLiteral("Error row 2!! The column \"Eng. Unit\" cannot take \"degrees-Celsus\": it is neither a "
                              "unit number from 0 to 65535 nor the name of a unit. Nothing was pasted.");
        QTest::newRow("a unit number out of range")
            << int(Objects_Read) << 0 << int(Obj_Eng_Unit) << QStringLiteral("65536")
            << QStringLiteral("Error row 1!! The column \"Eng. Unit\" cannot take \"65536\": it is neither a unit "
                              "number from 0 to 65535 nor the name of a unit. Nothing was pasted.");
        QTest::newRow("a number and a name that disagree")
            << int(Objects_Write) << 0 << int(Obj_Eng_Unit) << QStringLiteral("63 degrees-Celsius")
            << QStringLiteral("Error row 1!! The column \"Eng. Unit\" cannot take \"63 degrees-Celsius\": the unit "
                              "number 63 is \"degrees-Kelvin\", not \"degrees-Celsius\". Nothing was pasted.");
        QTest::newRow("a line break in a Mnemonic")
            << int(Objects_Read) << 0 << int(Obj_Mnemonic) << QStringLiteral("\"two\nlines\"\r\n")
            << QStringLiteral(
                   "Error row 1!! The column \"Mnemonic\" cannot take \"two\u240Alines\": it holds a control "
                   "character (such as a tab or a line break), which no cell can hold. Nothing was pasted.");
        QTest::newRow("a control character in a number cell, the rule grid numbering from 1")
            << int(Uplink) << 5 << int(Up_StartByte) << QStringLiteral("1\x07")
            << QStringLiteral("Error row 6!! The column \"Start Byte\" cannot take \"1\u2407\": it holds a control "
                              "character (such as a tab or a line break), which no cell can hold. Nothing was pasted.");
        QTest::newRow("a check box word it does not know, first of two refusals")
            << int(Uplink) << 0 << int(Up_Enable) << QStringLiteral("Y\t0\t6\tmaybe\tno\nperhaps\n")
            << QStringLiteral("Error row 1!! The column \"On Change\" cannot take \"maybe\": a check box takes Y or N, "
                              "1 or 0, true or false, yes or no. Nothing was pasted.");
        QTest::newRow("a long refused text is cut, and %1 stays as typed")
            << int(Objects_Read) << 0 << 0 << QStringLiteral("%1 %2 abcdefghijklmnopqrstuvwxyz0123456789ABCDEF")
            << QStringLiteral(
                   "Error row 1!! The column \"Data Type\" cannot take \"%1 %2 abcdefghijklmnopqrstuvwxyz"
                   "01234567\u2026\": it is none of the items of the list (Analog Input, Analog Value, Binary "
                   "Input, Binary Value, Positive Integer Value, Large Analog Value, Integer Value, Multi "
                   "State Input, Multi State Value, Life Safety Point, Life Safety Zone, Access Door, "
                   "Accumulator). Nothing was pasted.");
    }

    void refusals()
    {
        QFETCH(int, kind);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, clip);
        QFETCH(QString, message);
        Text_Table table = Make(Table_Kind(kind), 6);
        // Rows that a paste would overwrite hold text of their own.
        for (int r = 0; r < table.Row_Count(); ++r)
            for (int c = 0; c < table.Column_Count(); ++c)
                if (table.Column(c).kind == Cell_Kind::Text)
                    table.Set_Cell(r, c, QStringLiteral("old%1.%2").arg(r).arg(c));
        const QStringList before = Snapshot(table);
        const Result<QList<Cell_Change>> plan = Paste(table, row, column, clip);
        QVERIFY(!plan.Ok());
        QCOMPARE(plan.Problem(), message);
        QCOMPARE(Snapshot(table), before);
    }

    // The refusal in the user's language.
    void refusal_in_italian()
    {
        Messages().Set(Msg_Paste_Cell_Refused, QStringLiteral("Errore riga %1!! La colonna \"%2\" non accetta \"%3\": "
                                                              "%4. Non è stato incollato nulla."));
        Messages().Set(Msg_Paste_Not_A_Flag, QStringLiteral("una casella di spunta accetta Y o N"));
        Messages().Set(1220, QStringLiteral("Su variazione"));
        Text_Table table(Uplink_Columns(), 2);
        const Result<QList<Cell_Change>> plan = Plan_Paste(table, 1, Up_OnChange, {{QStringLiteral("forse")}});
        Messages().Build_Default_Messages();
        QCOMPARE(plan.Problem(), QStringLiteral("Errore riga 2!! La colonna \"Su variazione\" non accetta \"forse\": "
                                                "una casella di spunta accetta Y o N. Non è stato incollato nulla."));
    }

    // What the grid copies pastes back unchanged, into another place.
    void copied_rows_paste_back()
    {
        Text_Table table(Object_Columns(Page_Write), 6);
        test::Fill(table, {u"Analog Out|98|0||2|Y|Valve \"A\", 1"_s, u"Multi State Value|95|1499|7|2|N| Mode"_s,
                           u"|||||N|"_s});
        const QList<int> visible{Obj_Data_Type, Obj_Eng_Unit, Obj_Position, Obj_Bit, Obj_Length, Obj_Mnemonic};
        const QString clip = Copy_Cells(table, {0, 1, 2}, visible);
        const Result<QList<Cell_Change>> plan = Paste(table, 3, 0, clip);
        QVERIFY2(plan.Ok(), qPrintable(plan.Problem()));
        QCOMPARE(plan.Value().size(), 18);
        QCOMPARE(test::Row_Text(table, 3), QStringLiteral("Analog Out|98|0||2||Valve \"A\", 1"));
        QCOMPARE(test::Row_Text(table, 4), QStringLiteral("Multi State Value|95|1499|7|2|| Mode"));
        QCOMPARE(test::Row_Text(table, 5), QStringLiteral("||||||"));
    }

    void paste_nothing_plans_nothing()
    {
        Text_Table table(Object_Columns(Page_Read), 2);
        const Result<QList<Cell_Change>> plan = Plan_Paste(table, 1, Obj_Mnemonic, Parse_Clipboard(QString()));
        QVERIFY(plan.Ok());
        QVERIFY(plan.Value().isEmpty());
    }

    // Cutting leaves the cells as a fresh row has them.
    void clear_gives_fresh_texts()
    {
        Text_Table table(Uplink_Columns(), 3);
        test::Fill(table, {u"N|1|2|Y|Y|Y|60|a"_s, u"N|3|4|Y|Y|Y|60|b"_s});
        table.Set_Cells(Plan_Clear(table, {0, 1}, {Up_Enable, Up_StartByte, Up_OnChange, Up_Mnemonic}));
        QCOMPARE(test::Row_Text(table, 0), QStringLiteral("Y||2||Y|Y|60|"));
        QCOMPARE(test::Row_Text(table, 1), QStringLiteral("Y||4||Y|Y|60|"));
    }

    // Ctrl+D: the block's top row down over the others; a single row from the
    // row above; the first row alone has nothing above it.
    void fill_down_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("block") << QList<int>{0, 1, 2}
                               << QStringList{u"Y|1|2|Y|Y|Y|60|a"_s, u"N|1|4|Y|Y|Y|60|a"_s, u"Y|1|6|N|N|N||a"_s};
        QTest::newRow("rows apart") << QList<int>{0, 2}
                                    << QStringList{u"Y|1|2|Y|Y|Y|60|a"_s, u"N|3|4|Y|Y|Y|60|b"_s, u"Y|1|6|N|N|N||a"_s};
        QTest::newRow("one row: from above")
            << QList<int>{1} << QStringList{u"Y|1|2|Y|Y|Y|60|a"_s, u"N|1|4|Y|Y|Y|60|a"_s, u"Y|5|6|N|N|N||"_s};
        QTest::newRow("first row alone") << QList<int>{0}
                                         << QStringList{u"Y|1|2|Y|Y|Y|60|a"_s, u"N|3|4|Y|Y|Y|60|b"_s,
                                                        u"Y|5|6|N|N|N||"_s};
    }

    void fill_down()
    {
        QFETCH(QList<int>, rows);
        QFETCH(QStringList, expected);
        Text_Table table(Uplink_Columns(), 3, 0);
        test::Fill(table, {u"Y|1|2|Y|Y|Y|60|a"_s, u"N|3|4|Y|Y|Y|60|b"_s, u"Y|5|6|N|N|N||"_s});
        // Start Byte and Mnemonic selected.
        table.Set_Cells(Plan_Fill_Down(table, rows, {Up_StartByte, Up_Mnemonic}));
        for (int r = 0; r < 3; ++r)
            QCOMPARE(test::Row_Text(table, r), expected[r]);
    }
};

QTEST_GUILESS_MAIN(Test_Grid_Clipboard)
#include "test_grid_clipboard.moc"
