#include "tables/ui/table_grid.h"

#include "tables/grid_clipboard.h"
#include "tables/grid_ops.h"
#include "tables/live_problems.h"
#include "tables/table_messages.h"
#include "tables/text_table.h"
#include "tables/ui/cell_delegate.h"
#include "widgets/message_box.h"
#include "widgets/texts.h"
#include "widgets/wrapping_header.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

namespace {

constexpr int Number_Column_Width = 40;

// The number column, of fixed width and with rows of fixed height.
class Number_Header : public QHeaderView
{
public:
    explicit Number_Header(QWidget *parent)
        : QHeaderView(Qt::Vertical, parent)
    {
        connect(this, &QHeaderView::sectionPressed, this, [this] { pressed_ = true; });
    }

    // The width is fixed: measuring the numbers of 200 rows after every
    // load, as a header does, would be wasted (it was the largest part of
    // showing a window).
    QSize sizeHint() const override { return QSize(Number_Column_Width, defaultSectionSize()); }

protected:
    // The header keeps a few pixels at each border between two rows for
    // resizing, where a press selected nothing; there the press selects the
    // row as well, as the rows cannot be resized.
    void mousePressEvent(QMouseEvent *event) override
    {
        pressed_ = false;
        QHeaderView::mousePressEvent(event);
        const int row = logicalIndexAt(event->position().toPoint());
        if (!pressed_ && event->button() == Qt::LeftButton && row >= 0 && sectionsClickable())
            emit sectionPressed(row);
    }

private:
    bool pressed_ = false;
};

bool Is_Enter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

Table_Grid::Table_Grid(Text_Table &table, QWidget *parent)
    : QTableView(parent)
    , table_(table)
{
    QFont grid_font = font();
    grid_font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    grid_font.setPixelSize(11);
    setFont(grid_font);

    setModel(&table_);
    auto *delegate = new Cell_Delegate(this);
    setItemDelegate(delegate);
    connect(delegate, &Cell_Delegate::Refused, this, &Table_Grid::Note);
    connect(delegate, &Cell_Delegate::Leave_Grid, this, &Table_Grid::Leave);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    // Tab and Shift+Tab move between the cells (focusNextPrevChild), as in
    // a spreadsheet; Ctrl+Tab leaves the grid for the next control.
    setTabKeyNavigation(true);

    // Titles too long for their column take two lines.
    setHorizontalHeader(new Wrapping_Header(this));
    // The number column: fixed rows, in the window's colour, like a header.
    setVerticalHeader(new Number_Header(this));
    QHeaderView *numbers = verticalHeader();
    numbers->setSectionsClickable(true);
    numbers->setSectionResizeMode(QHeaderView::Fixed);
    numbers->setDefaultSectionSize(fontMetrics().height() + 6);
    numbers->setFixedWidth(Number_Column_Width);
    numbers->setDefaultAlignment(Qt::AlignCenter);
    QHeaderView *titles = horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    // The last column shown takes the width the window gains, never less
    // than its own: no empty band beside it.
    titles->setStretchLastSection(true);
    titles->setHighlightSections(false);
    titles->setMinimumSectionSize(8);

    // A double click on a header fits the column only with the setting on:
    // the view's own fitting on the border between two titles is replaced.
    disconnect(titles, SIGNAL(sectionHandleDoubleClicked(int)), this, SLOT(resizeColumnToContents(int)));
    connect(titles, &QHeaderView::sectionDoubleClicked, this, &Table_Grid::Header_Double_Click);
    connect(titles, &QHeaderView::sectionHandleDoubleClicked, this, &Table_Grid::Header_Double_Click);

    // The corner shows the title of the number column.
    corner_ = findChild<QAbstractButton *>();
    if (corner_)
        corner_->installEventFilter(this);

    Apply_Columns();
}

void Table_Grid::Apply_Columns()
{
    for (int c = 0; c < table_.Column_Count(); ++c) {
        setColumnWidth(c, table_.Column(c).width);
        setColumnHidden(c, table_.Column(c).hidden);
    }
}

void Table_Grid::Set_Problems(Live_Problems *problems, int page)
{
    problems_ = problems;
    page_ = page;
    static_cast<Cell_Delegate *>(itemDelegate())->Set_Problems(problems, page);
    connect(problems, &Live_Problems::Changed, this, &Table_Grid::Problems_Changed);
}

void Table_Grid::Problems_Changed()
{
    // Only the cells whose mark changed: one edit draws one or two cells
    // again, not the whole view. Many at once (a paste) draw the view.
    const QList<Live_Problems::Cell> &cells = problems_->Changed_Cells();
    if (cells.size() > 64) {
        viewport()->update();
        return;
    }
    const QRect shown = viewport()->rect();
    for (const Live_Problems::Cell &cell : cells) {
        if (cell.Page != page_)
            continue;
        const QRect rect = visualRect(table_.index(cell.Row, cell.Column));
        if (rect.intersects(shown))
            viewport()->update(rect);
    }
}

void Table_Grid::Set_Number_Title(int message)
{
    number_title_ = message;
    if (corner_)
        corner_->update();
}

void Table_Grid::Set_Number_Colour(const QColor &colour)
{
    for (QWidget *part : {static_cast<QWidget *>(verticalHeader()), corner_}) {
        if (!part)
            continue;
        QPalette palette = part->palette();
        palette.setColor(QPalette::Button, colour);
        palette.setColor(QPalette::Window, colour);
        part->setPalette(palette);
    }
}

bool Table_Grid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QPainter painter(corner_);
        QStyleOptionHeader option;
        option.initFrom(corner_);
        option.rect = corner_->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.text = number_title_ >= 0 ? Msg(number_title_) : QString();
        option.textAlignment = Qt::AlignCenter;
        corner_->style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

int Table_Grid::Current_Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void Table_Grid::Set_Current(int row, int column)
{
    const QModelIndex at = table_.index(row, column);
    if (!at.isValid())
        return;
    setCurrentIndex(at);
    scrollTo(at);
}

bool Table_Grid::Commit_Edit()
{
    if (state() != QAbstractItemView::EditingState)
        return true;
    QWidget *editor = indexWidget(currentIndex());
    if (!editor)
        return true;
    auto *delegate = static_cast<Cell_Delegate *>(itemDelegate());
    if (const QString refusal = delegate->Refusal(editor, Msg_Cell_Refused_Editing); !refusal.isEmpty()) {
        emit Note(refusal);
        editor->setFocus();
        return false;
    }
    commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void Table_Grid::Cancel_Edit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex()))
        QTableView::closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void Table_Grid::Move(Cell_Move move)
{
    // As the key of the move, through the view's own handling of keys (and
    // so moveCursor): the selection follows and the range that Shift
    // extends starts again from the new cell.
    int key = Qt::Key_Down;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    switch (move) {
    case Cell_Move::Next:
        key = Qt::Key_Tab;
        break;
    case Cell_Move::Previous:
        key = Qt::Key_Backtab;
        break;
    case Cell_Move::Down:
        break;
    case Cell_Move::Row_First:
    case Cell_Move::Grid_First:
        key = Qt::Key_Home;
        break;
    case Cell_Move::Row_Last:
    case Cell_Move::Grid_Last:
        key = Qt::Key_End;
        break;
    }
    if (move == Cell_Move::Grid_First || move == Cell_Move::Grid_Last)
        modifiers = Qt::ControlModifier;
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QTableView::keyPressEvent(&event);
}

