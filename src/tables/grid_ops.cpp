#include "tables/grid_ops.h"

#include "core/messages.h"
#include "tables/text_table.h"

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
        ask({Grid_Request::Kind::Error, 1102, Messages().Get(1102)});
        return false;
    }
    if (buffer.size() != table.Column_Count()) {
        ask({Grid_Request::Kind::Error, 1101, Messages().Get(1101)});
        return false;
    }
    if (Row_In_Use(table, r) && !ask({Grid_Request::Kind::Question, 1100, Messages().Get(1100)}))
        return false;
    table.Set_Row(r, buffer);
    return true;
}

bool Btn_DelRow_Click(Text_Table &table, int r, const Grid_Asker &ask)
{
    if (!Valid_Row(table, r))
        return false;
    const QString text = Messages().Get(1560) + QString::number(table.Row_Number(r));
    if (!ask({Grid_Request::Kind::Question, 1560, text}))
        return false;
    Delete_Grid_Row(r, table);
    return true;
}

void Btn_InsRow_Click(Text_Table &table, int r)
{
    Insert_Grid_Row(r, table);
}

void Btn_CopyRow_Click(const Text_Table &table, int page, int r, QStringList &buffer, Copy_Flags &flags)
{
    if (!Valid_Row(table, r))
        return;
    Copy_Grid_Row(table, r, buffer);
    flags.Set_Copied(page);
}

bool Btn_PasteRow_Click(Text_Table &table, int page, int r, const QStringList &buffer, const Copy_Flags &flags,
                        const Grid_Asker &ask)
{
    return Paste_Grid_Row(table, r, flags.Copied(page), buffer, ask);
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
