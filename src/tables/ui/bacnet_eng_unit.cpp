#include "tables/ui/bacnet_eng_unit.h"

#include "tables/table_messages.h"
#include "widgets/dialog_frame.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/workspace.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QFrame *Line(QWidget *parent, const char *name)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1StringView(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

TFBACnet_Eng_Unit::TFBACnet_Eng_Unit(Workspace &ws, QWidget *parent)
    : QDialog(parent, Fixed_Dialog_Flags)
{
    setObjectName(QStringLiteral("FBACnet_Eng_Unit"));
    Apply_Window_Style(this);

    const Title_Panel title = Make_Title_Panel(this, ws.SW_Code);
    QWidget *P_Title = title.panel;
    L_SW_Code = title.labels.code;
    L_SW_Desc = title.labels.desc;

    auto *body = new QWidget(this);
    Label1 = new QLabel(body);
    E_Selected_EU = new QLineEdit(body);
    E_Selected_EU->setObjectName(QStringLiteral("E_Selected_EU"));
    E_Selected_EU->setFixedWidth(49);
    Label5 = new QLabel(body);
    Shape1 = Line(body, "Shape1");
    Label2 = new QLabel(body);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Label3 = new QLabel(body);
    CB_Select_Type = new QComboBox(body);
    CB_Select_Type->setObjectName(QStringLiteral("CB_Select_Type"));
    CB_Select_Type->addItems(Unit_Picker::Category_Items());
    CB_Select_Type->setMaxVisibleItems(23);
    Label4 = new QLabel(body);
    CB_Select_Unit = new QComboBox(body);
    CB_Select_Unit->setObjectName(QStringLiteral("CB_Select_Unit"));
    CB_Select_Unit->setMaxVisibleItems(16);
    Btn_Select_Eng_Unit = new QPushButton(body);
    Btn_Select_Eng_Unit->setObjectName(QStringLiteral("Btn_Select_Eng_Unit"));
    Shape2 = Line(body, "Shape2");

    auto *grid = new QGridLayout(body);
    grid->setContentsMargins(16, 8, 16, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    auto *selected = new QHBoxLayout;
    selected->setSpacing(8);
    selected->addWidget(Label1);
    selected->addWidget(E_Selected_EU);
    selected->addWidget(Label5, 1);
    grid->addLayout(selected, 0, 0, 1, 2);
    grid->addWidget(Shape1, 1, 0, 1, 2);
    grid->addWidget(Label2, 2, 0, 1, 2);
    grid->addWidget(Label3, 3, 0);
    grid->addWidget(CB_Select_Type, 3, 1);
    grid->addWidget(Label4, 4, 0);
    grid->addWidget(CB_Select_Unit, 4, 1);
    grid->addWidget(Btn_Select_Eng_Unit, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
    grid->addWidget(Shape2, 7, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    QWidget *P_Button = Make_Button_Panel(this);
    Btn_OK = new QPushButton(P_Button);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_Cancel = new QPushButton(P_Button);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    auto *buttons = new QHBoxLayout(P_Button);
    buttons->setContentsMargins(16, 6, 16, 6);
    buttons->addStretch(1);
    for (QPushButton *button : {Btn_OK, Btn_Cancel}) {
        button->setFixedSize(110, 28);
        buttons->addWidget(button);
    }
    // Enter takes the box as it is: without a default of its own the dialog
    // would make the first button in the tab order, Select Engineering
    // Unit, the default, and Enter would replace a typed number.
    Btn_OK->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(body, 1);
    layout->addWidget(P_Button);

    connect(CB_Select_Type, &QComboBox::activated, this, &TFBACnet_Eng_Unit::CB_Select_TypeSelect);
    connect(CB_Select_Unit, &QComboBox::currentIndexChanged, this, [this](int index) { Picker.Select_Unit(index); });
    // A choice of the user's (a click in the open list, the keys or the
    // wheel on the closed one), not the selection the picker opens with.
    connect(CB_Select_Unit, &QComboBox::activated, this, [this](int index) {
        Picker.Pick_Unit(index);
        Label5->setText(Picker.Label5);
    });
    connect(E_Selected_EU, &QLineEdit::textEdited, this, [this](const QString &text) {
        Picker.Type_Into_Box(text);
        Label5->setText(Picker.Label5);
    });
    connect(Btn_Select_Eng_Unit, &QPushButton::clicked, this, &TFBACnet_Eng_Unit::Btn_Select_Eng_UnitClick);
    connect(Btn_OK, &QPushButton::clicked, this, &TFBACnet_Eng_Unit::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(E_Selected_EU, CB_Select_Type);
    setTabOrder(CB_Select_Type, CB_Select_Unit);
    setTabOrder(CB_Select_Unit, Btn_Select_Eng_Unit);
    setTabOrder(Btn_Select_Eng_Unit, Btn_OK);
    setTabOrder(Btn_OK, Btn_Cancel);

    setFixedSize(548, 306);
    Set_Lang();
    CB_Select_TypeSelect(Picker.Category());
}

void TFBACnet_Eng_Unit::Set_Lang()
{
    setWindowTitle(Msg(Msg_Unit_Picker_Title));
    L_SW_Desc->setText(Msg(Msg_Unit_Picker_Description));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(Msg(Msg_Unit_Picker_OK));
    Btn_Cancel->setText(Msg(Msg_Unit_Picker_Cancel));
    Label1->setText(Msg(Msg_Unit_Picker_Selected));
    Label2->setText(Msg(Msg_Unit_Picker_New));
    Label3->setText(Msg(Msg_Unit_Picker_Type));
    Label4->setText(Msg(Msg_Unit_Picker_Unit));
    Btn_Select_Eng_Unit->setText(Msg(Msg_Unit_Picker_Select));
}

void TFBACnet_Eng_Unit::Open_On(const QString &cell_text)
{
    Picker.FormShow(cell_text);
    Show_Picker_State();
    Show_Lists();
}

void TFBACnet_Eng_Unit::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TFBACnet_Eng_Unit::FormShow()
{
    Show_Lists();
}

void TFBACnet_Eng_Unit::CB_Select_TypeSelect(int category)
{
    Picker.CB_Select_TypeSelect(category);
    Label5->setText(Picker.Label5);
    Show_Lists();
}

void TFBACnet_Eng_Unit::Show_Lists()
{
    CB_Select_Type->setCurrentIndex(Picker.Category());
    const QSignalBlocker quiet(CB_Select_Unit);
    CB_Select_Unit->clear();
    CB_Select_Unit->addItems(Picker.Unit_Items());
    CB_Select_Unit->setCurrentIndex(Picker.Unit());
}

void TFBACnet_Eng_Unit::Btn_Select_Eng_UnitClick()
{
    Picker.Btn_Select_Eng_UnitClick();
    Show_Picker_State();
}

void TFBACnet_Eng_Unit::Btn_OKClick()
{
    // The box as it stands, also when the program set its text.
    Picker.E_Selected_EU = E_Selected_EU->text();
    Picker.Btn_OKClick();
    Show_Picker_State();
    accept();
}

void TFBACnet_Eng_Unit::Show_Picker_State()
{
    E_Selected_EU->setText(Picker.E_Selected_EU);
    Label5->setText(Picker.Label5);
}