QModelIndex Table_Grid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    Cell_Move move = Cell_Move::Next;
    switch (action) {
    case MoveNext:
        move = Cell_Move::Next;
        break;
    case MovePrevious:
        move = Cell_Move::Previous;
        break;
    case MoveDown:
        move = Cell_Move::Down;
        break;
    case MoveHome:
        move = ctrl ? Cell_Move::Grid_First : Cell_Move::Row_First;
        break;
    case MoveEnd:
        move = ctrl ? Cell_Move::Grid_Last : Cell_Move::Row_Last;
        break;
    default:
        return QTableView::moveCursor(action, modifiers);
    }
    const QModelIndex current = currentIndex();
    const Grid_Cell at = current.isValid() ? Grid_Cell{current.row(), current.column()} : Grid_Cell{};
    const Grid_Cell next = Move_Cell(table_, at, move);
    return table_.index(next.row, next.column);
}

void Table_Grid::Leave(bool forward)
{
    QAbstractScrollArea::focusNextPrevChild(forward);
}

bool Table_Grid::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab, here or from an editor's parent: the next cell.
    Move(next ? Cell_Move::Next : Cell_Move::Previous);
    return true;
}

void Table_Grid::Clear_Cells()
{
    const Cell_Block block = Selected_Block();
    if (block.Empty())
        return;
    Table_Step step = Step_Of_Changes(table_, Plan_Clear(table_, block.rows, block.columns));
    step.selection = block;
    Make_Step(std::move(step));
}

