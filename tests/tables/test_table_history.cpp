#include "table_fixture.h"
#include "tables/bacnet_access.h"
#include "tables/grid_ops.h"
#include "tables/lora_access.h"
#include "tables/table_history.h"

#include <QTest>

namespace {

QList<QStringList> Rows_Of(const Text_Table &table)
{
    QList<QStringList> rows;
    for (int r = 0; r < table.Row_Count(); ++r)
        rows << table.Row(r);
    return rows;
}

// Objects in rows 0 .. n-1, each cell telling its row.
void Fill_Objects(Text_Table &table, int n)
{
    for (int r = 0; r < n; ++r)
        table.Set_Row(r, {QStringLiteral("Analog Value"), QStringLiteral("95"), QString::number(r), QString(),
                          QStringLiteral("4"), r % 2 ? QStringLiteral("Y") : QStringLiteral("N"),
                          QStringLiteral("object %1").arg(r)});
}

QString Changes_Text(const QList<Cell_Change> &changes)
{
    QStringList parts;
    for (const Cell_Change &change : changes)
        parts << QStringLiteral("%1,%2=%3").arg(change.row).arg(change.column).arg(change.text);
    return parts.join(u' ');
}

} // namespace

class Test_Table_History : public QObject
{
    Q_OBJECT

private slots:
    // The step of a block of changes keeps only what changes, in row order;
    // undone and redone it gives the two tables back exactly.
    void changes_round_trip()
    {
        Text_Table table(Object_Columns(Page_Write), 6);
        Fill_Objects(table, 4);
        const QList<QStringList> before = Rows_Of(table);
        const QList<Cell_Change> changes{
            {3, Obj_Mnemonic, QStringLiteral("pump")},
            {1, Obj_Length, QStringLiteral("4")},       // its text already: left out
            {1, Obj_Mnemonic, QStringLiteral("first")}, // named twice: the last text counts
            {5, Obj_Eng_Unit, QStringLiteral("62")},
            {1, Obj_Mnemonic, QStringLiteral("valve")},
            {9, Obj_Mnemonic, QStringLiteral("outside")}, // no such row
        };
        const Table_Step step = Step_Of_Changes(table, changes);
        QCOMPARE(Changes_Text(step.after), QStringLiteral("1,6=valve 3,6=pump 5,1=62"));
        QCOMPARE(Changes_Text(step.before), QStringLiteral("1,6=object 1 3,6=object 3 5,1="));
        // Every cell named in the table is selected, the unchanged one too.
        QCOMPARE(step.selection.rows, (QList<int>{1, 3, 5}));
        QCOMPARE(step.selection.columns, (QList<int>{Obj_Eng_Unit, Obj_Length, Obj_Mnemonic}));
        QCOMPARE(Rows_Of(table), before); // capturing changes nothing

        Redo_Step(table, step);
        const QList<QStringList> after = Rows_Of(table);
        QCOMPARE(table.Cell(1, Obj_Mnemonic), QStringLiteral("valve"));
        QCOMPARE(table.Cell(5, Obj_Eng_Unit), QStringLiteral("62"));
        Undo_Step(table, step);
        QCOMPARE(Rows_Of(table), before);
        Redo_Step(table, step);
        QCOMPARE(Rows_Of(table), after);

        // Changes that change nothing make an empty step.
        QVERIFY(Step_Of_Changes(table, {{1, Obj_Mnemonic, QStringLiteral("valve")}}).Empty());
    }

