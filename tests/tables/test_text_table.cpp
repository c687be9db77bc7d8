#include "core/messages.h"
#include "tables/lora_access.h"
#include "tables/text_table.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

QList<Column_Desc> Three_Columns()
{
    return {
        {.attribute = "A",
         .kind = Cell_Kind::Check,
         .header_message = 1217,
         .hint_message = 1225,
         .fresh = QStringLiteral("Y")},
        {.attribute = "B", .kind = Cell_Kind::Combo, .header_message = 1218, .items = {QStringLiteral("x")}},
        {.attribute = "C", .header_message = 1224, .hidden = true},
    };
}

} // namespace

class Test_Text_Table : public QObject
{
    Q_OBJECT

private slots:
    void model_is_consistent()
    {
        Text_Table table(Three_Columns(), 5);
        QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
        table.Set_Cell(1, 1, QStringLiteral("x"));
        table.Reset(3);
        table.Set_Row(2, {QStringLiteral("N"), QStringLiteral("b"), QStringLiteral("c")});
        table.Shift_Up(0);
        table.Shift_Down(1);
        QVERIFY(table.setData(table.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(table.rowCount(), 3);
        QCOMPARE(table.columnCount(), 3);
        QCOMPARE(table.rowCount(table.index(0, 0)), 0);
    }

    void roles_show_the_cell_text()
    {
        Text_Table table(Three_Columns(), 2);
        table.Set_Row(0, {QStringLiteral(" Y "), QStringLiteral("x"), QStringLiteral(" keep ")});
        // Text cells show and edit their text exactly.
        QCOMPARE(table.data(table.index(0, 2)).toString(), QStringLiteral(" keep "));
        QCOMPARE(table.data(table.index(0, 2), Qt::EditRole).toString(), QStringLiteral(" keep "));
        QVERIFY(!table.data(table.index(0, 2), Qt::CheckStateRole).isValid());
        // A check-box cell shows its box: ticked for "Y" once blanks are removed.
        QVERIFY(!table.data(table.index(0, 0)).isValid());
        QCOMPARE(table.data(table.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(table.data(table.index(0, 0), Qt::EditRole).toString(), QStringLiteral(" Y "));
        table.Set_Cell(0, 0, QStringLiteral("y"));
        QCOMPARE(table.data(table.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

        QVERIFY(table.flags(table.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
        QVERIFY(!table.flags(table.index(0, 0)).testFlag(Qt::ItemIsEditable));
        QVERIFY(table.flags(table.index(0, 1)).testFlag(Qt::ItemIsEditable));

        QCOMPARE(table.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Enable"));
        QCOMPARE(table.headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("Enable/Disable the LoRaWAN Uplink Rule"));
        QVERIFY(!table.headerData(1, Qt::Horizontal, Qt::ToolTipRole).isValid());
        // The column description is also each cell's tip; a column without one has none.
        QCOMPARE(table.data(table.index(1, 0), Qt::ToolTipRole).toString(), Messages().Get(1225));
        QVERIFY(!table.data(table.index(1, 1), Qt::ToolTipRole).isValid());
        QCOMPARE(table.headerData(1, Qt::Vertical).toInt(), 2);
    }

    // A column's display hook changes what the cell shows, never what it
    // holds; a column with a cut tells, in the tip, what the device keeps.
    void shown_text_and_cut()
    {
        QList<Column_Desc> columns = Three_Columns();
        columns[1].kind = Cell_Kind::Text;
        columns[1].shown = [](const QString &text) -> QString { return text + QStringLiteral(" (shown)"); };
        columns[2].hint_message = 1232;
        Text_Table table(columns, 3);
        QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
        table.Set_Row(0, {QStringLiteral("Y"), QStringLiteral("62"), QStringLiteral("abcde")});
        QCOMPARE(table.data(table.index(0, 1)).toString(), QStringLiteral("62 (shown)"));
        QCOMPARE(table.data(table.index(0, 1), Qt::EditRole).toString(), QStringLiteral("62"));
        QCOMPARE(table.Cell(0, 1), QStringLiteral("62"));
        QCOMPARE(table.Row(0).at(1), QStringLiteral("62"));
        QVERIFY(!table.data(table.index(0, 0)).isValid()); // a check box still shows no text

        const QString hint = Messages().Get(1232);
        QCOMPARE(table.data(table.index(0, 2), Qt::ToolTipRole).toString(), hint);
        QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
        table.Set_Cut_At(2, 4);
        table.Set_Cut_At(2, 4); // unchanged: no signal
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.last().at(0).toModelIndex(), table.index(0, 2));
        QCOMPARE(changed.last().at(1).toModelIndex(), table.index(2, 2));
        QCOMPARE(table.data(table.index(0, 2), Qt::ToolTipRole).toString(),
                 hint + u'\n' + Messages().Get(Msg_Text_Cut).arg(QStringLiteral("4"), QStringLiteral("abcd")));
        // At the limit nothing is cut; the text itself never changes.
        table.Set_Cell(0, 2, QStringLiteral("%1%2"));
        QCOMPARE(table.data(table.index(0, 2), Qt::ToolTipRole).toString(), hint);
        QCOMPARE(table.data(table.index(0, 2)).toString(), QStringLiteral("%1%2"));
        table.Set_Cell(0, 2, QStringLiteral("%1%2%3"));
        QVERIFY(table.data(table.index(0, 2), Qt::ToolTipRole)
                    .toString()
                    .endsWith(QStringLiteral("\"%1%2\"; the marked rest is dropped.")));
        // Without a hint, the cut alone.
        table.Set_Cut_At(1, 1);
        QCOMPARE(table.data(table.index(0, 1), Qt::ToolTipRole).toString(),
                 Messages().Get(Msg_Text_Cut).arg(QStringLiteral("1"), QStringLiteral("6")));
        table.Set_Cut_At(1, 0);
        QVERIFY(!table.data(table.index(0, 1), Qt::ToolTipRole).isValid());
    }

    void ticking_stores_y_or_n()
    {
        Text_Table table(Three_Columns(), 1);
        QList<QPair<int, int>> edited;
        table.Cell_Edited = [&](int r, int c) { edited.append({r, c}); };
        QVERIFY(table.setData(table.index(0, 0), QVariant::fromValue(Qt::Unchecked), Qt::CheckStateRole));
        QCOMPARE(table.Cell(0, 0), QStringLiteral("N"));
        QVERIFY(table.setData(table.index(0, 0), int(Qt::Checked), Qt::CheckStateRole));
        QCOMPARE(table.Cell(0, 0), QStringLiteral("Y"));
        // Only check-box cells take a check state.
        QVERIFY(!table.setData(table.index(0, 2), int(Qt::Checked), Qt::CheckStateRole));
        QVERIFY(table.setData(table.index(0, 2), QStringLiteral(" 010 ")));
        QCOMPARE(table.Cell(0, 2), QStringLiteral(" 010 "));
        QCOMPARE(edited, (QList<QPair<int, int>>{{0, 0}, {0, 0}, {0, 2}}));
        QVERIFY(!table.setData(QModelIndex(), QStringLiteral("x")));
    }

    void changes_are_signalled_once()
    {
        Text_Table table(Three_Columns(), 6);
        QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&table, &QAbstractItemModel::modelReset);
        table.Set_Cell(1, 2, QStringLiteral("a"));
        table.Set_Cell(1, 2, QStringLiteral("a")); // no change, no signal
        QCOMPARE(changed.size(), 1);
        table.Shift_Down(2);
        QCOMPARE(changed.size(), 2);
        // One signal covers the moved rows down to the last.
        QCOMPARE(changed.last().at(0).toModelIndex(), table.index(2, 0));
        QCOMPARE(changed.last().at(1).toModelIndex(), table.index(5, 2));
        {
            Text_Table::Rebuild rebuild(table, 4);
            for (int r = 0; r < 4; ++r)
                rebuild.Put(r, 2, QString::number(r));
        }
        QCOMPARE(changed.size(), 2);
        QCOMPARE(reset.size(), 1);
        QCOMPARE(table.Row_Count(), 4);
        QCOMPARE(table.Cell(3, 2), QStringLiteral("3"));
        QCOMPARE(table.Cell(3, 0), QStringLiteral("Y"));
    }

    // Many cells at once (a paste, an undo): one signal per run of rows in
    // the order given, nothing for a text the cell already holds or a cell
    // outside the table, and no Cell_Edited (the logic's own change).
    void set_cells_signals_runs_of_rows()
    {
        Text_Table table(Three_Columns(), 8);
        int edited = 0;
        table.Cell_Edited = [&](int, int) { ++edited; };
        QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
        const QString a = QStringLiteral("a");
        table.Set_Cells({{1, 1, a},
                         {2, 0, a},
                         {2, 2, a},
                         {3, 1, a},
                         {5, 0, QStringLiteral("Y")},
                         {6, 2, a},
                         {4, 2, a},
                         {8, 0, a},
                         {-1, 0, a},
                         {0, 3, a}});
        QCOMPARE(edited, 0);
        QCOMPARE(table.Row(2), (QStringList{a, QString(), a}));
        QCOMPARE(table.Row(4), (QStringList{QStringLiteral("Y"), QString(), a}));
        QCOMPARE(table.Row(0), (QStringList{QStringLiteral("Y"), QString(), QString()}));
        QList<QPair<QModelIndex, QModelIndex>> runs;
        for (const QList<QVariant> &signal : std::as_const(changed))
            runs.append({signal.at(0).toModelIndex(), signal.at(1).toModelIndex()});
        QCOMPARE(runs, (QList<QPair<QModelIndex, QModelIndex>>{{table.index(1, 0), table.index(3, 2)},
                                                               {table.index(6, 0), table.index(6, 2)},
                                                               {table.index(4, 0), table.index(4, 2)}}));
        table.Set_Cells({{1, 1, a}});
        QCOMPARE(changed.size(), 3);
    }

    void shifting_keeps_every_cell()
    {
        Text_Table table(Three_Columns(), 4);
        for (int r = 0; r < 4; ++r)
            table.Set_Row(r, {QStringLiteral("N"), QString::number(r), QStringLiteral("h%1").arg(r)});
        table.Shift_Up(1);
        QCOMPARE(table.Row(1), (QStringList{QStringLiteral("N"), QStringLiteral("2"), QStringLiteral("h2")}));
        QCOMPARE(table.Row(2), (QStringList{QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("h3")}));
        QCOMPARE(table.Row(3), (QStringList{QStringLiteral("Y"), QString(), QString()}));
        table.Shift_Down(0);
        QCOMPARE(table.Row(0), (QStringList{QStringLiteral("Y"), QString(), QString()}));
        QCOMPARE(table.Row(1), (QStringList{QStringLiteral("N"), QStringLiteral("0"), QStringLiteral("h0")}));
        QCOMPARE(table.Row(3), (QStringList{QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("h3")}));
    }

    // A rebuild refreshes only the rows written since the last one: every
    // change that writes or moves a row must count, whatever size the table
    // is rebuilt to.
    void rebuild_leaves_nothing_behind_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("rows");
        QTest::newRow("a cell") << QStringList{QStringLiteral("cell 5")} << 8;
        QTest::newRow("the last row") << QStringList{QStringLiteral("row 7")} << 8;
        QTest::newRow("shifted down into the last row")
            << QStringList{QStringLiteral("row 6"), QStringLiteral("down 0")} << 8;
        QTest::newRow("shifted down twice")
            << QStringList{QStringLiteral("cell 5"), QStringLiteral("down 1"), QStringLiteral("down 2")} << 8;
        QTest::newRow("shifted up") << QStringList{QStringLiteral("row 7"), QStringLiteral("up 0")} << 8;
        QTest::newRow("edited in the view") << QStringList{QStringLiteral("edit 4")} << 8;
        QTest::newRow("many cells at once") << QStringList{QStringLiteral("cells 6")} << 8;
        QTest::newRow("put by a rebuild") << QStringList{QStringLiteral("put 6")} << 8;
        QTest::newRow("put, then rebuilt smaller")
            << QStringList{QStringLiteral("put 7"), QStringLiteral("cell 1")} << 4;
        QTest::newRow("rebuilt larger") << QStringList{QStringLiteral("row 7")} << 12;
    }

    void rebuild_leaves_nothing_behind()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, rows);
        Text_Table table(Three_Columns(), 8);
        const QString old = QStringLiteral("old");
        for (const QString &step : std::as_const(steps)) {
            const QString op = step.section(u' ', 0, 0);
            const int r = step.section(u' ', 1).toInt();
            if (op == u"cell") {
                table.Set_Cell(r, 2, old);
            } else if (op == u"row") {
                table.Set_Row(r, {QStringLiteral("N"), QStringLiteral("x"), old});
            } else if (op == u"down") {
                table.Shift_Down(r);
            } else if (op == u"up") {
                table.Shift_Up(r);
            } else if (op == u"cells") {
                table.Set_Cells({{r - 1, 1, old}, {r, 2, old}});
            } else if (op == u"edit") {
                QVERIFY(table.setData(table.index(r, 1), old, Qt::EditRole));
            } else if (op == u"put") {
                Text_Table::Rebuild rebuild(table, 8);
                rebuild.Put(r, 2, old);
            }
        }
        table.Reset(rows);
        QCOMPARE(table.Row_Count(), rows);
        for (int r = 0; r < rows; ++r)
            QVERIFY2(table.Row(r) == (QStringList{QStringLiteral("Y"), QString(), QString()}),
                     qPrintable(QStringLiteral("row %1: %2").arg(r).arg(table.Row(r).join(u'|'))));
    }
};

QTEST_APPLESS_MAIN(Test_Text_Table)
#include "test_text_table.moc"
