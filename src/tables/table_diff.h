#pragma once

#include "tables/text_table.h"

#include <QStringList>

// The rows of a table that differ, as its grid shows them: one line a cell,
// "<row>, <column header>: before -> after", each cell as the grid shows it
// (the Eng. Unit's number and name, a check box "on" or "off", an empty
// cell "(empty)"); a row on one side only is one line, "<row>: inserted
// (<header>: <cell>; ...)" or "<row>: deleted (...)". `row_name` is the
// message that names a row from the table's caption and the number the grid
// gives it ("[%1] row %2").
//
// Rows are paired the way diff(1) pairs lines: the longest run of rows left
// as they were is kept, so that a row inserted near the top is one line, not
// a change in every row below it. A changed row is named by its number after
// the change, with its number before when that differs ("(was row 5)").
// Rows past the last that is not fresh count on neither side; columns the
// grid never shows are not compared.
QStringList Table_Differences(const Text_Table &before, const Text_Table &after, const QString &caption, int row_name);
