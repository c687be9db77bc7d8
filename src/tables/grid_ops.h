#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Text_Table;

// Rows and columns below are those of the table (data rows and data
// columns, from 0), as a view's current index gives them.

// A question (Yes/No) or an error (OK) that a row operation puts to the
// user. The logic asks through a `Grid_Asker`; a window shows a message box,
// a test answers directly.
struct Grid_Request
{
    enum class Kind { Question, Error };
    Kind kind;
    int message;  // its number in the message table
    QString text; // the composed text to show
};
// Returns true for Yes; the answer to an error is ignored.
using Grid_Asker = std::function<bool(const Grid_Request &)>;

// Which page's row `Row_Copy_Buffer` holds, since the window was shown.
class Copy_Flags
{
public:
    void Reset() { copied_[0] = copied_[1] = false; }
    // A row was copied on `page`: only that page may paste it.
    void Set_Copied(int page)
    {
        copied_[0] = page == 0;
        copied_[1] = page == 1;
    }
    bool Copied(int page) const { return page >= 0 && page < 2 && copied_[page]; }

    // The object window's names for its two pages.
    bool Do_Copy_Read() const { return copied_[0]; }
    bool Do_Copy_Write() const { return copied_[1]; }

private:
    bool copied_[2] = {false, false};
};

// Rows r + 1 and below move up one place; the last row becomes fresh. The
// numbers of the rows stay as they are.
void Delete_Grid_Row(int r, Text_Table &table);
// Rows r and below move down one place (the last row's content is lost,
// without a question); row r becomes fresh.
void Insert_Grid_Row(int r, Text_Table &table);
// Replaces the buffer with the cells of row r, hidden columns included.
void Copy_Grid_Row(const Text_Table &table, int r, QStringList &buffer);
// Pastes the buffer into row r: refused with Msg_Paste_Nothing_Copied when no
// row was copied on this page, with Msg_Paste_Wrong_Shape when the buffer
// has another shape; asks (Msg_Row_Overwrite) before overwriting a row in use. True when the row was pasted.
bool Paste_Grid_Row(Text_Table &table, int r, bool copied, const QStringList &buffer, const Grid_Asker &ask);

// A row counts as in use when a cell of a column other than a check box
// holds text other than blanks.
bool Row_In_Use(const Text_Table &table, int r);

// Many rows at once. `rows` are rows of the table, in increasing order,
// each once (as Rows_Acted_On gives them).

// The rows a row button acts on: those holding a selected cell, or the
// current row when no cell is selected; rows outside the table are left out.
QList<int> Rows_Acted_On(QList<int> selected_rows, int current_row, int row_count);
// Removes `rows`: the rows below move up to close the gaps, fresh rows fill
// the end. The numbers of the rows stay as they are.
void Delete_Grid_Rows(const QList<int> &rows, Text_Table &table);
// Inserts `count` fresh rows at row r: rows r and below move down `count`
// places, and the last `count` rows' contents are lost.
void Insert_Grid_Rows(int r, int count, Text_Table &table);
// The rows of the table that inserting `count` rows at r would push past its
// end while they are in use (Row_In_Use).
QList<int> Rows_Pushed_Out(const Text_Table &table, int r, int count);
// Replaces the buffer with the cells of `rows`, hidden columns included.
void Copy_Grid_Rows(const Text_Table &table, const QList<int> &rows, QList<QStringList> &buffer);
// Pastes the buffer's rows into rows r, r + 1, ...: refused with
// Msg_Paste_Nothing_Copied when no row was copied on this page, with
// Msg_Paste_Wrong_Shape when a row has another shape, with
// Msg_Rows_Do_Not_Fit when they would run past the last row; asks
// (Msg_Row_Overwrite) once before
// overwriting rows in use. True when the rows were pasted.
bool Paste_Grid_Rows(Text_Table &table, int r, bool copied, const QList<QStringList> &buffer, const Grid_Asker &ask);

// The row buttons of a table window, on the rows Rows_Acted_On gives. Each
// does nothing without a row.
// Delete Row asks first, once: Msg_Delete_Row_Number for one row,
// Msg_Delete_Rows for more.
bool Delete_Rows(Text_Table &table, const QList<int> &rows, const Grid_Asker &ask);
// Insert Row inserts as many fresh rows as `rows` holds, at the first; it
// asks (Msg_Rows_Pushed_Out) before rows in use would be pushed past the end of the table.
bool Insert_Rows(Text_Table &table, const QList<int> &rows, const Grid_Asker &ask);
void Copy_Rows(const Text_Table &table, int page, const QList<int> &rows, QList<QStringList> &buffer,
               Copy_Flags &flags);
// Paste Row pastes the buffer from row r down.
bool Paste_Rows(Text_Table &table, int page, int r, const QList<QStringList> &buffer, const Copy_Flags &flags,
                const Grid_Asker &ask);

// The current cell of a grid.
struct Grid_Cell
{
    int row = -1;
    int column = -1;
    bool operator==(const Grid_Cell &) const = default;
};

struct Jump_Result
{
    bool consumed = false; // the key has no further effect
    Grid_Cell next;        // the current cell after the key
};

inline constexpr char16_t Key_Enter = 13;

// Enter moves to the next visible column, and from the last visible column
// to the first visible column of the next row, or of the first row from the
// last row. Only with the jump setting on; other keys pass on unchanged.
// `hidden` tells, per column, whether the grid hides it.
Jump_Result Jump_Next_Cell(Grid_Cell current, char16_t key, const QList<bool> &hidden, int row_count, bool enable_jump);
// The same with the table's own hidden columns.
Jump_Result Jump_Next_Cell(const Text_Table &table, Grid_Cell current, char16_t key, bool enable_jump);

// The keys that move the current cell, as spreadsheets move it.
enum class Cell_Move {
    Next,       // Tab: the next visible column, on to the first of the next row
    Previous,   // Shift+Tab: the previous visible column, back to the last of the row before
    Down,       // Enter (without the jump): the same column of the next row
    Row_First,  // Home: the row's first visible column
    Row_Last,   // End
    Grid_First, // Ctrl+Home: the first row's first visible column
    Grid_Last,  // Ctrl+End: the last row's last visible column
};
// Where `move` takes the current cell. Hidden columns are never visited;
// the moves stop at the grid's first and last cells (Tab in the last cell
// and Enter in the last row stay where they are). Without a current cell
// every move goes to the first cell.
Grid_Cell Move_Cell(Grid_Cell current, Cell_Move move, const QList<bool> &hidden, int row_count);
// The same with the table's own hidden columns.
Grid_Cell Move_Cell(const Text_Table &table, Grid_Cell current, Cell_Move move);

// The width a double click on a column's header gives it: the widest of the
// header and the cells, by `text_width`, plus `padding`. -1 (no change)
// unless the auto-size setting is on and the header was clicked: a double
// click on a data cell never resizes.
using Text_Width = std::function<int(const QString &)>;
int Auto_Size_Column(const Text_Table &table, int column, bool header_clicked, bool double_click_auto_size,
                     const Text_Width &text_width, int padding = 8);
