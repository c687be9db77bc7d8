#pragma once

#include "core/result.h"
#include "tables/text_table.h"

#include <QList>
#include <QString>
#include <QStringList>

// The grids' clipboard, as spreadsheets use it: blocks of cells as
// tab-separated lines. Rows and columns are the table's, from 0.

// The cells of `rows` x `columns` (the visible columns, in order) as a
// spreadsheet puts them on the clipboard: one line per row, cells separated
// by tabs, "\n" after every line; a cell holding a tab, a line break or a
// double quote is quoted ("..." with inner quotes doubled).
QString Copy_Cells(const Text_Table &table, const QList<int> &rows, const QList<int> &columns);

// A spreadsheet's clipboard text back to rows of cells: tabs between cells,
// CR LF or LF between rows, quoted cells; a final line break ends the last
// row (no empty row after it).
QList<QStringList> Parse_Clipboard(const QString &text);

// What pasting `block` with its top-left cell at (row, column) would set:
// the block fills the following visible columns (hidden columns skipped) and
// rows. Each text goes through its cell's rules and becomes the text the
// cell stores. Fails, changing nothing, with a message naming the cell (row
// as the grid numbers it, column header) and the refused text, or saying
// that the block does not fit.
Result<QList<Cell_Change>> Plan_Paste(const Text_Table &table, int row, int column, const QList<QStringList> &block);

// The text a cell of `column` stores when `text` is pasted into it, or why
// it refuses the text (the reason alone, without row and column). No cell
// takes a control character. Text cells keep the text exactly, blanks
// included, as typing does; the others read it without its outer blanks,
// and an empty text gives the fresh text (a check box: unticked):
//  - a drop-down list: one of its items, letter case ignored, spelt as the
//    item is; in a Data Type list also any other name of a type the list
//    offers (Object_Type_From_Any_Name: "Analog Output", "ANALOG_INPUT",
//    "Multistate Value", "AO", "MSV"), stored as the list's item; a type
//    the list does not offer is refused as any text that is no item;
//  - a check box: Y/N, 1/0, true/false, yes/no (and the Italian booleans),
//    any case, give "Y" or "N";
//  - Eng. Unit: a unit number (0 to 65535, as the object check takes it), a
//    unit's name in any case, or both as the grid shows them ("62
//    degrees-Celsius"), which must agree; the cell stores the number.
Result<QString> Paste_Cell_Text(const Column_Desc &column, const QString &text);

// The unit that `name` names: a unit's name as the catalogue or the picker
// spells it, letter case ignored; -1 when it names none.
int Unit_Named(QStringView name);
// `name` is the name of unit `number` (as `Unit_Named`; "unknown" for a
// number the catalogue does not name, as the picker shows it).
bool Unit_Name_Fits(QStringView name, int number);

// What cutting the cells clears them to: each cell's fresh text.
QList<Cell_Change> Plan_Clear(const Text_Table &table, const QList<int> &rows, const QList<int> &columns);

// What Ctrl+D (fill down) sets: every row of `rows` but the first takes,
// in `columns`, the text of the first row; a single row takes the text of
// the row above it (nothing for the first row of the table). `rows` in
// increasing order, as a selection gives them.
QList<Cell_Change> Plan_Fill_Down(const Text_Table &table, const QList<int> &rows, const QList<int> &columns);

// A cell's text as a message quotes it: control characters as their
// pictures, a long text cut with an ellipsis.
QString Shown_Cell_Text(const QString &text);
