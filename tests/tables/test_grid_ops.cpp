#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/grid_ops.h"
#include "tables/lora_access.h"

#include <QTest>

namespace {

// Answers every request with `answer` and keeps what was asked.
struct Recorder
{
    explicit Recorder(bool a = true)
        : answer(a)
    {}
    bool answer;
    QList<Grid_Request> asked;
    Grid_Asker Asker()
    {
        return [this](const Grid_Request &request) {
            asked.append(request);
            return answer;
        };
    }
    QList<int> Messages_Asked() const
    {
        QList<int> numbers;
        for (const Grid_Request &r : asked)
            numbers.append(r.message);
        return numbers;
    }
};

// A small object table: rows 0 .. n-1 hold "T<k>" objects (k from 1).
void Fill_Objects(Text_Table &table, int n)
{
    for (int r = 0; r < n; ++r)
        table.Set_Row(r, {QStringLiteral("T%1").arg(r + 1), QStringLiteral("95"), QString::number(r), QString(),
                          QStringLiteral("1"), QStringLiteral("N"), QStringLiteral("m%1").arg(r + 1)});
}

QString Type_At(const Text_Table &table, int r)
{
    return table.Cell(r, Obj_Data_Type);
}

} // namespace

class Test_Grid_Ops : public QObject
{
    Q_OBJECT

private slots:
    void delete_and_insert_shift_rows_data()
    {
        QTest::addColumn<int>("rows");    // table size
        QTest::addColumn<int>("objects"); // rows 0 .. objects-1 hold T1, T2, ...
        QTest::addColumn<bool>("insert");
        QTest::addColumn<int>("at");
        QTest::addColumn<QStringList>("types"); // Data Type of every row afterwards
        const auto list = [](const char *s) { return QString::fromLatin1(s).split(u','); };
        QTest::newRow("delete row 5 of 8") << 10 << 8 << false << 4 << list("T1,T2,T3,T4,T6,T7,T8,,,");
        QTest::newRow("delete first") << 4 << 4 << false << 0 << list("T2,T3,T4,");
        QTest::newRow("delete last only empties it") << 4 << 4 << false << 3 << list("T1,T2,T3,");
        QTest::newRow("insert at row 2 of 3") << 5 << 3 << true << 1 << list("T1,,T2,T3,");
        QTest::newRow("insert drops the last row") << 4 << 4 << true << 0 << list(",T1,T2,T3");
        QTest::newRow("insert at the last row only empties it") << 4 << 4 << true << 3 << list("T1,T2,T3,");
        QTest::newRow("no current row") << 4 << 4 << true << -1 << list("T1,T2,T3,T4");
        QTest::newRow("row out of range") << 4 << 4 << false << 4 << list("T1,T2,T3,T4");
    }

    void delete_and_insert_shift_rows()
    {
        QFETCH(int, rows);
        QFETCH(int, objects);
        QFETCH(bool, insert);
        QFETCH(int, at);
        QFETCH(QStringList, types);
        Text_Table table(Object_Columns(Page_Read), rows);
        Fill_Objects(table, objects);
        if (insert)
            Insert_Grid_Row(at, table);
        else
            Delete_Grid_Row(at, table);
        QStringList got;
        for (int r = 0; r < rows; ++r)
            got.append(Type_At(table, r));
        QCOMPARE(got, types);
        // Whole rows move, the hidden Swap cell included; numbers stay.
        for (int r = 0; r < rows; ++r) {
            QCOMPARE(table.Row_Number(r), r + 1);
            const QString type = Type_At(table, r);
            if (type.isEmpty())
                QCOMPARE(test::Row_Text(table, r), QStringLiteral("||||||"));
            else
                QCOMPARE(table.Cell(r, Obj_Mnemonic), QStringLiteral("m") + type.mid(1));
        }
    }

