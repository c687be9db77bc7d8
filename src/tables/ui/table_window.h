#pragma once

#include "tables/grid_ops.h"
#include "tables/live_problems.h"
#include "tables/points_csv.h"
#include "tables/table_document.h"
#include "tables/table_history.h"
#include "widgets/lang_window.h"
#include "workspace/document_guard.h"

#include <QDialog>

class QAction;
class QLabel;
class QPushButton;
class QTabWidget;
class QUndoStack;
class Problems_Bar;
class Data_Map_Window;
class Table_Grid;
class Text_Table;
struct Data_Map;
struct Workspace;

// What the two table windows share: the title panel, a page control with
// one grid per table, the button panel (OK, Cancel and the four row
// buttons), the load on showing with its warnings, and OK with its check.
// Beside the pages, Export… and Import… move both tables to and from a
// points list (a CSV file). The tables and their documents belong to the
// window's logic object.
//
// Every change the user makes in the grids (a cell edited, a paste, a cut, a
// row button) is a step of the window's history, undone with Ctrl+Z and
// redone with Ctrl+Shift+Z or Ctrl+Y while the window is open; a new showing
// starts a new history. Cancel and the close box ask before changes are
// discarded; Escape does nothing.
//
// While the user edits, every cell that fails a check or draws a warning is
// marked (Live_Problems), and a line under the grid counts them; F8 and the
// line's button show the next one, across both pages. Warnings never refuse
// OK; OK still shows the first failure alone. The line's note shows the
// problems of the current cell (so the one F8 went to) and why a typed text
// was refused.
//
// The grids keep the keyboard: Tab and Shift+Tab go from cell to cell,
// Ctrl+Tab leaves the grid. Escape ends an open edit only.
class Table_Window : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    // The window's texts: numbers of its first button caption and hint,
    // its first page caption, and the two number-column titles.
    struct Texts
    {
        int title;
        int desc;
        int first_caption; // OK, Cancel, Delete, Insert, Copy, Paste
        int first_hint;
        int first_page;
        int number_titles[2];
        // Buttons (index in the order above) whose hint shows as a tip.
        QList<int> shown_hints;
    };

    ~Table_Window() override;

    void Set_Lang() override;

    Table_Grid *Grid(int page) const { return grids_[page]; }
    // The page shown: the row buttons act on its grid.
    int Current_Page() const;
    // Which page's row `Row_Copy_Buffer` holds since the window was shown.
    const Copy_Flags &Copy() const { return copy_; }
    // What the last showing found in the documents.
    const Load_Report &Report() const { return report_; }

    // The showing: loads the documents, shows the first page, forgets the
    // copied row's page and shows the load's warnings one by one.
    void FormShow();
    // OK: the check (rows that the end of a table would drop included),
    // the window's warnings, then the write. On a failure its text is shown,
    // the failing cell made current and the window stays open; a warning
    // answered No leaves it open as well.
    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    // Export…: both tables as the grids hold them, to a CSV file chosen in a
    // save dialog (".csv" added); an existing file is replaced after a
    // question (Msg_File_Overwrite).
    void Btn_ExportClick();
    // Import…: a CSV file chosen in an open dialog, then the question
    // replace or append (Msg_Points_Replace_Or_Append). Every cell of the file goes through its
    // cell's rules; a file with a bad line changes nothing and its bad lines
    // are shown. What the import changes in both tables is one step of the
    // history.
    void Btn_ImportClick();
    // Data Map: the map window over the tables as the grids hold them (the
    // other window's document as saved), drawn again at every change of the
    // history; a click on a byte of this window's tables selects its row.
    void Btn_MapClick();
    Data_Map_Window *Map_Window() const { return map_window_; }

    // The window's history of changes, both pages in one.
    QUndoStack *History() const { return history_; }
    // Something changed since the window was shown (undone changes do not count).
    bool Changed() const;
    // Undo and redo the last step: its page is shown, its cells selected.
    void Undo();
    void Redo();
    // Applies a change to the table of `page` as one step of the history.
    void Make_Step(int page, Table_Step step);
    // Applies changes to both tables as one step of the history (the
    // change of page 0, then that of page 1).
    void Make_Steps(Table_Step first, Table_Step second);

    // The problems the grids mark and the line counts.
    Live_Problems *Problems() const { return problems_; }
    // F8 and the line's button: the first problem after the current cell, in
    // grid order across both pages and round to the first, made current.
    void Next_Problem();

    // Cancel and the close box: when something changed, asks (Msg_Discard_Changes) first;
    // No keeps the window open.
    void reject() override;

    QAction *Act_Undo = nullptr;
    QAction *Act_Redo = nullptr;
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QPushButton *Btn_OK;
    QPushButton *Btn_Cancel;
    QPushButton *Btn_DelRow;
    QPushButton *Btn_InsRow;
    QPushButton *Btn_CopyRow;
    QPushButton *Btn_PasteRow;
    Problems_Bar *P_Problems = nullptr;
    QPushButton *Btn_Export;
    QPushButton *Btn_Import;
    QPushButton *Btn_Map;
    // The most bad lines of an import that its error box lists.
    static constexpr int Bad_Lines_Shown = 15;

