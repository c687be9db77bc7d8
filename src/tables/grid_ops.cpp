#include "tables/grid_ops.h"

#include "core/messages.h"
#include "tables/table_messages.h"
#include "tables/text_table.h"

#include <algorithm>

namespace {

bool Valid_Row(const Text_Table &table, int r)
{
    return r >= 0 && r < table.Row_Count();
}

} // namespace

void Delete_Grid_Row(int r, Text_Table &table)
{
    if (Valid_Row(table, r))
        table.Shift_Up(r);
}

void Insert_Grid_Row(int r, Text_Table &table)
{
    if (Valid_Row(table, r))
        table.Shift_Down(r);
}

void Copy_Grid_Row(const Text_Table &table, int r, QStringList &buffer)
{
    if (!Valid_Row(table, r))
        return;
    buffer = table.Row(r);
}

bool Row_In_Use(const Text_Table &table, int r)
{
    for (int c = 0; c < table.Column_Count(); ++c)
        if (table.Column(c).kind != Cell_Kind::Check && !QStringView(table.Cell(r, c)).trimmed().isEmpty())
            return true;
    return false;
}

bool Paste_Grid_Row(Text_Table &table, int r, bool copied, const QStringList &buffer, const Grid_Asker &ask)
{
    if (!Valid_Row(table, r))
        return false;
    if (!copied) {
        ask({Grid_Request::Kind::Error, Msg_Paste_Nothing_Copied, Messages().Get(Msg_Paste_Nothing_Copied)});
        return false;
    }
    if (buffer.size() != table.Column_Count()) {
        ask({Grid_Request::Kind::Error, Msg_Paste_Wrong_Shape, Messages().Get(Msg_Paste_Wrong_Shape)});
        return false;
    }
    if (Row_In_Use(table, r) &&
        !ask({Grid_Request::Kind::Question, Msg_Row_Overwrite, Messages().Get(Msg_Row_Overwrite)}))
        return false;
    table.Set_Row(r, buffer);
    return true;
}

QList<int> Rows_Acted_On(QList<int> selected_rows, int current_row, int row_count)
{
    if (selected_rows.isEmpty())
        selected_rows.append(current_row);
    std::sort(selected_rows.begin(), selected_rows.end());
    selected_rows.erase(std::unique(selected_rows.begin(), selected_rows.end()), selected_rows.end());
    selected_rows.removeIf([row_count](int r) { return r < 0 || r >= row_count; });
    return selected_rows;
}

void Delete_Grid_Rows(const QList<int> &rows, Text_Table &table)
{
    if (rows.isEmpty() || !Valid_Row(table, rows.first()))
        return;
    // The rows from the first deleted one down are written once, with what
    // they hold afterwards, so that deleting many rows costs one pass.
    const int first = rows.first();
    QList<Cell_Change> changes;
    int to = first;
    qsizetype next_deleted = 0;
    for (int from = first; from < table.Row_Count(); ++from) {
        if (next_deleted < rows.size() && rows[next_deleted] == from) {
            ++next_deleted;
            continue;
        }
        if (from != to)
            for (int c = 0; c < table.Column_Count(); ++c)
                changes.append({to, c, table.Cell(from, c)});
        ++to;
    }
    for (; to < table.Row_Count(); ++to)
        for (int c = 0; c < table.Column_Count(); ++c)
            changes.append({to, c, table.Column(c).fresh});
    table.Set_Cells(changes);
}

void Insert_Grid_Rows(int r, int count, Text_Table &table)
{
    if (!Valid_Row(table, r) || count <= 0)
        return;
    count = std::min(count, table.Row_Count() - r);
    QList<Cell_Change> changes;
    for (int to = r; to < table.Row_Count(); ++to)
        for (int c = 0; c < table.Column_Count(); ++c)
            changes.append({to, c, to < r + count ? table.Column(c).fresh : table.Cell(to - count, c)});
    table.Set_Cells(changes);
}