void Table_Grid::Fill_Down()
{
    const Cell_Block block = Selected_Block();
    if (block.Empty())
        return;
    Table_Step step = Step_Of_Changes(table_, Plan_Fill_Down(table_, block.rows, block.columns));
    step.selection = block;
    Make_Step(std::move(step));
}

bool Table_Grid::Enter_Key()
{
    const QModelIndex current = currentIndex();
    const Grid_Cell at = current.isValid() ? Grid_Cell{current.row(), current.column()} : Grid_Cell{};
    const Jump_Result jump = Jump_Next_Cell(table_, at, Key_Enter, Jump_On());
    if (jump.consumed && jump.next != at)
        Set_Current(jump.next.row, jump.next.column);
    return jump.consumed;
}

QList<int> Table_Grid::Rows_Acted_On() const
{
    QList<int> rows;
    for (const QItemSelectionRange &range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.append(r);
    return ::Rows_Acted_On(std::move(rows), Current_Row(), table_.Row_Count());
}

Cell_Block Table_Grid::Selected_Block() const
{
    QList<int> rows;
    QList<bool> columns(table_.Column_Count(), false);
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.append(r);
        for (int c = range.left(); c <= range.right(); ++c)
            columns[c] = true;
    }
    Cell_Block block;
    const QModelIndex current = currentIndex();
    if (rows.isEmpty()) {
        if (!current.isValid())
            return block;
        rows.append(current.row());
        columns[current.column()] = true;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    block.rows = std::move(rows);
    for (int c = 0; c < table_.Column_Count(); ++c)
        if (columns[c] && !isColumnHidden(c))
            block.columns.append(c);
    if (block.columns.isEmpty())
        block.rows.clear();
    return block;
}

void Table_Grid::Select_Block(const Cell_Block &block)
{
    if (block.Empty() || table_.Column_Count() == 0)
        return;
    // Runs of neighbouring rows and columns make one range each, so that
    // selecting 2000 pasted rows is a handful of ranges.
    const auto runs = [](const QList<int> &values) {
        QList<std::pair<int, int>> result;
        for (int v : values) {
            if (!result.isEmpty() && result.last().second + 1 == v)
                result.last().second = v;
            else
                result.append({v, v});
        }
        return result;
    };
    QList<int> columns = block.columns;
    if (columns.isEmpty())
        for (int c = 0; c < table_.Column_Count(); ++c)
            columns.append(c);
    QItemSelection selection;
    for (const auto &[top, bottom] : runs(block.rows))
        for (const auto &[left, right] : runs(columns))
            selection.select(table_.index(top, left), table_.index(bottom, right));

    int column = block.columns.isEmpty() ? currentIndex().column() : block.columns.first();
    if (column < 0 || isColumnHidden(column))
        column = columns.first();
    const QModelIndex first = table_.index(block.rows.first(), column);
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    scrollTo(first);
}

void Table_Grid::Make_Step(Table_Step step)
{
    if (step.Empty())
        return;
    if (Step_Made) {
        Step_Made(std::move(step));
        return;
    }
    Redo_Step(table_, step);
    Select_Block(step.selection);
}

void Table_Grid::Copy_Cells()
{
    const Cell_Block block = Selected_Block();
    if (block.Empty())
        return;
    QGuiApplication::clipboard()->setText(::Copy_Cells(table_, block.rows, block.columns));
}

void Table_Grid::Cut_Cells()
{
    const Cell_Block block = Selected_Block();
    if (block.Empty())
        return;
    QGuiApplication::clipboard()->setText(::Copy_Cells(table_, block.rows, block.columns));
    Table_Step step = Step_Of_Changes(table_, Plan_Clear(table_, block.rows, block.columns));
    step.selection = block;
    Make_Step(std::move(step));
}

void Table_Grid::Paste_Cells()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    const QList<QStringList> block = Parse_Clipboard(QGuiApplication::clipboard()->text());
    if (block.isEmpty())
        return;
    const Result<QList<Cell_Change>> plan = Plan_Paste(table_, current.row(), current.column(), block);
    if (!plan) {
        Message_Box::Error(this, plan.Problem());
        return;
    }
    // The whole block is selected, also the cells whose text stays.
    const Cell_Block pasted = Block_Of(plan.Value());
    Table_Step step = Step_Of_Changes(table_, plan.Value());
    step.selection = pasted;
    if (step.Empty())
        Select_Block(pasted);
    Make_Step(std::move(step));
}