protected:
    Table_Window(Workspace &ws, Texts texts, QWidget *parent);

    // Builds the window around the page control and its two pages; the tab
    // order puts the pages first or after the buttons.
    void Build(QTabWidget *pages, QWidget *first_page, QWidget *second_page, bool pages_first);
    // The problems of the window's tables, found by `find`: before Set_Grids.
    void Watch_Problems(Live_Problems::Finder find);
    void Set_Grids(Table_Grid *first, Table_Grid *second);
    // A page of the page control holding `grid` alone.
    static QWidget *Page_Holding(Table_Grid *grid, const char *name);
    // The size the window opens at: `width` wide and tall enough for the
    // grids to show Rows_Shown rows; the user may make it larger.
    static constexpr int Rows_Shown = 20;
    void Set_Opening_Size(int width);

    virtual Text_Table &Table(int page) = 0;
    virtual Load_Report Load_Documents() = 0;
    // What OK refuses before anything is written.
    virtual Problem_List Check_Documents() = 0;
    // What OK only warns of, asked after the check: false to stay in the grid.
    virtual bool Warnings_Accepted() { return true; }
    virtual Result<> Save_Documents() = 0;
    // The two tables as a points list, and the name its export offers.
    virtual Points_Tables Points() const = 0;
    virtual QString Points_File() const = 0;
    // The data-area map of this window's tables and the other document.
    virtual Data_Map Map_Of_Tables() const = 0;
    // The map's rows this window's grids hold: rules (else objects), and
    // the column made current when one is chosen.
    virtual bool Holds_Rules() const = 0;
    virtual int Position_Column() const = 0;

    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    Workspace &ws_;

private:
    friend class Table_Command;

    Grid_Asker Asker();
    // False when a cell refused what was typed into it (its editor stays open).
    bool Commit_Edits();
    // The status line: the problems of the current cell of the page shown.
    void Show_Cell_Problems();
    // Keeps a step that was already applied to the table of `page`.
    void Keep_Step(int page, Table_Step step);
    // Shows a step of the history undone or redone.
    void Replay(int page, const Table_Step &step, bool undo);

    Texts texts_;
    QWidget *P_Title = nullptr;
    QWidget *P_Button = nullptr;
    QTabWidget *pages_ = nullptr;
    Table_Grid *grids_[2] = {nullptr, nullptr};
    Copy_Flags copy_;
    Load_Report report_;
    Document_Guard document_; // the document OK saves, as the window read it
    QUndoStack *history_ = nullptr;
    Live_Problems *problems_ = nullptr;
    // A grid's note (a refusal) stays over the move to another cell that
    // follows it in the same turn of the event loop (the click that ends the edit).
    bool note_held_ = false;
    Data_Map_Window *map_window_ = nullptr;
    QMetaObject::Connection map_follows_;
};
