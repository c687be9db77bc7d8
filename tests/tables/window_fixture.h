#pragma once

#include "configuration_fixture.h"
#include "table_fixture.h"
#include "tables/text_table.h"
#include "tables/ui/table_grid.h"
#include "window_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QTest>

// Helpers of the window suites: the user's clicks and keys on a grid (the
// configuration they open is test::Open_In's).
namespace test {

inline QPoint Cell_Centre(Table_Grid *grid, int row, int column)
{
    const QModelIndex at = grid->model()->index(row, column);
    grid->scrollTo(at);
    return grid->visualRect(at).center();
}

inline void Click_Cell(Table_Grid *grid, int row, int column)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Cell_Centre(grid, row, column));
}

// A click on the number of `row`, as the user selects whole rows (Shift
// extends the selection, Ctrl adds to it).
inline void Click_Row_Number(Table_Grid *grid, int row, Qt::KeyboardModifiers keys = {})
{
    QHeaderView *numbers = grid->verticalHeader();
    grid->scrollTo(grid->model()->index(row, 0));
    QTest::mouseClick(numbers->viewport(), Qt::LeftButton, keys,
                      QPoint(numbers->width() / 2, numbers->sectionViewportPosition(row) + 2));
}

// A key with Ctrl (and Shift), as the shortcuts of the grids are pressed.
inline void Ctrl_Key(QWidget *widget, Qt::Key key, bool shift = false)
{
    QTest::keyClick(widget, key, shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
}

inline void Double_Click_Cell(Table_Grid *grid, int row, int column)
{
    const QPoint at = Cell_Centre(grid, row, column);
    // A real double click: press and release, then the double click.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// A double click on the title of `column`, or on its right border.
inline void Double_Click_Header(Table_Grid *grid, int column, bool border = false)
{
    QHeaderView *header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(column) +
                  (border ? header->sectionSize(column) - 1 : header->sectionSize(column) / 2);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

// Types `text` into a cell as the user would: the first key opens the
// editor, Enter (or Tab when asked) ends the edit.
inline void Type_Into_Cell(Table_Grid *grid, int row, int column, const QString &text, Qt::Key end = Qt::Key_Return)
{
    grid->setFocus();
    grid->Set_Current(row, column);
    QTest::keyClicks(grid, text.left(1));
    QWidget *editor = grid->indexWidget(grid->currentIndex());
    QVERIFY(editor);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, end);
    QCoreApplication::processEvents(); // the delegate closes its editor by a queued call
}

// Opens the list of a drop-down editor and clicks the item `text`.
inline bool Choose_In_List(QComboBox *box, const QString &text)
{
    const int item = box->findText(text);
    if (item < 0)
        return false;
    box->showPopup();
    QAbstractItemView *list = box->view();
    const QModelIndex at = list->model()->index(item, 0);
    QCoreApplication::processEvents(); // the list lays out its items
    list->scrollTo(at);
    // The middle of the item's row, within the list's width.
    const QPoint point(list->viewport()->width() / 2, list->visualRect(at).center().y());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, point);
    QCoreApplication::processEvents();
    return true;
}

inline QModelIndex Current(Table_Grid *grid)
{
    return grid->currentIndex();
}

} // namespace test
