#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>

// How a data column is edited in its grid.
enum class Cell_Kind { Text, Check, Combo };

// One data column of a table: the attribute it is stored under, how it is
// edited and shown, and the text of a fresh cell.
struct Column_Desc
{
    const char *attribute = ""; // attribute name in the row document
    Cell_Kind kind = Cell_Kind::Text;
    int header_message = -1;    // column header, from the message table
    int hint_message = -1;      // column description, the tip of the header and cells; -1: none
    int width = 64;             // initial width in pixels
    unsigned colour = 0xFFFFFF; // background, 0xRRGGBB
    bool hidden = false;        // kept, moved and copied, but never shown
    QString fresh{};            // text of the cell in a fresh row
    QString missing{};          // text read when a row lacks the attribute
    QStringList items{};        // the items of a drop-down list
    // What a cell shows of its text (the Eng. Unit's name beside its
    // number); empty: the text itself. The cell keeps its text.
    std::function<QString(const QString &)> shown{};
    // The device keeps only this many characters of the cell's text (an
    // object's name); 0: no limit. A longer text shows where it is cut.
    int cut_at = 0;
};

// One cell's new text: the unit of a paste, a cut and their undo.
struct Cell_Change
{
    int row = 0;
    int column = 0;
    QString text;
};

// One cell's text before and after a change made through the view.
struct Cell_Edit
{
    int row = 0;
    int column = 0;
    QString before;
    QString after;
};

// A table of text cells: every cell holds its text exactly as typed or read.
// Rows and columns count from 0 and are data rows and data columns only; the
// grid's header row and number column are the model's headers.
//
// The table is itself the item model that a grid view shows, so a window
// never keeps a copy of the cells: every change made here, by the logic or by
// the view, is signalled to the views.
class Text_Table : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit Text_Table(QList<Column_Desc> columns, int rows = 0, QObject *parent = nullptr);

    int Row_Count() const { return rows_; }
    int Column_Count() const { return int(columns_.size()); }
    const Column_Desc &Column(int c) const { return columns_[c]; }
    // The number that row `r` shows in the number column, and by which
    // every message, tip, `check` and `map` names it: every grid counts its
    // rows from 1.
    static int Row_Number(int r) { return r + 1; }

    const QString &Cell(int r, int c) const { return cells_[Index(r, c)]; }
    void Set_Cell(int r, int c, const QString &text);
    // Sets many cells at once: one dataChanged per run of rows, and, like
    // every change made by the logic, no Cell_Edited.
    void Set_Cells(const QList<Cell_Change> &changes);
    QStringList Row(int r) const;
    // Puts `texts` into the cells of row `r`, column 0 first; they must be
    // as many as the columns.
    void Set_Row(int r, const QStringList &texts);

    // Resizes the table to `rows` fresh rows.
    void Reset(int rows);
    // Moves rows r + 1 .. last up by one; the last row becomes fresh.
    void Shift_Up(int r);
    // Moves rows r .. last - 1 down by one (the last row's content is lost);
    // row r becomes fresh.
    void Shift_Down(int r);

    // The items of a drop-down column, replaced (the list of positions
    // follows the size of the data area).
    void Set_Items(int c, const QStringList &items);
    // How many characters of column `c` the device keeps (0: no limit).
    void Set_Cut_At(int c, int length);

    // Called after the view changed a cell (an edit, a check box, a
    // drop-down choice); the logic's own changes do not call it.
    std::function<void(int row, int column)> Cell_Edited;
    // Called once after each change the view made, with every cell it
    // changed in the order they changed: the cell itself and what
    // Cell_Edited changed in turn (the Length a Data Type sets). Not called
    // when nothing changed.
    std::function<void(const QList<Cell_Edit> &edits)> Cells_Edited;

    // Tells the views that the message table changed (column headers).
    void Retranslate();

    // Rebuilding the whole table at once: one model reset, no per-cell signal.
    class Rebuild
    {
    public:
        Rebuild(Text_Table &table, int rows);
        ~Rebuild();
        Rebuild(const Rebuild &) = delete;
        Rebuild &operator=(const Rebuild &) = delete;
        void Put(int r, int c, QString text)
        {
            table_.Touch(r);
            table_.cells_[table_.Index(r, c)] = std::move(text);
        }

    private:
        Text_Table &table_;
    };

    // Item model.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    qsizetype Index(int r, int c) const { return qsizetype(r) * columns_.size() + c; }
    void Fill_Fresh(int first_row, int last_row);
    void Touch(int r) { touched_ = std::max(touched_, r + 1); }
    void Rows_Changed(int first_row, int last_row);
    // While the view changes a cell, every changed cell is noted here.
    void Note_Edit(int r, int c, const QString &before, const QString &after)
    {
        if (edits_)
            edits_->append({r, c, before, after});
    }

    QList<Column_Desc> columns_;
    QList<QString> cells_; // row after row
    int rows_ = 0;
    // Rows from this one on hold fresh texts: a rebuild, at every showing
    // of a window, refreshes only the rows above it (a table has up to
    // 2000 rows, a document mostly a few).
    int touched_ = 0;
    QList<Cell_Edit> *edits_ = nullptr;
};

// True when a check-box cell counts as ticked: "Y" once blanks are removed.
bool Is_Flag_Set(QStringView text);
