#include "tables/ui/table_window.h"

#include "core/file_io.h"
#include "core/messages.h"
#include "tables/table_messages.h"
#include "tables/text_table.h"
#include "tables/ui/data_map_window.h"
#include "tables/ui/table_grid.h"
#include "widgets/dialog_frame.h"
#include "widgets/file_dialog.h"
#include "widgets/guarded_save.h"
#include "widgets/message_box.h"
#include "widgets/problems_bar.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

// One step of a table window's history.
class Table_Command : public QUndoCommand
{
public:
    // `applied`: the table already shows the step (an edit made in the
    // view, a row button), so the first redo, made by pushing, does nothing.
    Table_Command(Table_Window *window, int page, Table_Step step, bool applied, QUndoCommand *parent = nullptr)
        : QUndoCommand(parent)
        , window_(window)
        , page_(page)
        , step_(std::move(step))
        , applied_(applied)
    {}

    void undo() override { window_->Replay(page_, step_, true); }
    void redo() override
    {
        if (std::exchange(applied_, false))
            return;
        window_->Replay(page_, step_, false);
    }

private:
    Table_Window *window_;
    int page_;
    Table_Step step_;
    bool applied_;
};

Table_Window::Table_Window(Workspace &ws, Texts texts, QWidget *parent)
    : QDialog(parent)
    , ws_(ws)
    , texts_(std::move(texts))
{
    Apply_Window_Style(this);
    const Title_Panel title = Make_Title_Panel(this, ws.SW_Code);
    P_Title = title.panel;
    L_SW_Code = title.labels.code;
    L_SW_Desc = title.labels.desc;

    P_Problems = new Problems_Bar(this);
    connect(P_Problems, &Problems_Bar::Next, this, &Table_Window::Next_Problem);

    P_Button = Make_Button_Panel(this);
    const auto make_button = [this](const char *name) {
        auto *button = new QPushButton(P_Button);
        button->setObjectName(QLatin1StringView(name));
        button->setFixedSize(110, 28);
        // Enter belongs to the grids: no button takes it as a default.
        button->setAutoDefault(false);
        return button;
    };
    Btn_OK = make_button("Btn_OK");
    Btn_Cancel = make_button("Btn_Cancel");
    Btn_DelRow = make_button("Btn_DelRow");
    Btn_InsRow = make_button("Btn_InsRow");
    Btn_CopyRow = make_button("Btn_CopyRow");
    Btn_PasteRow = make_button("Btn_PasteRow");
    connect(Btn_OK, &QPushButton::clicked, this, &Table_Window::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Btn_DelRow, &QPushButton::clicked, this, &Table_Window::Btn_DelRowClick);
    connect(Btn_InsRow, &QPushButton::clicked, this, &Table_Window::Btn_InsRowClick);
    connect(Btn_CopyRow, &QPushButton::clicked, this, &Table_Window::Btn_CopyRowClick);
    connect(Btn_PasteRow, &QPushButton::clicked, this, &Table_Window::Btn_PasteRowClick);
    // Beside the pages, since they act on both tables: the button row has
    // no room left at the windows' widths.
    Btn_Export = make_button("Btn_Export");
    Btn_Import = make_button("Btn_Import");
    Btn_Map = make_button("Btn_Map");
    for (QPushButton *button : {Btn_Export, Btn_Import, Btn_Map})
        button->setFixedSize(90, 24);
    connect(Btn_Map, &QPushButton::clicked, this, &Table_Window::Btn_MapClick);
    connect(Btn_Export, &QPushButton::clicked, this, &Table_Window::Btn_ExportClick);
    connect(Btn_Import, &QPushButton::clicked, this, &Table_Window::Btn_ImportClick);

    // The row buttons on the left, OK and Cancel on the right.
    auto *buttons = new QHBoxLayout(P_Button);
    buttons->setContentsMargins(8, 6, 8, 6);
    buttons->setSpacing(6);
    for (QPushButton *button : {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(Btn_OK);
    buttons->addWidget(Btn_Cancel);

    history_ = new QUndoStack(this);
    Act_Undo = new QAction(this);
    Act_Undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Act_Redo = new QAction(this);
    Act_Redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(Act_Undo, &QAction::triggered, this, &Table_Window::Undo);
    connect(Act_Redo, &QAction::triggered, this, &Table_Window::Redo);
    addActions({Act_Undo, Act_Redo});
}

void Table_Window::Build(QTabWidget *pages, QWidget *first_page, QWidget *second_page, bool pages_first)
{
    pages_ = pages;
    pages_->addTab(first_page, QString());
    pages_->addTab(second_page, QString());
    connect(pages_, &QTabWidget::currentChanged, this, &Table_Window::Show_Cell_Problems);
    auto *corner = new QWidget(pages_);
    auto *corner_row = new QHBoxLayout(corner);
    corner_row->setContentsMargins(0, 0, 0, 2);
    corner_row->setSpacing(6);
    corner_row->addWidget(Btn_Export);
    corner_row->addWidget(Btn_Import);
    corner_row->addWidget(Btn_Map);
    pages_->setCornerWidget(corner, Qt::TopRightCorner);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    auto *middle = new QVBoxLayout;
    middle->setContentsMargins(6, 0, 6, 0);
    middle->setSpacing(0);
    middle->addWidget(pages_);
    middle->addWidget(P_Problems);
    layout->addLayout(middle, 1);
    layout->addWidget(P_Button);

    const QList<QWidget *> buttons = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    // Export… and Import… follow the row buttons in both windows.
    const QList<QWidget *> points = {Btn_Export, Btn_Import, Btn_Map};
    QList<QWidget *> order =
        pages_first ? QList<QWidget *>{pages_} + buttons + points : buttons + points + QList<QWidget *>{pages_};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void Table_Window::Watch_Problems(Live_Problems::Finder find)
{
    problems_ = new Live_Problems(&Table(0), &Table(1), std::move(find), this);
    connect(problems_, &Live_Problems::Changed, this, [this] {
        P_Problems->Show_Counts(problems_->Errors(), problems_->Warnings());
        Show_Cell_Problems();
    });
}

void Table_Window::Show_Cell_Problems()
{
    if (!problems_ || !pages_ || !grids_[0] || note_held_)
        return;
    const int page = Current_Page();
    const QModelIndex current = grids_[page]->currentIndex();
    P_Problems->Show_Note(current.isValid() ? problems_->Tip_At(page, current.row(), current.column()) : QString());
}

void Table_Window::Set_Grids(Table_Grid *first, Table_Grid *second)
{
    grids_[0] = first;
    grids_[1] = second;
    for (int page = 0; page < 2; ++page) {
        Table_Grid *grid = grids_[page];
        if (problems_)
            grid->Set_Problems(problems_, page);
        grid->Set_Number_Colour(palette().color(QPalette::Window));
        // The status line under the grid: why a typed text was refused, and
        // the problems of the cell the user comes to.
        connect(grid, &Table_Grid::Note, this, [this](const QString &text) {
            P_Problems->Show_Note(text);
            note_held_ = true;
            QTimer::singleShot(0, this, [this] { note_held_ = false; });
        });
        connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, page] {
            if (page == Current_Page())
                Show_Cell_Problems();
        });
        // What the user changes in a cell, and what the table changes in
        // turn (the Length of a Data Type), is one step.
        grid->Table().Cells_Edited = [this, page](const QList<Cell_Edit> &edits) {
            Keep_Step(page, Step_Of_Edits(edits));
        };
        grid->Step_Made = [this, page](Table_Step step) { Make_Step(page, std::move(step)); };
    }
}

QWidget *Table_Window::Page_Holding(Table_Grid *grid, const char *name)
{
    auto *page = new QWidget;
    page->setObjectName(QLatin1StringView(name));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    return page;
}

void Table_Window::Set_Opening_Size(int width)
{
    // The window is not laid out yet: its height is summed from the parts.
    const Table_Grid *grid = grids_[0];
    const int rows = Rows_Shown * grid->verticalHeader()->defaultSectionSize() +
                     grid->horizontalHeader()->sizeHint().height() + 2 * grid->frameWidth();
    const int page_control = pages_->sizeHint().height() - grid->sizeHint().height();
    resize(width, P_Title->height() + page_control + rows + P_Problems->sizeHint().height() + P_Button->height());
}

void Table_Window::Set_Lang()
{
    setWindowTitle(Msg(texts_.title));
    L_SW_Desc->setText(Msg(texts_.desc));
    L_SW_Desc->adjustSize();
    const QList<QPushButton *> buttons = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    for (int i = 0; i < buttons.size(); ++i) {
        buttons[i]->setText(Msg(texts_.first_caption + i));
        // Every button keeps its description; only some show it as a tip.
        const QString hint = Msg(texts_.first_hint + i);
        buttons[i]->setAccessibleDescription(hint);
        buttons[i]->setToolTip(texts_.shown_hints.contains(i) ? hint : QString());
    }
    Btn_Export->setText(Msg(Msg_Points_Export));
    Btn_Import->setText(Msg(Msg_Points_Import));
    for (const auto &[button, hint] :
         {std::pair{Btn_Export, Msg_Points_Export_Hint}, {Btn_Import, Msg_Points_Import_Hint}}) {
        button->setAccessibleDescription(Msg(hint));
        button->setToolTip(Msg(hint));
    }
    Btn_Map->setText(Msg(Msg_Map_Button));
    Btn_Map->setAccessibleDescription(Msg(Msg_Map_Button_Hint));
    Btn_Map->setToolTip(Msg(Msg_Map_Button_Hint));
    if (map_window_)
        map_window_->Set_Lang();
    for (int page = 0; page < 2; ++page) {
        pages_->setTabText(page, Msg(texts_.first_page + page));
        grids_[page]->Set_Number_Title(texts_.number_titles[page]);
        grids_[page]->Table().Retranslate();
    }
    P_Problems->Set_Lang();
    // The problems' texts are in the language.
    if (problems_)
        problems_->Invalidate();
}

int Table_Window::Current_Page() const
{
    return pages_->currentIndex() == 1 ? 1 : 0;
}

void Table_Window::showEvent(QShowEvent *event)
{
    // A window restored by the system is not a new showing.
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void Table_Window::FormShow()
{
    report_ = Load_Documents();
    document_.Loaded(Holds_Rules() ? ws_.File_LoRaWAN_Access : ws_.File_BACnet_Slave_Access);
    pages_->setCurrentIndex(0);
    for (Table_Grid *grid : grids_) {
        grid->Cancel_Edit();
        grid->scrollToTop();
        grid->Set_Current(0, 0);
    }
    copy_.Reset();
    // A new history: the window now shows the documents as they are.
    history_->clear();
    // Told before the window can be edited or saved.
    for (const QString &warning : std::as_const(report_.Warnings))
        Message_Box::Warning(this, warning);
}

void Table_Window::keyPressEvent(QKeyEvent *event)
{
    // Escape would close the window like Cancel and lose every edit at
    // once; only the Cancel button and the window's close box do that.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Table_Window::reject()
{
    // What is typed in an open cell counts as a change.
    Commit_Edits();
    if (Changed() && !Message_Box::Confirm_Discard(this, Msg(Msg_Discard_Changes)))
        return;
    // An edit the cell refused ends with the window.
    for (Table_Grid *grid : grids_)
        grid->Cancel_Edit();
    QDialog::reject();
}

bool Table_Window::Changed() const
{
    return !history_->isClean();
}

void Table_Window::Undo()
{
    if (Commit_Edits())
        history_->undo();
}

void Table_Window::Redo()
{
    if (Commit_Edits())
        history_->redo();
}

void Table_Window::Make_Step(int page, Table_Step step)
{
    if (!step.Empty())
        history_->push(new Table_Command(this, page, std::move(step), false));
}

void Table_Window::Make_Steps(Table_Step first, Table_Step second)
{
    // One command holding a command per table: undo and redo take both.
    auto *both = new QUndoCommand;
    int page = 0;
    for (Table_Step *step : {&first, &second}) {
        if (!step->Empty())
            new Table_Command(this, page, std::move(*step), false, both);
        ++page;
    }
    if (both->childCount() == 0) {
        delete both;
        return;
    }
    history_->push(both);
}

void Table_Window::Keep_Step(int page, Table_Step step)
{
    if (!step.Empty())
        history_->push(new Table_Command(this, page, std::move(step), true));
}

void Table_Window::Replay(int page, const Table_Step &step, bool undo)
{
    Text_Table &table = Table(page);
    if (undo)
        Undo_Step(table, step);
    else
        Redo_Step(table, step);
    pages_->setCurrentIndex(page);
    grids_[page]->Select_Block(step.selection);
    grids_[page]->setFocus();
}

bool Table_Window::Commit_Edits()
{
    bool taken = true;
    for (Table_Grid *grid : grids_)
        taken = grid->Commit_Edit() && taken;
    return taken;
}

void Table_Window::Btn_OKClick()
{
    // A text a cell refused is still in its editor: nothing is saved.
    if (!Commit_Edits())
        return;
    const Problem_List check = Check_Documents();
    if (!check) {
        const Problem &cell = check.First();
        if (cell.Page >= 0 && cell.Page < 2) {
            pages_->setCurrentIndex(cell.Page);
            grids_[cell.Page]->Set_Current(cell.Row, cell.Column);
            grids_[cell.Page]->setFocus();
        }
        Message_Box::Error(this, check.Problem_Text());
        return;
    }
    if (!Warnings_Accepted())
        return;
    switch (Save_Guarded(
        this, document_, [this] { return Save_Documents(); }, &ws_)) {
    case Guarded_Save::Saved:
        accept();
        break;
    case Guarded_Save::Reload:
        FormShow();
        break;
    case Guarded_Save::Failed:
    case Guarded_Save::Cancelled:
        break;
    }
}

void Table_Window::Next_Problem()
{
    Commit_Edits();
    if (!problems_)
        return;
    problems_->Flush();
    const int page = Current_Page();
    const QModelIndex current = grids_[page]->currentIndex();
    const Problem *next = current.isValid() ? problems_->Next_After(page, current.row(), current.column())
                                            : problems_->Next_After(page, -1, -1);
    if (!next)
        return;
    pages_->setCurrentIndex(next->Page);
    grids_[next->Page]->Set_Current(next->Row, next->Column);
    grids_[next->Page]->setFocus();
    // Its text under the grid, also when the cell was current already.
    Show_Cell_Problems();
}

Grid_Asker Table_Window::Asker()
{
    return [this](const Grid_Request &request) {
        if (request.kind == Grid_Request::Kind::Question)
            return Message_Box::Confirm(this, request.text);
        Message_Box::Error(this, request.text);
        return false;
    };
}

// The row buttons act on the rows with a selected cell (or the current
// row); what they change is one step, kept from the first row they touch.
void Table_Window::Btn_DelRowClick()
{
    if (!Commit_Edits())
        return;
    const int page = Current_Page();
    const QList<int> rows = grids_[page]->Rows_Acted_On();
    if (rows.isEmpty())
        return;
    const Rows_Capture before(Table(page), rows.first());
    if (::Delete_Rows(Table(page), rows, Asker()))
        Keep_Step(page, before.Finish(Table(page), {rows, {}}));
}

void Table_Window::Btn_InsRowClick()
{
    if (!Commit_Edits())
        return;
    const int page = Current_Page();
    const QList<int> rows = grids_[page]->Rows_Acted_On();
    if (rows.isEmpty())
        return;
    const Rows_Capture before(Table(page), rows.first());
    if (!::Insert_Rows(Table(page), rows, Asker()))
        return;
    QList<int> inserted;
    for (int r = rows.first(); r < rows.first() + rows.size(); ++r)
        inserted.append(r);
    Keep_Step(page, before.Finish(Table(page), {inserted, {}}));
}

void Table_Window::Btn_CopyRowClick()
{
    Commit_Edits();
    const int page = Current_Page();
    ::Copy_Rows(Table(page), page, grids_[page]->Rows_Acted_On(), ws_.Row_Copy_Buffer, copy_);
}

void Table_Window::Btn_PasteRowClick()
{
    if (!Commit_Edits())
        return;
    const int page = Current_Page();
    const int r = grids_[page]->Current_Row();
    if (r < 0)
        return;
    const Rows_Capture before(Table(page), r);
    if (!::Paste_Rows(Table(page), page, r, ws_.Row_Copy_Buffer, copy_, Asker()))
        return;
    QList<int> pasted;
    for (int k = r; k < r + ws_.Row_Copy_Buffer.size(); ++k)
        pasted.append(k);
    Keep_Step(page, before.Finish(Table(page), {pasted, {}}));
}

Table_Window::~Table_Window()
{
    // The history clears itself as it goes, after the tables' owner: the map
    // must not ask it for a map then.
    disconnect(map_follows_);
}

void Table_Window::Btn_MapClick()
{
    Commit_Edits();
    if (!map_window_) {
        map_window_ = new Data_Map_Window(this);
        connect(map_window_->View, &Data_Map_View::Row_Chosen, this, [this](bool rules, int page, int row) {
            if (rules != Holds_Rules())
                return;
            pages_->setCurrentIndex(page);
            grids_[page]->Set_Current(row, Position_Column());
            grids_[page]->setFocus();
        });
        // Every change of the tables is a step of the history.
        map_follows_ = connect(history_, &QUndoStack::indexChanged, this, [this] {
            if (map_window_->isVisible())
                map_window_->Show(Map_Of_Tables());
        });
    }
    map_window_->Show(Map_Of_Tables());
    map_window_->show();
    map_window_->raise();
}

void Table_Window::Btn_ExportClick()
{
    Commit_Edits();
    const QString chosen =
        File_Dialog::Save(this, ws_.Path_Project + u'/' + Points_File(), QStringLiteral("CSV (*.csv)"));
    if (chosen.isEmpty())
        return;
    const QString file = Points_File_Name(chosen);
    if (QFileInfo::exists(file) && Message_Box::Ask(this, Msg(Msg_File_Overwrite)) != QMessageBox::Yes)
        return;
    if (const Result<> written = Write_File_Atomic(file, Export_Points(Points())); !written)
        Message_Box::Error(this, written.Problem());
}

void Table_Window::Btn_ImportClick()
{
    if (!Commit_Edits())
        return;
    const QString file = File_Dialog::Open(this, ws_.Path_Project, QStringLiteral("CSV (*.csv *.txt);;* (*)"));
    if (file.isEmpty())
        return;
    const QMessageBox::StandardButton answer =
        Message_Box::Choose(this, Msg(Msg_Points_Replace_Or_Append).arg(QDir::toNativeSeparators(file)),
                            Msg(Msg_Points_Replace), Msg(Msg_Points_Append));
    if (answer != QMessageBox::Yes && answer != QMessageBox::No)
        return;
    const Result<QByteArray> read = Read_File_Bounded(file, Points_File_Size_Limit);
    if (!read) {
        Message_Box::Error(this, read.Problem());
        return;
    }
    const Points_Import import =
        Import_Points(Points(), read.Value(), answer == QMessageBox::Yes ? Import_Mode::Replace : Import_Mode::Append);
    if (!import.Ok()) {
        Message_Box::Error(this, import.Problem(file, Bad_Lines_Shown));
        return;
    }
    // Each table's new rows are selected when the step is done or redone.
    Table_Step steps[2];
    for (int page = 0; page < 2; ++page) {
        steps[page] = Step_Of_Changes(Table(page), import.Changes[page]);
        if (!import.Rows[page].isEmpty())
            steps[page].selection = {import.Rows[page], {}};
    }
    Make_Steps(std::move(steps[0]), std::move(steps[1]));
    // The first table that took rows is shown.
    const int shown = import.Rows[0].isEmpty() && !import.Rows[1].isEmpty() ? 1 : 0;
    pages_->setCurrentIndex(shown);
    if (!import.Rows[shown].isEmpty())
        grids_[shown]->Select_Block({import.Rows[shown], {}});
    grids_[shown]->setFocus();
}
