#include "app/open_conf.h"

#include "app/app_messages.h"
#include "widgets/dialog_frame.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/configurations.h"
#include "workspace/workspace.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

TFOpenConf::TFOpenConf(Workspace &ws, QWidget *parent)
    : QDialog(parent)
    , ws_(ws)
{
    setObjectName(QStringLiteral("FOpenConf"));
    Apply_Window_Style(this);
    const Header_Labels header = Make_Header(this, ws.SW_Code);
    L_SW_Code = header.code;
    L_SW_Desc = header.desc;
    Label1 = new QLabel(this);
    Label1->move(16, 70);
    ListBox1 = new QListWidget(this);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    Btn_OK = new QPushButton(this);
    Btn_Cancel = new QPushButton(this);
    connect(ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (item)
            Name_Conf = item->text();
    });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            Name_Conf = ListBox1->item(row)->text();
    });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(377, 351);
    setMinimumSize(260, 220);
    Set_Lang();
}

void TFOpenConf::resizeEvent(QResizeEvent *event)
{
    // The list stretches with the window; the buttons keep to the right.
    const int panel_top = height() - 40;
    ListBox1->setGeometry(16, 94, width() - 16 - 26, panel_top - 94 - 8);
    Place_Button_Row({{Btn_OK}, {Btn_Cancel}}, width() - 26, panel_top + 6);
    QDialog::resizeEvent(event);
}

void TFOpenConf::Set_Lang()
{
    setWindowTitle(Msg(Msg_Open_Project_Title));
    L_SW_Desc->setText(Msg(Msg_Open_Project_Description));
    Label1->setText(Msg(Msg_Open_Project_List_Label));
    Btn_OK->setText(Msg(Msg_Open_Project_OK));
    Btn_Cancel->setText(Msg(Msg_Open_Project_Cancel));
    ListBox1->setToolTip(Msg(Msg_Open_Project_List_Hint));
    Btn_OK->setToolTip(Msg(Msg_Open_Project_OK_Hint));
    Btn_Cancel->setToolTip(Msg(Msg_Open_Project_Cancel_Hint));
    L_SW_Desc->adjustSize();
    Label1->adjustSize();
}

void TFOpenConf::showEvent(QShowEvent *event)
{
    SL = Load_Existing_Configuration(ws_);
    ListBox1->clear();
    ListBox1->addItems(SL);
    const int i = Search_Open_Conf(SL, Current_Configuration(ws_));
    if (i >= 0 || !SL.isEmpty()) {
        ListBox1->setCurrentRow(i >= 0 ? i : 0);
        Name_Conf = ListBox1->currentItem()->text();
    } else {
        Name_Conf.clear();
    }
    QDialog::showEvent(event);
}
