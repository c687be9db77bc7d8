#include "bacnet/ui/virtual_converter_window.h"

#include "bacnet/converter_messages.h"
#include "bacnet/converter_session.h"
#include "bacnet/value_rule.h"
#include "snapshot/configuration_snapshot.h"
#include "widgets/dialog_frame.h"
#include "widgets/message_box.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/workspace.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QTableView *Make_Grid(QWidget *parent, const char *name)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QLatin1StringView(name));
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QLabel *Make_Line(QWidget *parent, const char *name, const char *colour)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1StringView(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (colour)
        label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1StringView(colour)));
    label->hide();
    return label;
}

void Size_Columns(QTableView *grid)
{
    grid->resizeColumnsToContents();
    // The name takes what is left over, within reason.
    grid->setColumnWidth(Served_Objects_Model::Name, qMax(grid->columnWidth(Served_Objects_Model::Name), 160));
}

} // namespace

TFVirtual_Converter::TFVirtual_Converter(Workspace &ws, QWidget *parent)
    : QDialog(parent, Dialog_Flags | Qt::WindowMinMaxButtonsHint)
    , ws_(ws)
    , session_(new Converter_Session(this))
{
    setObjectName(QStringLiteral("FVirtual_Converter"));
    Apply_Window_Style(this);
    const Title_Panel title = Make_Title_Panel(this, ws.SW_Code);
    L_SW_Code = title.labels.code;
    L_SW_Desc = title.labels.desc;

    // The address and port served, Start and Stop, and what is served.
    L_Address = new QLabel(this);
    E_Address = new QLineEdit(QStringLiteral("127.0.0.1"), this);
    E_Address->setObjectName(QStringLiteral("E_Address"));
    E_Address->setFixedWidth(120);
    L_Address->setBuddy(E_Address);
    L_Port = new QLabel(this);
    E_Port = new QLineEdit(this);
    E_Port->setObjectName(QStringLiteral("E_Port"));
    E_Port->setFixedWidth(70);
    L_Port->setBuddy(E_Port);
    Btn_Start = new QPushButton(this);
    Btn_Start->setObjectName(QStringLiteral("Btn_Start"));
    Btn_Stop = new QPushButton(this);
    Btn_Stop->setObjectName(QStringLiteral("Btn_Stop"));
    for (QPushButton *button : {Btn_Start, Btn_Stop}) {
        button->setFixedHeight(24);
        button->setMinimumWidth(90);
        button->setAutoDefault(false);
    }
    connect(Btn_Start, &QPushButton::clicked, this, &TFVirtual_Converter::Btn_StartClick);
    connect(Btn_Stop, &QPushButton::clicked, this, &TFVirtual_Converter::Btn_StopClick);
    L_Serving = new QLabel(this);
    L_Serving->setObjectName(QStringLiteral("L_Serving"));
    L_Serving->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = L_Serving->font();
    bold.setBold(true);
    L_Serving->setFont(bold);

    L_MSTP = Make_Line(this, "L_MSTP", nullptr);
    L_Refusal = Make_Line(this, "L_Refusal", "#B00000");
    L_Warnings = Make_Line(this, "L_Warnings", "#8A5A00");

    // The two areas, the traffic and the rule.
    G_Input = new QGroupBox(this);
    ACG_Input = Make_Grid(G_Input, "ACG_Input");
    ACG_Input->setModel(session_->Inputs());
    ACG_Input->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    L_Input_Refusal = Make_Line(G_Input, "L_Input_Refusal", "#B00000");
    auto *input_layout = new QVBoxLayout(G_Input);
    input_layout->addWidget(ACG_Input, 1);
    input_layout->addWidget(L_Input_Refusal);

    G_Output = new QGroupBox(this);
    ACG_Output = Make_Grid(G_Output, "ACG_Output");
    ACG_Output->setModel(session_->Outputs());
    ACG_Output->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Clients write the output area: it has no raw value to type.
    ACG_Output->hideColumn(Served_Objects_Model::Raw);
    (new QVBoxLayout(G_Output))->addWidget(ACG_Output);

    G_Traffic = new QGroupBox(this);
    M_Traffic = new QPlainTextEdit(G_Traffic);
    M_Traffic->setObjectName(QStringLiteral("M_Traffic"));
    M_Traffic->setReadOnly(true);
    M_Traffic->setMaximumBlockCount(Converter_Session::Traffic_Lines_Kept);
    M_Traffic->setLineWrapMode(QPlainTextEdit::NoWrap);
    M_Traffic->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    (new QVBoxLayout(G_Traffic))->addWidget(M_Traffic);

    G_Value_Rule = new QGroupBox(this);
    L_Value_Rule = new QLabel(G_Value_Rule);
    L_Value_Rule->setObjectName(QStringLiteral("L_Value_Rule"));
    L_Value_Rule->setWordWrap(true);
    (new QVBoxLayout(G_Value_Rule))->addWidget(L_Value_Rule);

    QWidget *buttons = Make_Button_Panel(this);
    Btn_Close = new QPushButton(buttons);
    Btn_Close->setObjectName(QStringLiteral("Btn_Close"));
    Btn_Close->setFixedSize(110, 28);
    Btn_Close->setAutoDefault(false);
    connect(Btn_Close, &QPushButton::clicked, this, &QDialog::close);
    auto *button_row = new QHBoxLayout(buttons);
    button_row->setContentsMargins(8, 6, 8, 6);
    button_row->addStretch(1);
    button_row->addWidget(Btn_Close);

    auto *serve_row = new QHBoxLayout;
    serve_row->setSpacing(6);
    serve_row->addWidget(L_Address);
    serve_row->addWidget(E_Address);
    serve_row->addSpacing(6);
    serve_row->addWidget(L_Port);
    serve_row->addWidget(E_Port);
    serve_row->addSpacing(6);
    serve_row->addWidget(Btn_Start);
    serve_row->addWidget(Btn_Stop);
    serve_row->addSpacing(12);
    serve_row->addWidget(L_Serving, 1);

    auto *areas = new QSplitter(Qt::Vertical, this);
    areas->setChildrenCollapsible(false);
    areas->addWidget(G_Input);
    areas->addWidget(G_Output);
    areas->addWidget(G_Traffic);
    areas->setStretchFactor(0, 3);
    areas->setStretchFactor(1, 2);
    areas->setStretchFactor(2, 2);

    auto *middle = new QVBoxLayout;
    middle->setContentsMargins(8, 0, 8, 0);
    middle->setSpacing(6);
    middle->addLayout(serve_row);
    middle->addWidget(L_MSTP);
    middle->addWidget(L_Refusal);
    middle->addWidget(L_Warnings);
    middle->addWidget(areas, 1);
    middle->addWidget(G_Value_Rule);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(title.panel);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);

    connect(session_, &Converter_Session::Traffic_Line, M_Traffic, &QPlainTextEdit::appendPlainText);
    connect(session_, &Converter_Session::Running_Changed, this, &TFVirtual_Converter::Show_Running);
    connect(session_, &Converter_Session::Input_Typed, this, [this](const QString &refusal) {
        L_Input_Refusal->setText(refusal);
        L_Input_Refusal->setVisible(!refusal.isEmpty());
    });

    resize(980, 760);
    Set_Lang();
    Show_Device();
}

