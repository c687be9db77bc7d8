// The grid clipboard on a full object table: a points list of 2000 rows
// pasted over every visible column (Data Type, Eng. Unit, Position, Start
// Bit, Length, Mnemonic; the hidden Swap is skipped), as a spreadsheet puts
// it on the clipboard. Prints one BENCH line per figure beside its floor
// (bench/README.md):
//  - the paste (plan through every cell's rules, then the table's bulk
//    setter) against setting the same texts through the model's setData,
//    one cell at a time;
//  - reading the clipboard text against splitting it at line breaks and
//    tabs;
//  - copying the block against joining the same cells unquoted.
// Every run pastes the other of two blocks, so that every cell changes.

#include "bench_support.h"
#include "tables/bacnet_access.h"
#include "tables/grid_clipboard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 15;
constexpr int Rows = 2000;

// A points list as an engineer keeps it: types in the spreadsheet's own
// letter case, units by name on every other row, a position and a name per
// object. `variant` makes the two blocks differ in every cell.
QString Points_List(int variant)
{
    const char *const types[] = {"analog out", "ANALOG VALUE", "binary value", "Multi State Value"};
    const char *const units[] = {"degrees-Celsius", "percent", "kilowatt-hours", "no-units"};
    QString text;
    for (int r = 0; r < Rows; ++r) {
        const int k = r + variant;
        text += QString::fromLatin1(types[k % 4]) + u'\t';
        text += (r % 2 ? QString::fromLatin1(units[k % 4]) : QString::number(62 + variant)) + u'\t';
        text += QString::number((r * 3 + variant) % 1500) + u'\t' + QString::number(k % 8) + u'\t';
        text += QString::number(1 + k % 4) + u'\t';
        text += QStringLiteral("Object %1 of plant %2").arg(r).arg(variant) + QStringLiteral("\r\n");
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Text_Table table(Object_Columns(Page_Write), Rows);
    Text_Table floor_table(Object_Columns(Page_Write), Rows);
    const QString clips[2] = {Points_List(0), Points_List(1)};
    const QList<int> visible{Obj_Data_Type, Obj_Eng_Unit, Obj_Position, Obj_Bit, Obj_Length, Obj_Mnemonic};
    QList<int> all_rows;
    for (int r = 0; r < Rows; ++r)
        all_rows.append(r);

    QList<QStringList> blocks[2];
    QList<Cell_Change> plans[2];
    for (int v = 0; v < 2; ++v) {
        blocks[v] = Parse_Clipboard(clips[v]);
        Result<QList<Cell_Change>> plan = Plan_Paste(table, 0, 0, blocks[v]);
        if (!plan.Ok() || plan.Value().size() != Rows * visible.size()) {
            std::printf("the points list does not paste: %s\n", qPrintable(plan.Problem()));
            return 1;
        }
        plans[v] = plan.Value();
    }

    Timing paste, set_data, parse, split, copy, join;
    QElapsedTimer t;
    qsizetype sink = 0;
    for (int i = 0; i < Runs * 2; ++i) {
        const int v = i % 2;
        t.start();
        Result<QList<Cell_Change>> plan = Plan_Paste(table, 0, 0, blocks[v]);
        if (!plan.Ok())
            return 1;
        table.Set_Cells(plan.Value());
        paste.Add(t);

        // The floor: the same texts through the item model, cell by cell.
        t.start();
        for (const Cell_Change &change : std::as_const(plans[v]))
            floor_table.setData(floor_table.index(change.row, change.column), change.text, Qt::EditRole);
        set_data.Add(t);

        t.start();
        sink += Parse_Clipboard(clips[v]).size();
        parse.Add(t);
        t.start();
        for (const QString &line : clips[v].split(QStringLiteral("\r\n")))
            sink += line.split(u'\t').size();
        split.Add(t);

        t.start();
        sink += Copy_Cells(table, all_rows, visible).size();
        copy.Add(t);
        t.start();
        QString joined;
        for (int r = 0; r < Rows; ++r) {
            for (int c : visible)
                joined += table.Cell(r, c) + u'\t';
            joined += u'\n';
        }
        sink += joined.size();
        join.Add(t);
    }
    for (int r = 0; r < Rows; ++r)
        if (table.Row(r) != floor_table.Row(r)) {
            std::printf("row %d: the paste and the floor differ\n", r);
            return 1;
        }
    std::printf("%d rows x %lld columns, median of %d runs (%lld)\n", Rows, static_cast<long long>(visible.size()),
                Runs * 2, static_cast<long long>(sink % 10));
    const double paste_ms = paste.Median();
    const double floor_ms = set_data.Median();
    std::printf("paste %.2f ms, setData per cell %.2f ms, ratio %.2f (at most 3)\n", paste_ms, floor_ms,
                paste_ms / floor_ms);
    std::printf("BENCH clipboard.paste %.2f %.2f ms 3.0 paste 2000 object rows x 6 columns (plan and set) | the same "
                "cells through setData one by one\n",
                paste_ms, floor_ms);
    std::printf("BENCH clipboard.parse %.2f %.2f ms 3.0 read the clipboard text of 2000 object rows | split it at "
                "line breaks and tabs\n",
                parse.Median(), split.Median());
    std::printf("BENCH clipboard.copy %.2f %.2f ms 3.0 copy 2000 object rows x 6 columns | join the same cells "
                "unquoted\n",
                copy.Median(), join.Median());
    return 0;
}
