#pragma once

#include "tables/table_document.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class BACnet_Slave_Set_Access;
class LoRa_Set_Access;
class Text_Table;

// One thing wrong in a table window, at its cell: an error refuses OK (the
// text is the one OK would show were it the first), a warning refuses
// nothing.
struct Live_Problem
{
    bool Warning = false;
    QString Text;
    int Page = -1;
    int Row = -1;
    int Column = -1;
};

// What the object window finds wrong, by cell: every failure of the OK
// check (the objects over the limit on the Data Type of the first one
// beyond it), the rows the end of a table would drop (on the empty Data
// Type that ends it), and as warnings the overlapping objects and the
// objects whose name is empty or shared.
QList<Live_Problem> Object_Live_Problems(const BACnet_Slave_Set_Access &objects);
// The same for the rule window: the failures of its OK check, the rows the
// end of a table would drop, and as warnings the overlapping rules.
QList<Live_Problem> Rule_Live_Problems(const LoRa_Set_Access &rules);

// The problems of a two-page table window, kept up to date while the user
// edits: every change the tables signal marks them stale, and one zero-time
// call later (a paste of 2000 rows changes many cells in one burst) they are
// found again, once, with the `find` given. Flush finds them at once when
// they are stale, so that a paint never shows old marks.
//
// The problems are kept in grid order (page, row, column; errors first in a
// cell) with a hash from cell to its mark, so that drawing a cell costs one
// look-up.
class Live_Problems : public QObject
{
    Q_OBJECT

public:
    using Finder = std::function<QList<Live_Problem>()>;

    // Watches the tables of both pages; `find` runs over their current cells.
    Live_Problems(const Text_Table *first, const Text_Table *second, Finder find, QObject *parent = nullptr);

    // What a marked cell shows: the worst of its problems, and their texts
    // one a line as its tip.
    struct Mark
    {
        bool Warning = false;
        QString Tip;
        bool operator==(const Mark &) const = default;
    };

    // Finds the problems again at the next turn of the event loop (the
    // tables changed, or the language).
    void Invalidate();
    // Finds them now if they are stale.
    void Flush();

    const QList<Live_Problem> &All() const { return problems_; }
    int Errors() const { return errors_; }
    int Warnings() const { return int(problems_.size()) - errors_; }
    // The mark of a cell; nullptr when it has no problem.
    const Mark *Mark_At(int page, int row, int column) const;
    // The first problem after the cell (page, row, column) in grid order,
    // going round to the first; nullptr when there is none. A cell with no
    // place (page -1) starts before the first.
    const Live_Problem *Next_After(int page, int row, int column) const;
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

private:
    static quint64 Key(int page, int row, int column)
    {
        return (quint64(quint32(page)) << 48) | (quint64(quint32(row)) << 16) | quint64(quint16(column));
    }
    void Find_Now();

    Finder find_;
    QList<Live_Problem> problems_;
    QHash<quint64, Mark> marks_;
    QList<Cell> changed_;
    int errors_ = 0;
    int findings_ = 0;
    bool stale_ = false;
};
