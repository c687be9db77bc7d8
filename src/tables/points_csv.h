#pragma once

#include "tables/text_table.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

// The most a points list may hold: both tables full (2000 objects and every
// rule) are well under 1 MB; a larger file is refused before it is read.
inline constexpr qint64 Points_File_Size_Limit = 4 * 1024 * 1024;

class BACnet_Slave_Set_Access;
class LoRa_Set_Access;

// Points lists: the two tables of the object window, or of the rule window,
// as one CSV file that a spreadsheet opens. Each line is a row of either
// table, named in the first column; the other columns are the grids'
// columns (the unit's name beside Eng. Unit in an object list).

// One table of a points list.
struct Points_Table
{
    const char *Name; // what the first column says: "Read", "Write", "Uplink", "Downlink"; never translated
    const Text_Table *Table;
    int Key_Column; // the column whose empty text ends the table
};

using Points_Tables = std::array<Points_Table, 2>;

Points_Tables Points_Of(const BACnet_Slave_Set_Access &objects);
Points_Tables Points_Of(const LoRa_Set_Access &rules);

// The CSV file of both tables (RFC 4180, UTF-8 with a byte-order mark, CR
// LF): a header line with the English column names, then one line per row
// that the document holds (the rows before the first with an empty key
// column), the first table's rows first. A column that a table lacks (the
// uplink triggers on a downlink line) stays empty; the unit name is that of
// the number as the grid shows it, else empty.
QByteArray Export_Points(const Points_Tables &tables);

enum class Import_Mode { Replace, Append };

// A line of the file that cannot go in: its number (from 1, as an editor
// counts lines), the column as the header line names it (quoted) or its
// number, and why.
struct Bad_Line
{
    int Line = 0;
    QString Column;
    QString Reason;

    QString Text() const;
};

// What importing a file does to the two tables, or why it cannot.
struct Points_Import
{
    // Per table: the cells to set, in row order, only those that change.
    std::array<QList<Cell_Change>, 2> Changes;
    // Per table: the rows that take the file's lines.
    std::array<QList<int>, 2> Rows;
    // Per table: the file's line of each of those rows.
    std::array<QList<int>, 2> Lines;
    // Every line that is wrong, in line order; while there is one, nothing
    // may change.
    QList<Bad_Line> Bad_Lines;

    bool Ok() const { return Bad_Lines.isEmpty(); }
    // The refusal: Msg_Points_Not_Imported naming `file`, then one bad line a line; at
    // most `most` of them when it is not negative, then how many more.
    QString Problem(const QString &file, int most = -1) const;
};

// Reads a points list (as Export_Points writes it, or as a spreadsheet saves
// it: comma, semicolon or tab separated, UTF-8 with or without a byte-order
// mark, else windows-1252). Columns are found by their header names, in
// English or in the language of the message table, letter case and outer
// blanks ignored; every column but the first and the key columns may be
// left out (its cells take what a fresh row holds). The unit name, when
// given, must name the Eng. Unit's number, or gives the number when Eng.
// Unit is empty. Every field goes through its cell's rules, as a paste does
// (Paste_Cell_Text). Lines whose fields are all blank are skipped.
//
// Replace: the file's rows become the tables' rows, every row after them
// fresh. Append: the file's rows follow the last row each table holds.
// Refused, with every bad line, when a header name is unknown, given twice
// or missing, when a line names no table of the list, has a field beyond
// the header, a field its cell refuses, a value in a column its table lacks
// or an empty key, or when a table's rows would not fit.
Points_Import Import_Points(const Points_Tables &tables, const QByteArray &bytes, Import_Mode mode);

// A file name for an export as a dialog gave it: ".csv" added unless it
// ends in it (any letter case).
QString Points_File_Name(const QString &chosen);