QList<int> Rows_Pushed_Out(const Text_Table &table, int r, int count)
{
    QList<int> lost;
    if (!Valid_Row(table, r) || count <= 0)
        return lost;
    // The rows that end up below the last row: the last `count` rows, or
    // fewer when the insert starts near the end (those are overwritten by
    // fresh rows instead).
    for (int k = std::max(r, table.Row_Count() - count); k < table.Row_Count(); ++k)
        if (Row_In_Use(table, k))
            lost.append(k);
    return lost;
}

void Copy_Grid_Rows(const Text_Table &table, const QList<int> &rows, QList<QStringList> &buffer)
{
    QList<QStringList> copied;
    for (int r : rows)
        if (Valid_Row(table, r))
            copied.append(table.Row(r));
    if (!copied.isEmpty())
        buffer = std::move(copied);
}

bool Paste_Grid_Rows(Text_Table &table, int r, bool copied, const QList<QStringList> &buffer, const Grid_Asker &ask)
{
    if (!Valid_Row(table, r))
        return false;
    if (!copied || buffer.isEmpty()) {
        ask({Grid_Request::Kind::Error, Msg_Paste_Nothing_Copied, Messages().Get(Msg_Paste_Nothing_Copied)});
        return false;
    }
    for (const QStringList &row : buffer)
        if (row.size() != table.Column_Count()) {
            ask({Grid_Request::Kind::Error, Msg_Paste_Wrong_Shape, Messages().Get(Msg_Paste_Wrong_Shape)});
            return false;
        }
    const int rows = int(buffer.size());
    const int room = table.Row_Count() - r;
    if (rows > room) {
        ask({Grid_Request::Kind::Error, Msg_Rows_Do_Not_Fit,
             Messages()
                 .Get(Msg_Rows_Do_Not_Fit)
                 .arg(QString::number(rows), QString::number(table.Row_Number(r)), QString::number(room))});
        return false;
    }
    bool in_use = false;
    for (int k = r; k < r + rows && !in_use; ++k)
        in_use = Row_In_Use(table, k);
    if (in_use && !ask({Grid_Request::Kind::Question, Msg_Row_Overwrite, Messages().Get(Msg_Row_Overwrite)}))
        return false;
    QList<Cell_Change> changes;
    changes.reserve(qsizetype(rows) * table.Column_Count());
    for (int i = 0; i < rows; ++i)
        for (int c = 0; c < table.Column_Count(); ++c)
            changes.append({r + i, c, buffer[i][c]});
    table.Set_Cells(changes);
    return true;
}

bool Delete_Rows(Text_Table &table, const QList<int> &rows, const Grid_Asker &ask)
{
    if (rows.isEmpty() || !Valid_Row(table, rows.first()) || !Valid_Row(table, rows.last()))
        return false;
    const Grid_Request question =
        rows.size() == 1
            ? Grid_Request{Grid_Request::Kind::Question, Msg_Delete_Row_Number,
                           Messages().Get(Msg_Delete_Row_Number) + QString::number(table.Row_Number(rows.first()))}
            : Grid_Request{Grid_Request::Kind::Question, Msg_Delete_Rows,
                           Messages().Get(Msg_Delete_Rows).arg(rows.size())};
    if (!ask(question))
        return false;
    Delete_Grid_Rows(rows, table);
    return true;
}

bool Insert_Rows(Text_Table &table, const QList<int> &rows, const Grid_Asker &ask)
{
    if (rows.isEmpty() || !Valid_Row(table, rows.first()))
        return false;
    const int count = int(rows.size());
    const QList<int> lost = Rows_Pushed_Out(table, rows.first(), count);
    if (!lost.isEmpty() && !ask({Grid_Request::Kind::Question, Msg_Rows_Pushed_Out,
                                 Messages()
                                     .Get(Msg_Rows_Pushed_Out)
                                     .arg(QString::number(count), QString::number(lost.size()),
                                          QString::number(table.Row_Number(lost.first())))}))
        return false;
    Insert_Grid_Rows(rows.first(), count, table);
    return true;
}

void Copy_Rows(const Text_Table &table, int page, const QList<int> &rows, QList<QStringList> &buffer, Copy_Flags &flags)
{
    if (rows.isEmpty() || !Valid_Row(table, rows.first()))
        return;
    Copy_Grid_Rows(table, rows, buffer);
    flags.Set_Copied(page);
}

