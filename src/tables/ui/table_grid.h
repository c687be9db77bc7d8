#pragma once

#include "tables/grid_ops.h"
#include "tables/table_history.h"

#include <QTableView>
#include <functional>

class Live_Problems;
class Text_Table;

// A grid over a table of text cells: the table itself is the model, so the
// grid holds no copy of the cells. The fixed first column is the vertical
// header with the row numbers (its title in the corner); each data column
// takes its width, colour, editor and visibility from the table's columns.
// Cells can be range-selected; a click on a row number selects the row.
//
// The keyboard stays in the grid, as in a spreadsheet (Move_Cell decides
// where each key goes): Tab and Shift+Tab go from cell to cell and on to
// the next or previous row, also out of an open editor (its text put in
// first); Ctrl+Tab and Ctrl+Shift+Tab leave the grid along the window's tab
// order. Enter puts an edit in and moves down (along the row with the jump
// setting); F2 edits; Escape ends an edit, the cell as it was; Home and End
// go to the row's first and last cells, with Ctrl to the grid's. Delete
// empties the selected cells and Ctrl+D fills the selection down from its
// top row, each as one step.
//
// The object grids add three behaviours, each given as a function so that
// the grid reads the settings at the moment they matter; the rule grids
// leave them empty and have none.
class Table_Grid : public QTableView
{
    Q_OBJECT

public:
    explicit Table_Grid(Text_Table &table, QWidget *parent = nullptr);

    Text_Table &Table() const { return table_; }

    // The current cell's row, -1 when the grid has no current cell.
    int Current_Row() const;
    void Set_Current(int row, int column);
    // A cell's editor is open.
    bool Editing() const { return state() == QAbstractItemView::EditingState; }
    // Puts the text of an open editor into its cell and closes the editor,
    // so that a button acts on what the user typed. False when the cell
    // refuses the text: the editor stays open and Note tells why.
    bool Commit_Edit();
    // Closes an open editor, its cell as it was.
    void Cancel_Edit();
    // The title of the number column, from the message table.
    void Set_Number_Title(int message);
    // The background of the number column and its title: the window's colour.
    void Set_Number_Colour(const QColor &colour);
    // Widths and hidden columns as the table's columns give them.
    void Apply_Columns();

    // Enter moves to the next cell (the jump setting).
    std::function<bool()> Jump_Enabled;
    // A double click on a column's header fits its width (the auto-size setting).
    std::function<bool()> Auto_Size_Enabled;
    // A double click on a data cell; true when it was handled and no editor
    // should open.
    std::function<bool(int row, int column)> Cell_Double_Click;

    // The rows a row button acts on: those holding a selected cell, or the
    // current row when none is selected.
    QList<int> Rows_Acted_On() const;
    // The selected cells as a block: the rows and the visible columns that
    // hold a selected cell (the current cell when none is selected).
    Cell_Block Selected_Block() const;
    // Selects `block` and makes its first cell current (the first column
    // shown, or the current column, when whole rows are selected).
    void Select_Block(const Cell_Block &block);

    // The clipboard, as spreadsheets use it (Ctrl+C, Ctrl+X, Ctrl+V).
    // Copy: the selected block as tab-separated lines.
    void Copy_Cells();
    // Cut: the copy, then the cells emptied, as one step.
    void Cut_Cells();
    // Paste: the clipboard's block at the current cell, as one step that
    // selects it; a block that cannot go in whole changes nothing and its
    // reason is shown.
    void Paste_Cells();
    // A change that the grid makes (cut, paste), not yet applied: the window
    // applies it as a step of its history. Without it the grid applies the
    // change itself.
    std::function<void(Table_Step step)> Step_Made;

    // The problems whose marks the grid shows (those of `page`): the cells
    // whose mark changes are drawn again as the problems are found again.
    void Set_Problems(Live_Problems *problems, int page);

    // Enter: the jump, when the setting is on. True when the key was consumed.
    bool Enter_Key();
    // Makes the cell that `move` reaches from the current one current.
    void Move(Cell_Move move);
    // Delete: the selected cells take their fresh texts, as one step.
    void Clear_Cells();
    // Ctrl+D: the selected block filled down from its top row (a single row
    // from the row above), as one step.
    void Fill_Down();
    // A double click on the header of `column`.
    void Header_Double_Click(int column);

signals:
    // A text to show where the user looks (why a typed text was refused).
    void Note(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    // Tab and Shift+Tab move between the cells; Ctrl+Tab leaves the grid.
    bool focusNextPrevChild(bool next) override;
    // Tab, Shift+Tab, Down (and Enter), Home and End, with Ctrl to the
    // grid's ends: as Move_Cell says.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Jump_On() const { return Jump_Enabled && Jump_Enabled(); }
    void Make_Step(Table_Step step);
    void Leave(bool forward);
    void Problems_Changed();

    Text_Table &table_;
    QWidget *corner_ = nullptr;
    int number_title_ = -1;
    Live_Problems *problems_ = nullptr;
    int page_ = 0;
};
