#include "tables/text_table.h"

#include "core/messages.h"

#include <algorithm>
#include <utility>

bool Is_Flag_Set(QStringView text)
{
    return text.trimmed() == u"Y";
}

Text_Table::Text_Table(QList<Column_Desc> columns, int rows, QObject *parent)
    : QAbstractTableModel(parent)
    , columns_(std::move(columns))
{
    rows_ = std::max(rows, 0);
    cells_.resize(qsizetype(rows_) * columns_.size());
    Fill_Fresh(0, rows_ - 1);
}

void Text_Table::Fill_Fresh(int first_row, int last_row)
{
    if (first_row > last_row)
        return;
    QString *cell = cells_.data() + Index(first_row, 0);
    for (int r = first_row; r <= last_row; ++r)
        for (const Column_Desc &column : std::as_const(columns_))
            *cell++ = column.fresh;
}

void Text_Table::Rows_Changed(int first_row, int last_row)
{
    if (first_row > last_row || Column_Count() == 0)
        return;
    emit dataChanged(index(first_row, 0), index(last_row, Column_Count() - 1));
}

void Text_Table::Set_Cell(int r, int c, const QString &text)
{
    QString &cell = cells_[Index(r, c)];
    if (cell == text)
        return;
    Touch(r);
    Note_Edit(r, c, cell, text);
    cell = text;
    const QModelIndex at = index(r, c);
    emit dataChanged(at, at);
}

void Text_Table::Set_Cells(const QList<Cell_Change> &changes)
{
    // Changes come in row order from a paste or an undo: the rows they touch
    // are told in runs, so that thousands of cells cost a handful of signals.
    int first = -1;
    int last = -1;
    const auto tell = [&] {
        if (first >= 0)
            emit dataChanged(index(first, 0), index(last, Column_Count() - 1));
    };
    for (const Cell_Change &change : changes) {
        if (change.row < 0 || change.row >= rows_ || change.column < 0 || change.column >= Column_Count())
            continue;
        QString &cell = cells_[Index(change.row, change.column)];
        if (cell == change.text)
            continue;
        Touch(change.row);
        Note_Edit(change.row, change.column, cell, change.text);
        cell = change.text;
        if (first >= 0 && change.row >= first && change.row <= last + 1) {
            last = std::max(last, change.row);
            continue;
        }
        tell();
        first = last = change.row;
    }
    tell();
}

QStringList Text_Table::Row(int r) const
{
    QStringList texts;
    texts.reserve(Column_Count());
    for (int c = 0; c < Column_Count(); ++c)
        texts.append(Cell(r, c));
    return texts;
}

void Text_Table::Set_Row(int r, const QStringList &texts)
{
    Q_ASSERT(texts.size() == columns_.size());
    Touch(r);
    for (int c = 0; c < Column_Count(); ++c) {
        if (cells_[Index(r, c)] != texts[c])
            Note_Edit(r, c, cells_[Index(r, c)], texts[c]);
        cells_[Index(r, c)] = texts[c];
    }
    Rows_Changed(r, r);
}

void Text_Table::Reset(int rows)
{
    Rebuild rebuild(*this, rows);
}

void Text_Table::Shift_Up(int r)
{
    if (r < 0 || r >= rows_)
        return;
    const auto first = cells_.begin() + Index(r, 0);
    std::move(first + Column_Count(), cells_.end(), first);
    Fill_Fresh(rows_ - 1, rows_ - 1);
    Rows_Changed(r, rows_ - 1);
}

void Text_Table::Shift_Down(int r)
{
    if (r < 0 || r >= rows_)
        return;
    const auto first = cells_.begin() + Index(r, 0);
    std::move_backward(first, cells_.end() - Column_Count(), cells_.end());
    // The first fresh row now holds the row above it.
    if (touched_ > r)
        touched_ = std::min(touched_ + 1, rows_);
    Fill_Fresh(r, r);
    Rows_Changed(r, rows_ - 1);
}

void Text_Table::Set_Items(int c, const QStringList &items)
{
    columns_[c].items = items;
}

void Text_Table::Set_Cut_At(int c, int length)
{
    if (columns_[c].cut_at == length)
        return;
    columns_[c].cut_at = length;
    if (rows_ > 0)
        emit dataChanged(index(0, c), index(rows_ - 1, c), {Qt::DisplayRole, Qt::ToolTipRole});
}

void Text_Table::Retranslate()
{
    if (Column_Count() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, Column_Count() - 1);
}

Text_Table::Rebuild::Rebuild(Text_Table &table, int rows)
    : table_(table)
{
    table_.beginResetModel();
    const int old_rows = table_.rows_;
    table_.rows_ = std::max(rows, 0);
    table_.Fill_Fresh(0, std::min(table_.touched_, table_.rows_) - 1);
    table_.cells_.resize(qsizetype(table_.rows_) * table_.columns_.size());
    table_.Fill_Fresh(old_rows, table_.rows_ - 1);
    table_.touched_ = 0;
}

Text_Table::Rebuild::~Rebuild()
{
    table_.endResetModel();
}

int Text_Table::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int Text_Table::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Column_Count();
}

QVariant Text_Table::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const QString &text = Cell(index.row(), index.column());
    const Column_Desc &column = columns_[index.column()];
    const bool check = column.kind == Cell_Kind::Check;
    switch (role) {
    case Qt::DisplayRole:
        // A check-box cell shows its box, not its letter.
        if (check)
            return QVariant();
        return column.shown ? column.shown(text) : text;
    case Qt::EditRole:
        return text;
    case Qt::CheckStateRole:
        if (check)
            return Is_Flag_Set(text) ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    case Qt::ToolTipRole: {
        // A column's description shows as the tip of each of its cells,
        // and a text longer than the device keeps says so.
        QString tip = column.hint_message >= 0 ? Messages().Get(column.hint_message) : QString();
        if (column.cut_at > 0 && text.size() > column.cut_at) {
            if (!tip.isEmpty())
                tip += u'\n';
            // One multi-argument call, so a "%" in the text stays text.
            tip += Messages().Get(Msg_Text_Cut).arg(QString::number(column.cut_at), text.left(column.cut_at));
        }
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    default:
        return QVariant();
    }
}

bool Text_Table::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    const int r = index.row();
    const int c = index.column();
    QString text;
    if (role == Qt::CheckStateRole) {
        if (columns_[c].kind != Cell_Kind::Check)
            return false;
        text = value.toInt() == Qt::Checked ? QStringLiteral("Y") : QStringLiteral("N");
    } else if (role == Qt::EditRole) {
        text = value.toString();
    } else {
        return false;
    }
    // What this change and Cell_Edited's own changes do is told at once, so
    // that the window's history keeps them as one step.
    QList<Cell_Edit> edits;
    QList<Cell_Edit> *outer = std::exchange(edits_, &edits);
    Set_Cell(r, c, text);
    if (Cell_Edited)
        Cell_Edited(r, c);
    edits_ = outer;
    if (!edits.isEmpty() && Cells_Edited)
        Cells_Edited(edits);
    return true;
}

Qt::ItemFlags Text_Table::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    f |= columns_[index.column()].kind == Cell_Kind::Check ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return f;
}

QVariant Text_Table::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rows_)
            return Row_Number(section);
        return QVariant();
    }
    if (section < 0 || section >= Column_Count())
        return QVariant();
    const Column_Desc &col = columns_[section];
    if (role == Qt::DisplayRole)
        return Messages().Get(col.header_message);
    if (role == Qt::ToolTipRole && col.hint_message >= 0)
        return Messages().Get(col.hint_message);
    return QVariant();
}