    void moved_rule_rows_become_fresh()
    {
        // A rule row freed by a move is a fresh row (Enable "Y"), as when the
        // window opens.
        LoRa_Set_Access rules;
        test::Fill(rules.Uplink, {QStringLiteral("N|1|2|Y|N|N||a"), QStringLiteral("N|3|4|Y|N|N||b")});
        Insert_Grid_Row(0, rules.Uplink);
        QCOMPARE(test::Row_Text(rules.Uplink, 0), QStringLiteral("Y|||||||"));
        QCOMPARE(test::Row_Text(rules.Uplink, 2), QStringLiteral("N|3|4|Y|N|N||b"));
        Delete_Grid_Row(0, rules.Uplink);
        Delete_Grid_Row(0, rules.Uplink);
        QCOMPARE(test::Row_Text(rules.Uplink, 0), QStringLiteral("N|3|4|Y|N|N||b"));
        QCOMPARE(test::Row_Text(rules.Uplink, 255), QStringLiteral("Y|||||||"));
    }

    void delete_asks_with_the_row_number()
    {
        Text_Table table(Object_Columns(Page_Read), 6);
        Fill_Objects(table, 6);
        Recorder no(false);
        QVERIFY(!Delete_Rows(table, {2}, no.Asker()));
        QCOMPARE(no.asked.size(), 1);
        QCOMPARE(no.asked[0].kind, Grid_Request::Kind::Question);
        QCOMPARE(no.asked[0].text, QStringLiteral("Are you sure to delete the Row number 3"));
        QCOMPARE(Type_At(table, 2), QStringLiteral("T3"));

        Recorder yes(true);
        QVERIFY(Delete_Rows(table, {2}, yes.Asker()));
        QCOMPARE(Type_At(table, 2), QStringLiteral("T4"));
        // Without a row nothing is asked.
        QVERIFY(!Delete_Rows(table, {}, yes.Asker()));
        QCOMPARE(yes.asked.size(), 1);

        // The rule grids number their rows as the object grids do.
        LoRa_Set_Access rules;
        Recorder rule(false);
        Delete_Rows(rules.Downlink, {2}, rule.Asker());
        QCOMPARE(rule.asked[0].text, QStringLiteral("Are you sure to delete the Row number 3"));
    }

    void paste_rules_data()
    {
        QTest::addColumn<QString>("target"); // row 1 before the paste
        QTest::addColumn<bool>("copied");
        QTest::addColumn<int>("buffer_size"); // cells in the buffer; 7 fits
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<bool>("pasted");
        const QString empty = QStringLiteral("||||||");
        using L = QList<int>;
        QTest::newRow("empty row") << empty << true << 7 << true << L{} << true;
        QTest::newRow("not copied") << empty << false << 7 << true << L{1102} << false;
        QTest::newRow("not copied, before the shape") << empty << false << 3 << true << L{1102} << false;
        QTest::newRow("other shape") << empty << true << 4 << true << L{1101} << false;
        QTest::newRow("empty buffer") << empty << true << 0 << true << L{1101} << false;
        QTest::newRow("only the hidden check box") << QStringLiteral("|||||Y|") << true << 7 << false << L{} << true;
        QTest::newRow("blank mnemonic") << QStringLiteral("||||||   ") << true << 7 << false << L{} << true;
        QTest::newRow("mnemonic x, yes") << QStringLiteral("||||||x") << true << 7 << true << L{1100} << true;
        QTest::newRow("mnemonic x, no") << QStringLiteral("||||||x") << true << 7 << false << L{1100} << false;
        QTest::newRow("drop-down cell in use") << QStringLiteral("||0||||") << true << 7 << false << L{1100} << false;
    }

    void paste_rules()
    {
        QFETCH(QString, target);
        QFETCH(bool, copied);
        QFETCH(int, buffer_size);
        QFETCH(bool, answer);
        QFETCH(QList<int>, asked);
        QFETCH(bool, pasted);
        Text_Table table(Object_Columns(Page_Write), 3);
        test::Fill(table, {QStringLiteral("Analog Out|95|10||4|N|src"), target});
        QStringList buffer;
        Copy_Grid_Row(table, 0, buffer);
        buffer = buffer.mid(0, buffer_size);
        Recorder recorder(answer);
        QCOMPARE(Paste_Grid_Row(table, 1, copied, buffer, recorder.Asker()), pasted);
        QCOMPARE(recorder.Messages_Asked(), asked);
        QCOMPARE(test::Row_Text(table, 1), pasted ? QStringLiteral("Analog Out|95|10||4|N|src") : target);
        for (const Grid_Request &r : recorder.asked)
            QCOMPARE(r.kind, r.message == 1100 ? Grid_Request::Kind::Question : Grid_Request::Kind::Error);
    }