    // A row operation captured from its first row: undone, every row of the
    // table is back byte for byte; redone, the operation's result is back.
    void row_operations_round_trip_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("changed_cells"); // cells in the step
        enum { Delete, Insert, Paste };
        using L = QList<int>;
        // Twelve rows, objects in rows 0 .. 7; a row has 7 cells.
        // Rows 5 and 6 differ from the next in 3 cells, row 7 becomes fresh (6 cells).
        QTest::newRow("delete one row") << int(Delete) << L{5} << 12;
        QTest::newRow("delete scattered rows") << int(Delete) << L{0, 4, 6} << -1;
        QTest::newRow("delete the last rows") << int(Delete) << L{10, 11} << 0;
        QTest::newRow("insert two rows") << int(Insert) << L{2, 3} << -1;
        QTest::newRow("insert at the end, losing nothing") << int(Insert) << L{11} << 0;
        QTest::newRow("paste rows over rows") << int(Paste) << L{6} << -1;
    }

    void row_operations_round_trip()
    {
        QFETCH(int, operation);
        QFETCH(QList<int>, rows);
        QFETCH(int, changed_cells);
        Text_Table table(Object_Columns(Page_Read), 12);
        Fill_Objects(table, 8);
        const QList<QStringList> before = Rows_Of(table);

        const Rows_Capture capture(table, rows.first());
        if (operation == 0) {
            Delete_Grid_Rows(rows, table);
        } else if (operation == 1) {
            Insert_Grid_Rows(rows.first(), int(rows.size()), table);
        } else {
            QList<QStringList> buffer;
            Copy_Grid_Rows(table, {0, 1, 2}, buffer);
            QVERIFY(Paste_Grid_Rows(table, rows.first(), true, buffer, [](const Grid_Request &) { return true; }));
        }
        const QList<QStringList> after = Rows_Of(table);
        const Table_Step step = capture.Finish(table, {rows, {}});
        if (changed_cells >= 0)
            QCOMPARE(step.after.size(), changed_cells);
        QCOMPARE(step.selection.rows, rows);
        QVERIFY(step.selection.columns.isEmpty());
        QCOMPARE(step.Empty(), before == after);

        Undo_Step(table, step);
        QCOMPARE(Rows_Of(table), before);
        Redo_Step(table, step);
        QCOMPARE(Rows_Of(table), after);
        Undo_Step(table, step);
        QCOMPARE(Rows_Of(table), before);
    }

    // What the view changes reaches the history at once, with the texts
    // before and after: a Data Type choice and the Length it sets are one
    // step, selecting the cell the user changed.
    void view_edits_make_one_step_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("after"); // the step's cells
        QTest::addColumn<QString>("before");
        QTest::newRow("data type with its length")
            << int(Obj_Data_Type) << QVariant(QStringLiteral("Large Analog Value")) << int(Qt::EditRole)
            << QStringLiteral("0,0=Large Analog Value 0,4=8") << QStringLiteral("0,0=Analog Value 0,4=4");
        QTest::newRow("typed text") << int(Obj_Mnemonic) << QVariant(QStringLiteral("Boiler")) << int(Qt::EditRole)
                                    << QStringLiteral("0,6=Boiler") << QStringLiteral("0,6=object 0");
        QTest::newRow("check box") << int(Obj_Swap) << QVariant(int(Qt::Checked)) << int(Qt::CheckStateRole)
                                   << QStringLiteral("0,5=Y") << QStringLiteral("0,5=N");
        QTest::newRow("same text: no step")
            << int(Obj_Mnemonic) << QVariant(QStringLiteral("object 0")) << int(Qt::EditRole) << QString() << QString();
    }

    void view_edits_make_one_step()
    {
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(int, role);
        QFETCH(QString, after);
        QFETCH(QString, before);
        BACnet_Slave_Set_Access objects;
        Fill_Objects(objects.Write, 1);
        const QList<QStringList> loaded = Rows_Of(objects.Write);
        QList<Table_Step> steps;
        QList<QPair<int, int>> edited;
        objects.Write.Cells_Edited = [&](const QList<Cell_Edit> &edits) { steps << Step_Of_Edits(edits); };
        // The Length is still filled in through Cell_Edited, which the hook wraps.
        auto length = objects.Write.Cell_Edited;
        objects.Write.Cell_Edited = [&](int r, int c) {
            edited.append({r, c});
            length(r, c);
        };
        QVERIFY(objects.Write.setData(objects.Write.index(0, column), value, role));
        QCOMPARE(edited, (QList<QPair<int, int>>{{0, column}}));
        if (after.isEmpty()) {
            QVERIFY(steps.isEmpty());
            return;
        }
        QCOMPARE(steps.size(), 1);
        QCOMPARE(Changes_Text(steps[0].after), after);
        QCOMPARE(Changes_Text(steps[0].before), before);
        QCOMPARE(steps[0].selection.rows, QList<int>{0});
        QCOMPARE(steps[0].selection.columns, QList<int>{column});
        Undo_Step(objects.Write, steps[0]);
        QCOMPARE(Rows_Of(objects.Write), loaded);
        // Changes made by the logic are not the view's: no step.
        objects.Write.Set_Cell(0, Obj_Mnemonic, QStringLiteral("by the logic"));
        QCOMPARE(steps.size(), 1);
    }

    void edits_of_one_cell_made_twice()
    {
        // Changed and changed back within one edit: nothing to undo.
        QVERIFY(Step_Of_Edits({{2, 1, QStringLiteral("a"), QStringLiteral("b")},
                               {2, 1, QStringLiteral("b"), QStringLiteral("a")}})
                    .Empty());
        const Table_Step step = Step_Of_Edits({{2, 1, QStringLiteral("a"), QStringLiteral("b")},
                                               {0, 3, QStringLiteral("x"), QStringLiteral("y")},
                                               {2, 1, QStringLiteral("b"), QStringLiteral("c")}});
        QCOMPARE(Changes_Text(step.before), QStringLiteral("0,3=x 2,1=a"));
        QCOMPARE(Changes_Text(step.after), QStringLiteral("0,3=y 2,1=c"));
        QCOMPARE(step.selection.rows, QList<int>{2});
    }

    // A rule table's fresh rows (Enable "Y") come back exactly as well.
    void rule_rows_round_trip()
    {
        LoRa_Set_Access rules;
        test::Fill(rules.Uplink, {QStringLiteral("N|1|2|Y|N|N||a"), QStringLiteral("N|3|4|Y|N|N||b")});
        const QList<QStringList> before = Rows_Of(rules.Uplink);
        const Rows_Capture capture(rules.Uplink, 0);
        Delete_Grid_Rows({0}, rules.Uplink);
        const Table_Step step = capture.Finish(rules.Uplink, {{0}, {}});
        // Only what moved is kept: rows 0 and 1, not the 254 fresh rows.
        QCOMPARE(Block_Of(step.after).rows, (QList<int>{0, 1}));
        Undo_Step(rules.Uplink, step);
        QCOMPARE(Rows_Of(rules.Uplink), before);
    }
};

QTEST_APPLESS_MAIN(Test_Table_History)
#include "test_table_history.moc"