bool Paste_Rows(Text_Table &table, int page, int r, const QList<QStringList> &buffer, const Copy_Flags &flags,
                const Grid_Asker &ask)
{
    return Paste_Grid_Rows(table, r, flags.Copied(page), buffer, ask);
}

Jump_Result Jump_Next_Cell(Grid_Cell current, char16_t key, const QList<bool> &hidden, int row_count, bool enable_jump)
{
    Jump_Result result{false, current};
    if (!enable_jump || key != Key_Enter)
        return result;
    result.consumed = true;
    const int columns = int(hidden.size());
    if (current.row < 0 || current.column < 0 || current.row >= row_count || current.column >= columns)
        return result;

    int first_visible = -1;
    int last_visible = -1;
    for (int c = 0; c < columns; ++c) {
        if (hidden[c])
            continue;
        if (first_visible < 0)
            first_visible = c;
        last_visible = c;
    }
    if (first_visible < 0)
        return result;

    if (current.column < last_visible) {
        int c = current.column + 1;
        while (hidden[c])
            ++c;
        result.next.column = c;
    } else {
        result.next.column = first_visible;
        result.next.row = current.row + 1 < row_count ? current.row + 1 : 0;
    }
    return result;
}

Jump_Result Jump_Next_Cell(const Text_Table &table, Grid_Cell current, char16_t key, bool enable_jump)
{
    QList<bool> hidden;
    for (int c = 0; c < table.Column_Count(); ++c)
        hidden.append(table.Column(c).hidden);
    return Jump_Next_Cell(current, key, hidden, table.Row_Count(), enable_jump);
}

Grid_Cell Move_Cell(Grid_Cell current, Cell_Move move, const QList<bool> &hidden, int row_count)
{
    const int columns = int(hidden.size());
    int first = -1;
    int last = -1;
    for (int c = 0; c < columns; ++c) {
        if (hidden[c])
            continue;
        if (first < 0)
            first = c;
        last = c;
    }
    if (first < 0 || row_count <= 0)
        return current;
    if (current.row < 0 || current.row >= row_count || current.column < 0 || current.column >= columns)
        return {0, first};
    // The visible column after (or before) `c` on its row, -1 past the end.
    const auto step = [&](int c, int by) {
        for (c += by; c >= 0 && c < columns; c += by)
            if (!hidden[c])
                return c;
        return -1;
    };
    switch (move) {
    case Cell_Move::Next:
        if (const int c = step(current.column, 1); c >= 0)
            return {current.row, c};
        return current.row + 1 < row_count ? Grid_Cell{current.row + 1, first} : Grid_Cell{current.row, last};
    case Cell_Move::Previous:
        if (const int c = step(current.column, -1); c >= 0)
            return {current.row, c};
        return current.row > 0 ? Grid_Cell{current.row - 1, last} : Grid_Cell{0, first};
    case Cell_Move::Down:
        return {std::min(current.row + 1, row_count - 1), current.column};
    case Cell_Move::Row_First:
        return {current.row, first};
    case Cell_Move::Row_Last:
        return {current.row, last};
    case Cell_Move::Grid_First:
        return {0, first};
    case Cell_Move::Grid_Last:
        return {row_count - 1, last};
    }
    return current;
}

Grid_Cell Move_Cell(const Text_Table &table, Grid_Cell current, Cell_Move move)
{
    QList<bool> hidden;
    for (int c = 0; c < table.Column_Count(); ++c)
        hidden.append(table.Column(c).hidden);
    return Move_Cell(current, move, hidden, table.Row_Count());
}

int Auto_Size_Column(const Text_Table &table, int column, bool header_clicked, bool double_click_auto_size,
                     const Text_Width &text_width, int padding)
{
    if (!double_click_auto_size || !header_clicked || column < 0 || column >= table.Column_Count())
        return -1;
    int widest = text_width(Messages().Get(table.Column(column).header_message));
    for (int r = 0; r < table.Row_Count(); ++r) {
        const QString &text = table.Cell(r, column);
        if (!text.isEmpty())
            widest = std::max(widest, text_width(text));
    }
    return widest + padding;
}
