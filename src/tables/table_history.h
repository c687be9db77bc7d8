#pragma once

#include "tables/text_table.h"

#include <QList>
#include <QStringList>

// What the table windows' undo and redo are made of, without a window: a
// step keeps the texts of the cells it changed, before and after, so that
// undoing puts the first back and redoing the second. Rows and columns are
// the table's, from 0.

// Cells to select: every row of `rows` with every column of `columns`, or
// the whole rows when `columns` is empty. Both in increasing order.
struct Cell_Block
{
    QList<int> rows;
    QList<int> columns;
    bool Empty() const { return rows.isEmpty(); }
};

// One step of a table's history.
struct Table_Step
{
    QList<Cell_Change> before; // in row order, each cell once
    QList<Cell_Change> after;  // the same cells, in the same order
    Cell_Block selection;      // what undo and redo select
    // Nothing changed: the step is not kept.
    bool Empty() const { return after.isEmpty(); }
};

// The step that `changes` would make, captured before they are made. Cells
// whose text would not change are left out; a cell named twice takes its
// last text. Selects the cells named (those left out included).
Table_Step Step_Of_Changes(const Text_Table &table, const QList<Cell_Change> &changes);

// The step that a change made through the view made (Text_Table::Cells_Edited).
// Selects the first cell changed: the one the user edited.
Table_Step Step_Of_Edits(const QList<Cell_Edit> &edits);

// The texts of rows `first_row` .. the last row, kept before an operation
// that moves or rewrites them; Finish gives the step that the operation made.
class Rows_Capture
{
public:
    Rows_Capture(const Text_Table &table, int first_row);
    // Only the cells that differ now; selects `selection`.
    Table_Step Finish(const Text_Table &table, Cell_Block selection) const;

private:
    int first_row_ = 0;
    QList<QStringList> rows_;
};

// Undo: the cells take their texts before the step. Redo: after it.
void Undo_Step(Text_Table &table, const Table_Step &step);
void Redo_Step(Text_Table &table, const Table_Step &step);

// The rows and columns of `cells`, each once, in increasing order.
Cell_Block Block_Of(const QList<Cell_Change> &cells);
