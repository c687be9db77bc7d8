#include "tables/grid_clipboard.h"

// stand-in: the first forms, replaced by the clipboard's real rules.

QString Copy_Cells(const Text_Table &table, const QList<int> &rows, const QList<int> &columns)
{
    QString text;
    for (int r : rows) {
        QStringList cells;
        for (int c : columns)
            cells << table.Cell(r, c);
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

QList<QStringList> Parse_Clipboard(const QString &text)
{
    QList<QStringList> rows;
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (const QString &line : lines)
        rows << line.split(u'\t');
    return rows;
}

Result<QList<Cell_Change>> Plan_Paste(const Text_Table &table, int row, int column, const QList<QStringList> &block)
{
    QList<Cell_Change> changes;
    for (int i = 0; i < block.size(); ++i)
        for (int j = 0; j < block[i].size(); ++j) {
            if (row + i >= table.Row_Count() || column + j >= table.Column_Count())
                return Fail(QStringLiteral("The block does not fit."));
            changes.append({row + i, column + j, block[i][j]});
        }
    return changes;
}

QList<Cell_Change> Plan_Clear(const Text_Table &table, const QList<int> &rows, const QList<int> &columns)
{
    QList<Cell_Change> changes;
    for (int r : rows)
        for (int c : columns)
            changes.append({r, c, table.Column(c).fresh});
    return changes;
}