    void copy_flags_tie_the_buffer_to_its_page()
    {
        BACnet_Slave_Set_Access objects;
        Fill_Objects(objects.Read, 1);
        QList<QStringList> buffer{{QStringLiteral("left over")}};
        Copy_Flags flags;
        Recorder recorder;

        // After showing, the buffer keeps its content but nothing pastes.
        flags.Reset();
        QVERIFY(!Paste_Rows(objects.Read, Page_Read, 1, buffer, flags, recorder.Asker()));
        QCOMPARE(recorder.Messages_Asked(), QList<int>{1102});

        Copy_Rows(objects.Read, Page_Read, {0}, buffer, flags);
        QCOMPARE(buffer, QList<QStringList>{objects.Read.Row(0)});
        QVERIFY(flags.Do_Copy_Read());
        QVERIFY(!flags.Do_Copy_Write());
        // A row copied on Read does not paste on Write.
        QVERIFY(!Paste_Rows(objects.Write, Page_Write, 0, buffer, flags, recorder.Asker()));
        QVERIFY(Paste_Rows(objects.Read, Page_Read, 1, buffer, flags, recorder.Asker()));
        QCOMPARE(objects.Read.Row(1), objects.Read.Row(0));
        QCOMPARE(recorder.Messages_Asked(), (QList<int>{1102, 1102}));

        // Copying on Write moves the right to paste there.
        Copy_Rows(objects.Write, Page_Write, {5}, buffer, flags);
        QVERIFY(!flags.Do_Copy_Read());
        QVERIFY(flags.Do_Copy_Write());
        // An empty row is copied like any other.
        QCOMPARE(buffer, QList<QStringList>{QStringList(7, QString())});
        // Without a row nothing is copied and the flags stay.
        Copy_Rows(objects.Read, Page_Read, {}, buffer, flags);
        QVERIFY(flags.Do_Copy_Write());
        flags.Reset();
        QVERIFY(!flags.Copied(Page_Read) && !flags.Copied(Page_Write));
    }

    void rule_rows_of_other_shape_do_not_paste()
    {
        LoRa_Set_Access rules;
        QList<QStringList> buffer;
        Copy_Flags flags;
        Recorder recorder;
        Copy_Rows(rules.Uplink, Page_Uplink, {0}, buffer, flags);
        // Even with the flag of the right page, a buffer of another shape is refused.
        flags.Set_Copied(Page_Downlink);
        QVERIFY(!Paste_Rows(rules.Downlink, Page_Downlink, 0, buffer, flags, recorder.Asker()));
        QCOMPARE(recorder.Messages_Asked(), QList<int>{1101});
        QCOMPARE(recorder.asked[0].text,
                 QStringLiteral("Error in the Copy values!!! Copy a valid row before Paste it"));
    }

