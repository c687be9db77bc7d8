#pragma once

#include "tables/table_document.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class BACnet_Slave_Set_Access;
class LoRa_Set_Access;
class Text_Table;

// What the object window finds wrong, by cell: every failure of the OK
// check (the objects over the limit on the Data Type of the first one
// beyond it), the rows the end of a table would drop (on the empty Data
// Type that ends it), and as warnings the overlapping objects and the
// objects whose name is empty or shared.
Problem_List Object_Live_Problems(const BACnet_Slave_Set_Access &objects);
// The same for the rule window: the failures of its OK check, the rows the
// end of a table would drop, and as warnings the overlapping rules.
Problem_List Rule_Live_Problems(const LoRa_Set_Access &rules);

// How a cell is marked: the worst of its problems.
enum class Mark_Level : quint8 { None, Warning, Error };

// The problems of a two-page table window, kept up to date while the user
// edits: every change the tables signal marks them stale, and they are found
// again, once, with the `find` given, when the event loop has sent what is
// waiting (a paste of 2000 rows changes many cells in one burst), after the
// views have drawn the change: what the user typed shows at once, its marks
// a moment later. A new document (a model reset) takes the old marks away
// at once. Flush finds them at once when they are stale.
//
// The problems are kept in grid order (page, row, column; errors first in a
// cell) with a level for every cell, so that drawing a cell costs one look-up
// and a finding tells which cells' marks changed.
//
// The last findings are kept with the cells they were found over: when the
// cells come back to one of them (an undo, a redo, an edit undone by hand)
// its problems are taken again instead of being found anew. Anything else
// the problems depend on (the language) goes through Invalidate, which
// forgets them, as does a new document.
class Live_Problems : public QObject
{
    Q_OBJECT

public:
    using Finder = std::function<Problem_List()>;

    // Watches the tables of both pages; `find` runs over their current cells.
    Live_Problems(const Text_Table *first, const Text_Table *second, Finder find, QObject *parent = nullptr);

    // Finds the problems again once the event loop has sent what waits,
    // forgetting the findings kept: something besides the cells changed (the
    // language). A change of the cells needs no call.
    void Invalidate();
    // Finds them now if they are stale.
    void Flush();

    const QList<Problem> &All() const { return problems_; }
    int Errors() const { return errors_; }
    int Warnings() const { return int(problems_.size()) - errors_; }
    // A cell's mark.
    Mark_Level Level_At(int page, int row, int column) const;
    // A marked cell's tip: the texts of its problems, one a line; empty for
    // a cell without problems.
    QString Tip_At(int page, int row, int column) const;
    // The first problem after the cell (page, row, column) in grid order,
    // going round to the first; nullptr when there is none. A cell with no
    // place (page -1) starts before the first.
    const Problem *Next_After(int page, int row, int column) const;
    // The cells whose mark the last finding changed, as (page, row, column).
    struct Cell
    {
        int Page;
        int Row;
        int Column;
    };
    const QList<Cell> &Changed_Cells() const { return changed_; }
    // How many times the problems were found (a burst of changes is one).
    int Findings() const { return findings_; }

signals:
    // The problems were found again; Changed_Cells says which marks moved.
    void Changed();

protected:
    bool event(QEvent *event) override;

private:
    // Every cell of a page, row after row: the index of its first problem
    // in `problems_` (-1: none) and its level.
    struct Page_Marks
    {
        int columns = 0;
        std::vector<int> first;
        std::vector<Mark_Level> level;
        qsizetype At(int row, int column) const { return qsizetype(row) * columns + column; }
        bool Holds(int row, int column) const
        {
            return row >= 0 && column >= 0 && column < columns && At(row, column) < qsizetype(first.size());
        }
    };
    // The problems over the cells as they were at one finding.
    struct Finding
    {
        QList<QString> cells[2]; // each page's, row after row (the texts shared)
        QList<Problem> problems; // in grid order
        int errors = 0;
    };
    static constexpr int Findings_Kept = 2;

    void Cells_Changed();
    void Find_Now();
    void Forget_Marks();

    const Text_Table *tables_[2];
    Finder find_;
    QList<Problem> problems_; // in grid order
    QList<Finding> kept_;     // the latest first
    Page_Marks marks_[2];
    QList<Cell> changed_;
    int errors_ = 0;
    int findings_ = 0;
    bool stale_ = false;
    bool waited_ = false; // the finding went once round the event loop
};