TFVirtual_Converter::~TFVirtual_Converter() = default;

void TFVirtual_Converter::Set_Lang()
{
    setWindowTitle(Msg(Msg_VC_Title));
    L_SW_Desc->setText(Msg(Msg_VC_Description));
    L_SW_Desc->adjustSize();
    L_Address->setText(Msg(Msg_VC_Address));
    L_Port->setText(Msg(Msg_VC_Port));
    Btn_Start->setText(Msg(Msg_VC_Start));
    Btn_Start->setToolTip(Msg(Msg_VC_Start_Hint));
    Btn_Stop->setText(Msg(Msg_VC_Stop));
    Btn_Stop->setToolTip(Msg(Msg_VC_Stop_Hint));
    Btn_Close->setText(Msg(Msg_VC_Close));
    G_Input->setTitle(Msg(Msg_VC_Input_Area));
    G_Output->setTitle(Msg(Msg_VC_Output_Area));
    G_Traffic->setTitle(Msg(Msg_VC_Traffic));
    G_Value_Rule->setTitle(Msg(Msg_VC_Value_Rule_Title));
    L_Value_Rule->setText(Value_Rule_Text());
    session_->Inputs()->Retitle();
    session_->Outputs()->Retitle();
    Show_Running();
}

void TFVirtual_Converter::FormShow()
{
    (void)session_->Load(Read_Configuration(ws_, Output::Images));
    Show_Device();
}

void TFVirtual_Converter::Images_Changed()
{
    if (session_->Ask_Restart()) {
        if (!Message_Box::Confirm(this, Msg(Msg_VC_Restart)))
            return;
        const Result<> restarted = session_->Restart(Read_Configuration(ws_, Output::Images));
        Show_Device();
        // A refusal of the configuration shows in the window; a port that
        // can no longer be bound is told.
        if (!restarted && session_->Loaded())
            Message_Box::Error(this, restarted.Problem());
        return;
    }
    if (isVisible())
        FormShow();
}

void TFVirtual_Converter::Btn_StartClick()
{
    if (const Result<> started = session_->Start(E_Address->text(), E_Port->text()); !started)
        Message_Box::Error(this, started.Problem());
}

void TFVirtual_Converter::Btn_StopClick()
{
    session_->Stop();
}

void TFVirtual_Converter::Show_Device()
{
    const bool loaded = session_->Loaded();
    L_Refusal->setText(loaded ? QString() : Msg(Msg_VC_Not_Served) + QLatin1Char(' ') + session_->Refusal());
    L_Refusal->setVisible(!loaded && !session_->Refusal().isEmpty());
    const QString mstp = session_->MSTP_Line();
    L_MSTP->setText(mstp);
    L_MSTP->setVisible(!mstp.isEmpty());
    const QStringList warnings = session_->Warning_Lines();
    L_Warnings->setText(warnings.join(QLatin1Char('\n')));
    L_Warnings->setVisible(!warnings.isEmpty());
    L_Input_Refusal->hide();
    if (loaded && !session_->Running())
        E_Port->setText(QString::number(session_->Device().port));
    Size_Columns(ACG_Input);
    Size_Columns(ACG_Output);
    Show_Running();
}

void TFVirtual_Converter::Show_Running()
{
    const bool running = session_->Running();
    Btn_Start->setEnabled(session_->Loaded() && !running);
    Btn_Stop->setEnabled(running);
    E_Address->setEnabled(!running);
    E_Port->setEnabled(!running);
    L_Serving->setText(session_->Serving_Line());
}

void TFVirtual_Converter::showEvent(QShowEvent *event)
{
    // A window opened again shows the configuration as it is now; one still
    // serving keeps its device until the user restarts it.
    if (!event->spontaneous() && !session_->Running())
        FormShow();
    QDialog::showEvent(event);
}

void TFVirtual_Converter::closeEvent(QCloseEvent *event)
{
    session_->Stop();
    QDialog::closeEvent(event);
}

void TFVirtual_Converter::reject()
{
    session_->Stop();
    QDialog::reject();
}