    void rows_acted_on_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("rows");
        using L = QList<int>;
        QTest::newRow("no selection: the current row") << L{} << 3 << L{3};
        QTest::newRow("the selection, not the current row") << L{5, 1, 2} << 3 << L{1, 2, 5};
        QTest::newRow("a row of many selected cells once") << L{4, 4, 4, 2} << 4 << L{2, 4};
        QTest::newRow("rows outside the table left out") << L{-1, 9, 10} << 0 << L{9};
        QTest::newRow("nothing") << L{} << -1 << L{};
    }

    void rows_acted_on()
    {
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(QList<int>, rows);
        QCOMPARE(Rows_Acted_On(selected, current, 10), rows);
    }

    void many_rows_move_data()
    {
        QTest::addColumn<bool>("insert");
        QTest::addColumn<QList<int>>("rows");   // the rows acted on
        QTest::addColumn<QStringList>("types"); // Data Type of every row afterwards
        // Ten rows; rows 0 .. 7 hold T1 .. T8.
        const auto list = [](const char *s) { return QString::fromLatin1(s).split(u','); };
        using L = QList<int>;
        QTest::newRow("delete 3 to 5") << false << L{2, 3, 4} << list("T1,T2,T6,T7,T8,,,,,");
        QTest::newRow("delete scattered rows") << false << L{0, 3, 7} << list("T2,T3,T5,T6,T7,,,,,");
        QTest::newRow("delete fresh rows at the end") << false << L{8, 9} << list("T1,T2,T3,T4,T5,T6,T7,T8,,");
        QTest::newRow("delete every row") << false << L{0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << list(",,,,,,,,,");
        QTest::newRow("insert 2 at row 2") << true << L{1, 2} << list("T1,,,T2,T3,T4,T5,T6,T7,T8");
        // Scattered rows insert as many rows, at the first of them.
        QTest::newRow("insert for scattered rows") << true << L{0, 5, 6} << list(",,,T1,T2,T3,T4,T5,T6,T7");
        QTest::newRow("insert at the last rows") << true << L{8, 9} << list("T1,T2,T3,T4,T5,T6,T7,T8,,");
    }

    void many_rows_move()
    {
        QFETCH(bool, insert);
        QFETCH(QList<int>, rows);
        QFETCH(QStringList, types);
        Text_Table table(Object_Columns(Page_Read), 10);
        Fill_Objects(table, 8);
        if (insert)
            Insert_Grid_Rows(rows.first(), int(rows.size()), table);
        else
            Delete_Grid_Rows(rows, table);
        QStringList got;
        for (int r = 0; r < table.Row_Count(); ++r) {
            got.append(Type_At(table, r));
            // Whole rows move, the hidden Swap cell included; the others are fresh.
            if (got.last().isEmpty())
                QCOMPARE(test::Row_Text(table, r), QStringLiteral("||||||"));
            else
                QCOMPARE(test::Row_Text(table, r), QStringLiteral("T%1|95|%2||1|N|m%1")
                                                       .arg(got.last().mid(1).toInt())
                                                       .arg(got.last().mid(1).toInt() - 1));
        }
        QCOMPARE(got, types);
    }

    void delete_asks_once_with_the_count_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("mnemonics"); // rows 0 .. 4 afterwards
        using L = QList<int>;
        QTest::newRow("one row: its number")
            << L{1} << true << QStringLiteral("Are you sure to delete the Row number 2")
            << QStringLiteral("m1,m3,m4,m5,");
        QTest::newRow("three rows: the count")
            << L{1, 2, 4} << true << QStringLiteral("Are you sure to delete the 3 selected rows?")
            << QStringLiteral("m1,m4,,,");
        QTest::newRow("no keeps them") << L{0, 1} << false
                                       << QStringLiteral("Are you sure to delete the 2 selected rows?")
                                       << QStringLiteral("m1,m2,m3,m4,m5");
    }

    void delete_asks_once_with_the_count()
    {
        QFETCH(QList<int>, rows);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        QFETCH(QString, mnemonics);
        Text_Table table(Object_Columns(Page_Read), 5);
        Fill_Objects(table, 5);
        Recorder recorder(answer);
        QCOMPARE(Delete_Rows(table, rows, recorder.Asker()), answer);
        QCOMPARE(recorder.asked.size(), 1);
        QCOMPARE(recorder.asked[0].kind, Grid_Request::Kind::Question);
        QCOMPARE(recorder.asked[0].text, question);
        QStringList got;
        for (int r = 0; r < 5; ++r)
            got << table.Cell(r, Obj_Mnemonic);
        QCOMPARE(got.join(u','), mnemonics);
    }

    // Rows that an insert pushes past the end are told of before they are lost.
    void insert_tells_of_rows_pushed_out_data()
    {
        QTest::addColumn<QStringList>("rows"); // the table's six rows, "type|mnemonic"; empty: fresh
        QTest::addColumn<QList<int>>("at");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question"); // empty: none
        QTest::addColumn<bool>("inserted");
        using L = QList<int>;
        const QStringList four{QStringLiteral("T1|a"),
                               QStringLiteral("T2|b"),
                               QStringLiteral("T3|c"),
                               QStringLiteral("T4|d"),
                               QString(),
                               QString()};
        QTest::newRow("fresh rows pushed out") << four << L{0, 1} << false << QString() << true;
        QTest::newRow("one row in use pushed out")
            << four << L{0, 1, 2} << true
            << QStringLiteral("Inserting 3 rows pushes the last rows of the table past its end, and 1 of them are in "
                              "use (the first is row 4): they will be lost. Insert the rows all the same?")
            << true;
        QTest::newRow("no keeps the table")
            << four << L{2, 4, 5} << false
            << QStringLiteral("Inserting 3 rows pushes the last rows of the table past its end, and 1 of them are in "
                              "use (the first is row 4): they will be lost. Insert the rows all the same?")
            << false;
        // A row holding only a ticked check box is not in use.
        QStringList swap_only = four;
        swap_only[5] = QStringLiteral("|||||Y|");
        QTest::newRow("only a check box") << swap_only << L{0, 1} << false << QString() << true;
        // Inserting at the last row overwrites it: it is lost as well.
        QStringList full = four;
        full[4] = QStringLiteral("T5|e");
        full[5] = QStringLiteral("T6|f");
        QTest::newRow("at the last row") << full << L{5} << true
                                         << QStringLiteral("Inserting 1 rows pushes the last rows of the table past "
                                                           "its end, and 1 of them are in use (the first is row 6): "
                                                           "they will be lost. Insert the rows all the same?")
                                         << true;
    }

    void insert_tells_of_rows_pushed_out()
    {
        QFETCH(QStringList, rows);
        QFETCH(QList<int>, at);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        QFETCH(bool, inserted);
        Text_Table table(Object_Columns(Page_Read), 6);
        for (int r = 0; r < rows.size(); ++r) {
            if (rows[r].count(u'|') == 6) {
                table.Set_Row(r, rows[r].split(u'|'));
            } else if (!rows[r].isEmpty()) {
                table.Set_Cell(r, Obj_Data_Type, rows[r].section(u'|', 0, 0));
                table.Set_Cell(r, Obj_Mnemonic, rows[r].section(u'|', 1, 1));
            }
        }
        QList<QStringList> was;
        for (int r = 0; r < 6; ++r)
            was << table.Row(r);
        Recorder recorder(answer);
        QCOMPARE(Insert_Rows(table, at, recorder.Asker()), inserted);
        QCOMPARE(recorder.asked.size(), question.isEmpty() ? 0 : 1);
        if (!question.isEmpty())
            QCOMPARE(recorder.asked[0].text, question);
        for (int r = 0; r < 6; ++r) {
            const int k = int(at.size());
            const QStringList expected = !inserted            ? was[r]
                                         : r < at.first()     ? was[r]
                                         : r < at.first() + k ? QStringList(7, QString())
                                                              : was[r - k];
            QCOMPARE(table.Row(r), expected);
        }
    }

    void paste_many_rows_data()
    {
        QTest::addColumn<int>("copied_rows"); // rows 0 .. n-1 copied (T1, T2, ...)
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("short_row"); // a buffer row made one cell short; -1: none
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<QString>("text"); // the text of the first request; empty: not compared
        QTest::addColumn<bool>("pasted");
        using L = QList<int>;
        // Eight rows; rows 0 .. 2 hold T1 .. T3, row 6 holds "x" in its Mnemonic.
        QTest::newRow("into fresh rows") << 3 << 3 << -1 << false << L{} << QString() << true;
        QTest::newRow("up to the last row") << 2 << 6 << -1 << true << L{1100} << QString() << true;
        QTest::newRow("one row in use: asked once, yes") << 3 << 4 << -1 << true << L{1100} << QString() << true;
        QTest::newRow("one row in use: asked once, no") << 3 << 4 << -1 << false << L{1100} << QString() << false;
        QTest::newRow("over themselves") << 3 << 1 << -1 << true << L{1100} << QString() << true;
        QTest::newRow("past the last row")
            << 3 << 6 << -1 << true << L{1119}
            << QStringLiteral("Error!!! The 3 copied rows do not fit: from row 7 down the table has only 2 rows. "
                              "Nothing was pasted.")
            << false;
        QTest::newRow("a row of another shape") << 3 << 3 << 2 << true << L{1101} << QString() << false;
    }

    void paste_many_rows()
    {
        QFETCH(int, copied_rows);
        QFETCH(int, at);
        QFETCH(int, short_row);
        QFETCH(bool, answer);
        QFETCH(QList<int>, asked);
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        Text_Table table(Object_Columns(Page_Read), 8);
        Fill_Objects(table, 3);
        table.Set_Cell(6, Obj_Mnemonic, QStringLiteral("x"));
        QList<QStringList> buffer;
        Copy_Flags flags;
        QList<int> rows;
        for (int r = 0; r < copied_rows; ++r)
            rows << r;
        Copy_Rows(table, Page_Read, rows, buffer, flags);
        QCOMPARE(buffer.size(), copied_rows);
        if (short_row >= 0)
            buffer[short_row].removeLast();
        QList<QStringList> was;
        for (int r = 0; r < 8; ++r)
            was << table.Row(r);

        Recorder recorder(answer);
        QCOMPARE(Paste_Rows(table, Page_Read, at, buffer, flags, recorder.Asker()), pasted);
        QCOMPARE(recorder.Messages_Asked(), asked);
        if (!text.isEmpty())
            QCOMPARE(recorder.asked[0].text, text);
        for (int r = 0; r < 8; ++r)
            QCOMPARE(table.Row(r), pasted && r >= at && r < at + copied_rows ? was[r - at] : was[r]);
    }

    void many_rows_keep_rule_rows_fresh()
    {
        // Rule rows freed by a move of many rows are fresh rule rows (Enable "Y").
        LoRa_Set_Access rules;
        test::Fill(rules.Uplink, {QStringLiteral("N|1|2|Y|N|N||a"), QStringLiteral("N|3|4|Y|N|N||b")});
        Insert_Grid_Rows(0, 2, rules.Uplink);
        QCOMPARE(test::Row_Text(rules.Uplink, 1), QStringLiteral("Y|||||||"));
        QCOMPARE(test::Row_Text(rules.Uplink, 3), QStringLiteral("N|3|4|Y|N|N||b"));
        Delete_Grid_Rows({0, 1, 2}, rules.Uplink);
        QCOMPARE(test::Row_Text(rules.Uplink, 0), QStringLiteral("N|3|4|Y|N|N||b"));
        QCOMPARE(test::Row_Text(rules.Uplink, 253), QStringLiteral("Y|||||||"));
        QCOMPARE(test::Row_Text(rules.Uplink, 255), QStringLiteral("Y|||||||"));
    }

    void enter_jump_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("consumed");
        QTest::addColumn<int>("next_row");
        QTest::addColumn<int>("next_column");
        // Object grid: columns 0..6, column 5 (Swap) hidden, 4 rows.
        QTest::newRow("next column") << true << 13 << 0 << 0 << true << 0 << 1;
        QTest::newRow("skips the hidden column") << true << 13 << 2 << 4 << true << 2 << 6;
        QTest::newRow("last column wraps to next row") << true << 13 << 2 << 6 << true << 3 << 0;
        QTest::newRow("last cell wraps to first row") << true << 13 << 3 << 6 << true << 0 << 0;
        QTest::newRow("off: key passes") << false << 13 << 0 << 0 << false << 0 << 0;
        QTest::newRow("other key passes") << true << int('a') << 0 << 0 << false << 0 << 0;
        QTest::newRow("no current cell: consumed, stays") << true << 13 << -1 << -1 << true << -1 << -1;
    }

    void enter_jump()
    {
        QFETCH(bool, enabled);
        QFETCH(int, key);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, consumed);
        QFETCH(int, next_row);
        QFETCH(int, next_column);
        Text_Table table(Object_Columns(Page_Read), 4);
        const Jump_Result result = Jump_Next_Cell(table, {row, column}, char16_t(key), enabled);
        QCOMPARE(result.consumed, consumed);
        QCOMPARE(result.next, (Grid_Cell{next_row, next_column}));
    }

    void enter_jump_with_hidden_edges()
    {
        // The view may hide other columns: the first and last visible ones count.
        const QList<bool> hidden{true, false, false, true};
        QCOMPARE(Jump_Next_Cell({0, 2}, Key_Enter, hidden, 2, true).next, (Grid_Cell{1, 1}));
        QCOMPARE(Jump_Next_Cell({1, 1}, Key_Enter, hidden, 2, true).next, (Grid_Cell{1, 2}));
        QCOMPARE(Jump_Next_Cell({1, 2}, Key_Enter, hidden, 2, true).next, (Grid_Cell{0, 1}));
        // A single row wraps to itself.
        QCOMPARE(Jump_Next_Cell({0, 2}, Key_Enter, hidden, 1, true).next, (Grid_Cell{0, 1}));
    }

    // The keys that move the current cell: Tab and Shift+Tab along the rows
    // over the hidden Swap, Enter down, Home and End, to the grid's ends.
    void move_cell_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("move");
        QTest::addColumn<int>("next_row");
        QTest::addColumn<int>("next_column");
        using M = Cell_Move;
        const int last = 3;
        QTest::newRow("tab: next column") << 1 << int(Obj_Data_Type) << int(M::Next) << 1 << int(Obj_Eng_Unit);
        QTest::newRow("tab: over Swap") << 1 << int(Obj_Length) << int(M::Next) << 1 << int(Obj_Mnemonic);
        QTest::newRow("tab: next row") << 1 << int(Obj_Mnemonic) << int(M::Next) << 2 << int(Obj_Data_Type);
        QTest::newRow("tab: grid's last cell stays")
            << last << int(Obj_Mnemonic) << int(M::Next) << last << int(Obj_Mnemonic);
        QTest::newRow("shift+tab: over Swap") << 1 << int(Obj_Mnemonic) << int(M::Previous) << 1 << int(Obj_Length);
        QTest::newRow("shift+tab: row before") << 2 << int(Obj_Data_Type) << int(M::Previous) << 1 << int(Obj_Mnemonic);
        QTest::newRow("shift+tab: grid's first cell stays")
            << 0 << int(Obj_Data_Type) << int(M::Previous) << 0 << int(Obj_Data_Type);
        QTest::newRow("enter: down") << 1 << int(Obj_Length) << int(M::Down) << 2 << int(Obj_Length);
        QTest::newRow("enter: last row stays") << last << int(Obj_Length) << int(M::Down) << last << int(Obj_Length);
        QTest::newRow("home") << 2 << int(Obj_Length) << int(M::Row_First) << 2 << int(Obj_Data_Type);
        QTest::newRow("end") << 2 << int(Obj_Eng_Unit) << int(M::Row_Last) << 2 << int(Obj_Mnemonic);
        QTest::newRow("ctrl+home") << 2 << int(Obj_Length) << int(M::Grid_First) << 0 << int(Obj_Data_Type);
        QTest::newRow("ctrl+end") << 1 << int(Obj_Eng_Unit) << int(M::Grid_Last) << last << int(Obj_Mnemonic);
        QTest::newRow("no current cell") << -1 << -1 << int(M::Next) << 0 << int(Obj_Data_Type);
    }

    void move_cell()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, move);
        QFETCH(int, next_row);
        QFETCH(int, next_column);
        const Text_Table table(Object_Columns(Page_Read), 4);
        QCOMPARE(Move_Cell(table, {row, column}, Cell_Move(move)), (Grid_Cell{next_row, next_column}));
    }

    void auto_size_only_on_the_header()
    {
        Text_Table table(Object_Columns(Page_Read), 3);
        table.Set_Cell(1, Obj_Eng_Unit, QStringLiteral("a rather long text"));
        const Text_Width width = [](const QString &text) { return int(text.size()) * 10; };
        QCOMPARE(Auto_Size_Column(table, Obj_Eng_Unit, true, true, width), 180 + 8);
        // The header text counts when it is the widest ("Eng. Unit").
        QCOMPARE(Auto_Size_Column(table, Obj_Bit, true, true, width, 0), 90);
        QCOMPARE(Auto_Size_Column(table, Obj_Eng_Unit, false, true, width), -1);
        QCOMPARE(Auto_Size_Column(table, Obj_Eng_Unit, true, false, width), -1);
        QCOMPARE(Auto_Size_Column(table, 99, true, true, width), -1);
    }
};

QTEST_APPLESS_MAIN(Test_Grid_Ops)
#include "test_grid_ops.moc"
