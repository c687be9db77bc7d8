#include "tables/ui/table_window.h"

#include "tables/text_table.h"
#include "tables/ui/table_grid.h"
#include "widgets/dialog_frame.h"
#include "widgets/message_box.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/workspace.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

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
    connect(Btn_DelRow, &QPushButton::clicked, this, &Table_Window::Btn_DelRow_Click);
    connect(Btn_InsRow, &QPushButton::clicked, this, &Table_Window::Btn_InsRowClick);
    connect(Btn_CopyRow, &QPushButton::clicked, this, &Table_Window::Btn_CopyRowClick);
    connect(Btn_PasteRow, &QPushButton::clicked, this, &Table_Window::Btn_PasteRowClick);

    // The row buttons on the left, OK and Cancel on the right.
    auto *buttons = new QHBoxLayout(P_Button);
    buttons->setContentsMargins(8, 6, 8, 6);
    buttons->setSpacing(6);
    for (QPushButton *button : {Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(Btn_OK);
    buttons->addWidget(Btn_Cancel);
}

void Table_Window::Build(QTabWidget *pages, QWidget *first_page, QWidget *second_page, bool pages_first)
{
    pages_ = pages;
    pages_->addTab(first_page, QString());
    pages_->addTab(second_page, QString());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    auto *middle = new QVBoxLayout;
    middle->setContentsMargins(6, 0, 6, 0);
    middle->addWidget(pages_);
    layout->addLayout(middle, 1);
    layout->addWidget(P_Button);

    const QList<QWidget *> buttons = {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow};
    QList<QWidget *> order = pages_first ? QList<QWidget *>{pages_} + buttons : buttons + QList<QWidget *>{pages_};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void Table_Window::Set_Grids(Table_Grid *first, Table_Grid *second)
{
    grids_[0] = first;
    grids_[1] = second;
    for (Table_Grid *grid : grids_)
        grid->Set_Number_Colour(palette().color(QPalette::Window));
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
    resize(width, P_Title->height() + page_control + rows + P_Button->height());
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
    for (int page = 0; page < 2; ++page) {
        pages_->setTabText(page, Msg(texts_.first_page + page));
        grids_[page]->Set_Number_Title(texts_.number_titles[page]);
        grids_[page]->Table().Retranslate();
    }
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
    pages_->setCurrentIndex(0);
    for (Table_Grid *grid : grids_) {
        grid->scrollToTop();
        grid->Set_Current(0, 0);
    }
    copy_.Reset();
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

void Table_Window::Commit_Edits()
{
    for (Table_Grid *grid : grids_)
        grid->Commit_Edit();
}

void Table_Window::Btn_OKClick()
{
    Commit_Edits();
    const Check_Result check = Check_Documents();
    if (!check) {
        const Failed_Cell &cell = check.Cell();
        if (cell.Page >= 0 && cell.Page < 2) {
            pages_->setCurrentIndex(cell.Page);
            grids_[cell.Page]->Set_Current(cell.Row, cell.Column);
            grids_[cell.Page]->setFocus();
        }
        Message_Box::Error(this, check.Problem());
        return;
    }
    if (!Warnings_Accepted())
        return;
    const Result<> saved = Save_Documents();
    if (!saved) {
        Message_Box::Error(this, saved.Problem());
        return;
    }
    accept();
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

void Table_Window::Btn_DelRow_Click()
{
    Commit_Edits();
    const int page = Current_Page();
    ::Btn_DelRow_Click(Table(page), grids_[page]->Current_Row(), Asker());
}

void Table_Window::Btn_InsRowClick()
{
    Commit_Edits();
    const int page = Current_Page();
    ::Btn_InsRow_Click(Table(page), grids_[page]->Current_Row());
}

void Table_Window::Btn_CopyRowClick()
{
    Commit_Edits();
    const int page = Current_Page();
    ::Btn_CopyRow_Click(Table(page), page, grids_[page]->Current_Row(), ws_.Row_Copy_Buffer, copy_);
}

void Table_Window::Btn_PasteRowClick()
{
    Commit_Edits();
    const int page = Current_Page();
    ::Btn_PasteRow_Click(Table(page), page, grids_[page]->Current_Row(), ws_.Row_Copy_Buffer, copy_, Asker());
}
