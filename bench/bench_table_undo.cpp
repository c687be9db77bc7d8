// Undoes and redoes a paste of 2000 rows x 7 columns in the object window
// (its Read table, shown, with its grid painted after each step) and prints
// the time of each beside the floor: setting the same cells through the
// table model alone, one setData per cell, with no view. Also prints the
// longest single undo or redo, which must not block the window for more
// than 100 ms. Runs offscreen unless a platform is chosen.

#include "bench_support.h"
#include "bench_window.h"
#include "tables/bacnet_access.h"
#include "tables/table_history.h"
#include "tables/ui/bacnet_slave_set_access.h"
#include "tables/ui/table_grid.h"
#include "widgets/message_box.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 21;
constexpr int Rows = 2000;

// The cells of the pasted block: every column of every row.
QList<Cell_Change> Pasted_Block(int columns)
{
    QList<Cell_Change> changes;
    changes.reserve(qsizetype(Rows) * columns);
    for (int r = 0; r < Rows; ++r) {
        const QStringList row{QStringLiteral("Analog Value"),
                              QStringLiteral("62"),
                              QString::number(r % 1500),
                              QString(),
                              QStringLiteral("4"),
                              QStringLiteral("N"),
                              QStringLiteral("Object number %1 of the plant").arg(r)};
        for (int c = 0; c < columns; ++c)
            changes.append({r, c, row[c]});
    }
    return changes;
}

// Runs `act`, then lets the window paint what changed; the time of both in ms.
template <typename Act> double Time_Blocking(Act act)
{
    QElapsedTimer t;
    t.start();
    act();
    QCoreApplication::processEvents();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    Bench_Window_Setup setup(argc, argv);
    Workspace &ws = setup.ws;
    Message_Box::Set_Test_Mode(true); // no box may wait for an answer

    TFBACnetSlaveSetAccess window(ws, nullptr);
    window.show();
    QCoreApplication::processEvents();
    Text_Table &table = window.Access.Read;
    if (table.Row_Count() != Rows)
        return 1;
    const QList<Cell_Change> block = Pasted_Block(table.Column_Count());
    const QList<QStringList> empty_rows = [&] {
        QList<QStringList> rows;
        for (int r = 0; r < Rows; ++r)
            rows << table.Row(r);
        return rows;
    }();

    // The paste, as the grid hands it to the window: one step.
    Table_Step step = Step_Of_Changes(table, block);
    if (step.after.size() != qsizetype(Rows) * 6) // the Bit column stays empty
        return 1;
    window.Make_Step(Page_Read, std::move(step));
    QCoreApplication::processEvents();

    // The floor: the same cells set one by one through the model alone,
    // from the fresh texts to the pasted ones and back, as undo and redo do.
    Text_Table model(Object_Columns(Page_Read), Rows);
    const auto set_all = [&](bool pasted) {
        for (const Cell_Change &cell : block)
            model.setData(model.index(cell.row, cell.column), pasted ? cell.text : model.Column(cell.column).fresh);
    };

    Timing undo, redo, floor_undo, floor_redo;
    for (int i = 0; i < Runs; ++i) {
        undo.ms.push_back(Time_Blocking([&] { window.History()->undo(); }));
        redo.ms.push_back(Time_Blocking([&] { window.History()->redo(); }));
        floor_redo.ms.push_back(Time_Blocking([&] { set_all(true); }));
        floor_undo.ms.push_back(Time_Blocking([&] { set_all(false); }));
    }
    // Both ends are checked once more: undone, the table is as it was.
    window.History()->undo();
    for (int r = 0; r < Rows; ++r)
        if (table.Row(r) != empty_rows[r])
            return 1;
    window.History()->redo();
    if (table.Cell(Rows - 1, Obj_Mnemonic) != block.last().text)
        return 1;

    const double undo_ratio = undo.Median() / floor_undo.Median();
    const double redo_ratio = redo.Median() / floor_redo.Median();
    const double longest = std::max(undo.Max(), redo.Max());
    std::printf("Object window: undo and redo of a paste of %d rows x %d columns, median of %d (platform %s)\n", Rows,
                int(table.Column_Count()), Runs, qPrintable(QGuiApplication::platformName()));
    Print("window: undo the paste, painted", undo.Median(), "ms");
    Print("model alone: setData per cell back to fresh texts", floor_undo.Median(), "ms");
    std::printf("%-52s %9.2f    (must stay under 3)%s\n", "undo ratio", undo_ratio,
                undo_ratio < 3 ? "" : "   ** OVER **");
    Print("window: redo the paste, painted", redo.Median(), "ms");
    Print("model alone: setData per cell to the pasted texts", floor_redo.Median(), "ms");
    std::printf("%-52s %9.2f    (must stay under 3)%s\n", "redo ratio", redo_ratio,
                redo_ratio < 3 ? "" : "   ** OVER **");
    std::printf("%-52s %9.2f ms (must stay under 100)%s\n", "longest undo or redo", longest,
                longest < 100 ? "" : "   ** OVER **");
    std::printf("BENCH table_undo.undo %.3f %.3f ms 3 undo a paste of 2000x7 in the object window | setData per "
                "cell on the model alone\n",
                undo.Median(), floor_undo.Median());
    std::printf("BENCH table_undo.redo %.3f %.3f ms 3 redo a paste of 2000x7 in the object window | setData per "
                "cell on the model alone\n",
                redo.Median(), floor_redo.Median());
    return 0;
}
