#include "app/new_project.h"

#include "app/app_messages.h"
#include "core/messages.h"
#include "widgets/dialog_frame.h"
#include "widgets/message_box.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/configurations.h"
#include "workspace/workspace.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFNew_Project::TFNew_Project(Workspace &ws, QWidget *parent)
    : QDialog(parent, Fixed_Dialog_Flags)
    , ws_(ws)
{
    setObjectName(QStringLiteral("FNew_Project"));
    Apply_Window_Style(this);
    const Header_Labels header = Make_Header(this, ws.SW_Code);
    L_SW_Code = header.code;
    L_SW_Desc = header.desc;
    Label1 = new QLabel(this);
    Label1->move(16, 70);
    E_New_Proj = new QLineEdit(this);
    E_New_Proj->setGeometry(16, 94, 297, 21);
    const int panel_top = 162 - 40;
    Btn_OK = new QPushButton(this);
    Btn_OK->setAutoDefault(false);
    Btn_Cancel = new QPushButton(this);
    Btn_Cancel->setAutoDefault(false);
    Place_Button_Row({{Btn_OK}, {Btn_Cancel}}, 331 - 18, panel_top + 6);
    setTabOrder(E_New_Proj, Btn_OK);
    setTabOrder(Btn_OK, Btn_Cancel);
    // Enter in the name field acts as OK.
    connect(E_New_Proj, &QLineEdit::returnPressed, this, &TFNew_Project::Btn_OKClick);
    connect(Btn_OK, &QPushButton::clicked, this, &TFNew_Project::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(331, 162);
    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    setWindowTitle(Msg(Msg_New_Project_Title));
    L_SW_Desc->setText(Msg(Msg_New_Project_Description));
    Label1->setText(Msg(Msg_New_Project_Name_Label));
    Btn_OK->setText(Msg(Msg_New_Project_OK));
    Btn_Cancel->setText(Msg(Msg_New_Project_Cancel));
    E_New_Proj->setToolTip(Msg(Msg_New_Project_Name_Hint));
    Btn_OK->setToolTip(Msg(Msg_New_Project_OK_Hint));
    Btn_Cancel->setToolTip(Msg(Msg_New_Project_Cancel_Hint));
    L_SW_Desc->adjustSize();
    Label1->adjustSize();
}

void TFNew_Project::showEvent(QShowEvent *event)
{
    E_New_Proj->clear();
    E_New_Proj->setFocus();
    QDialog::showEvent(event);
}

void TFNew_Project::Btn_OKClick()
{
    if (const Result<> created = Create_Configuration(ws_, E_New_Proj->text()); !created) {
        Message_Box::Error(this, created.Problem());
        return;
    }
    accept();
}
