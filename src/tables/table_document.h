#pragma once

#include "core/problems.h"
#include "core/result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <pugixml.hpp>

class Text_Table;
class Xml_Document;

// What loading a table window's documents found that the user must be told
// before anything can be saved. The window shows `Warnings` one by one, in
// order; the check command prints them.
struct Load_Report
{
    QString Document_Problem;  // the table document is damaged (file, line, column, reason)
    QString ParGen_Problem;    // "ParGen.xml" is damaged
    QList<int> Rows_Not_Shown; // per table: rows of the document beyond the table's size
    QList<int> Rows_Not_Saved; // per table: loaded rows from the first one that ends the table
    QStringList Warnings;      // composed messages

    bool Rows_At_Risk() const;
};

// The group element `name` under the root of a table document. A document
// that was read but lacks the group is told in `report` like a damaged one
// (Msg_Table_Group_Missing, and Msg_Table_Group_Starts_Empty with the table's `caption` for the window): the
// table starts empty, and the check fails, where the compiler would take the
// group for an empty table. A missing file is no fault (empty tables); a
// damaged one is reported already.
pugi::xml_node Table_Group(const Xml_Document &doc, const QString &path, const char *name, const QString &caption,
                           Load_Report &report);

// Resets the table to `rows` fresh rows and fills it from the child nodes of
// `group`, taken by position whatever their names, each attribute by itself;
// a missing attribute gives the column's `missing` text, a missing group an
// empty table. Returns the number of rows the group holds, those beyond the
// table's size included.
int Load_Group(Text_Table &table, pugi::xml_node group, int rows);

// The number of rules of a table: its rows down to, not including, the first
// whose `key_column` text is empty once blanks are removed.
int End_Of_Table(const Text_Table &table, int key_column);

// Refuses to save a table that would lose text: when a row from the one
// that ends the table (`End_Of_Table`) on holds text in a column other than
// a check box, the failure (Msg_Rows_Would_Be_Lost) names that row as the grid numbers
// it, the table (`caption`), the key column and how many of those rows hold
// text, and points at the row's empty key cell on `page`.
Problem_List Check_Table_End(const Text_Table &table, int page, int key_column, const QString &caption);

// OK of a table window: the tables' check before saving, then the write of
// their document; the first failure is returned (a failed write names no
// cell), nothing written on a check's.
template <class Tables> Problem_List Check_And_Save(const Tables &tables, const QString &path)
{
    Problem_List check = tables.Check_Before_Save();
    if (!check)
        return check;
    const Result<> saved = tables.Save(path);
    if (!saved)
        return Problem{.Text = saved.Problem()};
    return {};
}

// Appends the element `name` under `root` with one `row` per rule of the
// table, every attribute in column order; an empty table gives an empty
// element.
void Save_Group(pugi::xml_node root, const char *name, const Text_Table &table, int key_column);

// Adds to `report` what loading `table` from a group of `group_rows` rows
// puts at risk: rows that did not fit (Msg_Rows_Not_Shown) and loaded rows from
// the first that ends the table (Msg_Rows_Not_Saved). `caption` names the table.
void Note_Rows_At_Risk(Load_Report &report, const Text_Table &table, int group_rows, int key_column,
                       const QString &caption);
