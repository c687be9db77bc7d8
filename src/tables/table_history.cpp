#include "tables/table_history.h"

#include <algorithm>

namespace {

QList<int> Sorted_Unique(QList<int> values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

bool In_Table(const Text_Table &table, int r, int c)
{
    return r >= 0 && r < table.Row_Count() && c >= 0 && c < table.Column_Count();
}

} // namespace

Cell_Block Block_Of(const QList<Cell_Change> &cells)
{
    QList<int> rows;
    QList<int> columns;
    rows.reserve(cells.size());
    for (const Cell_Change &cell : cells) {
        rows.append(cell.row);
        columns.append(cell.column);
    }
    return {Sorted_Unique(std::move(rows)), Sorted_Unique(std::move(columns))};
}

Table_Step Step_Of_Changes(const Text_Table &table, const QList<Cell_Change> &changes)
{
    Table_Step step;
    QList<Cell_Change> named;
    named.reserve(changes.size());
    for (const Cell_Change &change : changes)
        if (In_Table(table, change.row, change.column))
            named.append(change);
    step.selection = Block_Of(named);
    // Row order, so that applying a step tells the views in runs of rows; a
    // cell named twice keeps its last text (the stable sort keeps the order
    // of the two, the last one wins below).
    std::stable_sort(named.begin(), named.end(), [](const Cell_Change &a, const Cell_Change &b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    for (qsizetype i = 0; i < named.size(); ++i) {
        const Cell_Change &change = named[i];
        if (i + 1 < named.size() && named[i + 1].row == change.row && named[i + 1].column == change.column)
            continue;
        const QString &now = table.Cell(change.row, change.column);
        if (now == change.text)
            continue;
        step.before.append({change.row, change.column, now});
        step.after.append(change);
    }
    return step;
}

Table_Step Step_Of_Edits(const QList<Cell_Edit> &edits)
{
    Table_Step step;
    if (edits.isEmpty())
        return step;
    QList<Cell_Edit> sorted = edits;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Cell_Edit &a, const Cell_Edit &b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    // A cell changed twice: its text before the first change, after the last.
    for (qsizetype i = 0; i < sorted.size();) {
        qsizetype last = i;
        while (last + 1 < sorted.size() && sorted[last + 1].row == sorted[i].row &&
               sorted[last + 1].column == sorted[i].column)
            ++last;
        if (sorted[i].before != sorted[last].after) {
            step.before.append({sorted[i].row, sorted[i].column, sorted[i].before});
            step.after.append({sorted[i].row, sorted[i].column, sorted[last].after});
        }
        i = last + 1;
    }
    step.selection = {{edits.first().row}, {edits.first().column}};
    return step;
}

Rows_Capture::Rows_Capture(const Text_Table &table, int first_row)
    : first_row_(std::clamp(first_row, 0, table.Row_Count()))
{
    rows_.reserve(table.Row_Count() - first_row_);
    for (int r = first_row_; r < table.Row_Count(); ++r)
        rows_.append(table.Row(r));
}

Table_Step Rows_Capture::Finish(const Text_Table &table, Cell_Block selection) const
{
    Table_Step step;
    step.selection = std::move(selection);
    const int rows = std::min(int(rows_.size()), table.Row_Count() - first_row_);
    for (int i = 0; i < rows; ++i) {
        const int r = first_row_ + i;
        const QStringList &was = rows_[i];
        for (int c = 0; c < table.Column_Count() && c < was.size(); ++c) {
            const QString &now = table.Cell(r, c);
            if (now == was[c])
                continue;
            step.before.append({r, c, was[c]});
            step.after.append({r, c, now});
        }
    }
    return step;
}

void Undo_Step(Text_Table &table, const Table_Step &step)
{
    table.Set_Cells(step.before);
}

void Redo_Step(Text_Table &table, const Table_Step &step)
{
    table.Set_Cells(step.after);
}