void Table_Grid::keyPressEvent(QKeyEvent *event)
{
    // The view's own copy puts the current cell alone on the clipboard.
    if (event->matches(QKeySequence::Copy)) {
        Copy_Cells();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        Cut_Cells();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        Paste_Cells();
        event->accept();
        return;
    }
    // While a cell is edited, Enter reaches the grid as well; the move is
    // then made when the editor closes (closeEditor). Enter moves down, or
    // along the row with the jump setting on.
    if (Is_Enter(event) && !event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier)) {
        if (state() != QAbstractItemView::EditingState && !Enter_Key())
            Move(Cell_Move::Down);
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers keys = event->modifiers() & ~Qt::KeypadModifier;
    // Ctrl+Tab and Ctrl+Shift+Tab leave the grid, as the focus chain goes.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && keys.testFlag(Qt::ControlModifier)) {
        Leave(event->key() == Qt::Key_Tab && !keys.testFlag(Qt::ShiftModifier));
        event->accept();
        return;
    }
    if (state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_Delete && keys == Qt::NoModifier) {
            Clear_Cells();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_D && keys == Qt::ControlModifier) {
            Fill_Down();
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void Table_Grid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // An editor closed already (a choice in its open list, then the Enter
    // that chose it) moves nothing.
    if (!editor || !editor->isVisible()) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        return;
    }
    switch (hint) {
    case QAbstractItemDelegate::SubmitModelCache:
        // Enter, the only key that closes an editor with this hint: the
        // jump, else down.
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (!Enter_Key())
            Move(Cell_Move::Down);
        return;
    case QAbstractItemDelegate::EditNextItem:
    case QAbstractItemDelegate::EditPreviousItem:
        // Tab and Shift+Tab: the next cell, not yet edited (typing edits it).
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        Move(hint == QAbstractItemDelegate::EditNextItem ? Cell_Move::Next : Cell_Move::Previous);
        return;
    default:
        QTableView::closeEditor(editor, hint);
    }
}

void Table_Grid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && event->button() == Qt::LeftButton && Cell_Double_Click &&
        Cell_Double_Click(at.row(), at.column())) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void Table_Grid::Header_Double_Click(int column)
{
    const bool enabled = Auto_Size_Enabled && Auto_Size_Enabled();
    const QFontMetrics cells = fontMetrics();
    const QFontMetrics titles = horizontalHeader()->fontMetrics();
    // Titles are measured in the header's font as well as the grid's.
    const int width = Auto_Size_Column(
        table_, column, true, enabled,
        [&](const QString &text) { return std::max(titles.horizontalAdvance(text), cells.horizontalAdvance(text)); },
        12);
    if (width >= 0)
        setColumnWidth(column, width);
}
