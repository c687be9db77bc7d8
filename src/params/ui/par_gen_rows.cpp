// The groups of the parameter window: their rows, captions and layout.

#include "params/param_messages.h"
#include "params/pargen_fields.h"
#include "params/ui/category_panel.h"
#include "params/ui/par_gen.h"
#include "widgets/problems_bar.h"
#include "widgets/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Rows sit 28 pixels apart; labels start 14 pixels from the group's left
// edge, inputs 191; a single input is 238 wide, an octet 55.
constexpr int Row_Pitch = 28;
constexpr int First_Label_Top = 12;
constexpr int Label_X = 14;
constexpr int Input_X = 191;
constexpr int Input_Width = 238;
constexpr int Input_Height = 22;
constexpr int Octet_Width = 55;
constexpr int Octet_Pitch = 61; // 4 octets and 3 dots fill the input width
constexpr int Bottom_Margin = 12;

int Label_Top(int row) // row from 0
{
    return First_Label_Top + row * Row_Pitch;
}

} // namespace

void TFParGen::Row::Place(int label_top) const
{
    if (auto *box = qobject_cast<QCheckBox *>(Caption))
        box->setGeometry(Label_X, label_top - 2,
                         Inputs.isEmpty() ? Input_X + Input_Width - Label_X : Input_X - Label_X - 4, 20);
    else if (Caption) // to 2 px short of the input, room for the longest (Italian) caption
        Caption->setGeometry(Label_X, label_top, Input_X - Label_X - 2, 16);
    if (Inputs.size() == 1)
        Inputs[0]->setGeometry(Input_X, label_top - 3, Input_Width, Input_Height);
    for (int i = 0; Inputs.size() == 4 && i < 4; ++i)
        Inputs[i]->setGeometry(Input_X + i * Octet_Pitch, label_top - 3, Octet_Width, Input_Height);
    for (int i = 0; i < Dots.size(); ++i)
        Dots[i]->setGeometry(Input_X + i * Octet_Pitch + Octet_Width, label_top - 3, Octet_Pitch - Octet_Width,
                             Input_Height);
}

void TFParGen::Row::Set_Visible(bool shown) const
{
    if (Caption)
        Caption->setVisible(shown);
    for (QWidget *input : Inputs)
        input->setVisible(shown);
    for (QLabel *dot : Dots)
        dot->setVisible(shown);
}

int TFParGen::Row::Bottom() const
{
    int bottom = Caption ? Caption->geometry().bottom() + 1 : 0;
    for (QWidget *input : Inputs)
        bottom = std::max(bottom, input->geometry().bottom() + 1);
    return bottom;
}

void TFParGen::Bind(ParGen_Key key, QWidget *input)
{
    inputs_[size_t(key)] = input;
    input->setObjectName(Key_Name(key)); // named after the value it shows
}

QLabel *TFParGen::Add_Label(Category_Panel *panel, int caption)
{
    auto *label = new QLabel(panel->Client());
    captions_ << Caption_Text{label, caption};
    return label;
}

QCheckBox *TFParGen::Add_Check(Category_Panel *panel, ParGen_Key key, int caption, int hint)
{
    auto *box = new QCheckBox(panel->Client());
    Bind(key, box);
    captions_ << Caption_Text{box, caption};
    hints_ << Caption_Text{box, hint};
    connect(box, &QCheckBox::toggled, this, [this, key] { On_Click(key); });
    return box;
}

QComboBox *TFParGen::Add_Combo(Category_Panel *panel, ParGen_Key key, int hint)
{
    auto *combo = new QComboBox(panel->Client());
    combo->addItems(form_.Items(key));
    combo->setCurrentIndex(-1);
    Bind(key, combo);
    hints_ << Caption_Text{combo, hint};
    connect(combo, &QComboBox::currentIndexChanged, this, [this, key] { On_Change(key); });
    return combo;
}

QLineEdit *TFParGen::Add_Edit(Category_Panel *panel, ParGen_Key key, int hint)
{
    auto *edit = new QLineEdit(panel->Client());
    Bind(key, edit);
    hints_ << Caption_Text{edit, hint};
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, key] { Typed(key); });
    connect(edit, &QLineEdit::textChanged, this, [this, key] { On_Change(key); });
    return edit;
}

Category_Panel *TFParGen::Group_Panel(int group_message)
{
    for (const Group &group : std::as_const(groups_))
        if (group.Message == group_message)
            return group.Panel;
    // Groups stack in the order the fields first name them.
    groups_ << Group{group_message, CPG->Add_Panel()};
    return groups_.back().Panel;
}

void TFParGen::Create_Rows()
{
    const QList<ParGen_Field> &fields = ParGen_Fields();
    // The groups first, then their rows: the focus chain passes every
    // group's header before the first control.
    for (const ParGen_Field &field : fields)
        Group_Panel(field.group_message);
    rows_.resize(fields.size());
    QCheckBox *heading = nullptr; // a box waiting for the row of the address it enables
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const ParGen_Field &field = fields[i];
        Category_Panel *panel = Group_Panel(field.group_message);
        if (Key_Info(field.key).Kind == ParGen_Kind::Flag) {
            QCheckBox *box = Add_Check(panel, field.key, field.caption_message, field.hint_message);
            caption_of_[size_t(field.key)] = box;
            if (field.place == ParGen_Place::Caption_Of_Next)
                heading = box;
            else
                rows_[i].Caption = box;
            continue;
        }
        Row &row = rows_[i];
        row.Caption = heading ? static_cast<QWidget *>(heading) : Add_Label(panel, field.caption_message);
        heading = nullptr;
        for (int k = 0; k < field.keys; ++k) {
            const ParGen_Key key = ParGen_Key(int(field.key) + k);
            const int hint = field.hint_message + k;
            caption_of_[size_t(key)] = row.Caption;
            if (Key_Info(key).Kind == ParGen_Kind::Text_Choice || Key_Info(key).Kind == ParGen_Kind::Index_Choice)
                row.Inputs << Add_Combo(panel, key, hint);
            else
                row.Inputs << Add_Edit(panel, key, hint);
            if (k < field.keys - 1) { // the octets of an address
                auto *dot = new QLabel(QStringLiteral("."), panel->Client());
                dot->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
                row.Dots << dot;
            }
        }
    }
    // Nine data rates show without scrolling; the payload follows the band
    // and the data rate.
    static_cast<QComboBox *>(Input(ParGen_Key::LoRa_DataRate))->setMaxVisibleItems(9);
    static_cast<QLineEdit *>(Input(ParGen_Key::LoRa_Payload_Size))->setReadOnly(true);
}

void TFParGen::Set_Tab_Order()
{
    QList<QWidget *> order = {Btn_OK, Btn_Cancel};
    for (ParGen_Key key : ParGen_Tab_Order())
        order << Input(key);
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFParGen::Set_Group_Titles()
{
    // Each title keeps the group's number, also after a language change.
    for (int i = 0; i < groups_.size(); ++i)
        groups_[i].Panel->Set_Caption(QStringLiteral("%1. ").arg(i + 1) + Msg(groups_[i].Message));
}

void TFParGen::Order_TAB_Panels()
{
    Order_TAB_Panels_52K31();
}

void TFParGen::Order_TAB_Panels_52K31()
{
    // The group area stacks the shown groups in this order, each right below
    // the one before.
    for (const Group &group : std::as_const(groups_))
        group.Panel->setVisible(ParGen_Group_Shown(form_, group.Message));
    Set_Group_Titles();
}

void TFParGen::Move_Group_Boxes()
{
    RePosition_Objects_52K31();
    for (const Group &group : std::as_const(groups_))
        group.Panel->setVisible(ParGen_Group_Shown(form_, group.Message));
}

void TFParGen::RePosition_Objects_52K31()
{
    const QList<ParGen_Field> &fields = ParGen_Fields();
    const QList<ParGen_Row_Place> places = ParGen_Row_Places(form_);
    for (const Group &group : std::as_const(groups_)) {
        int bottom = 0; // of the lowest row shown
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (fields[i].group_message != group.Message || !rows_[i].Caption)
                continue;
            rows_[i].Place(Label_Top(places[i].Row));
            rows_[i].Set_Visible(places[i].Shown);
            if (places[i].Shown)
                bottom = std::max(bottom, rows_[i].Bottom());
        }
        group.Panel->Set_Client_Height(bottom + Bottom_Margin);
    }
}

void TFParGen::Set_Lang()
{
    setWindowTitle(Msg(Msg_ParGen_Title));
    L_SW_Desc->setText(Msg(Msg_ParGen_Description));
    L_SW_Desc->adjustSize();
    Btn_OK->setText(Msg(Msg_ParGen_OK));
    Btn_Cancel->setText(Msg(Msg_ParGen_Cancel));
    Btn_OK->setToolTip(Msg(Msg_ParGen_OK_Hint));
    Btn_Cancel->setToolTip(Msg(Msg_ParGen_Cancel_Hint));
    for (const Caption_Text &caption : std::as_const(captions_)) {
        if (auto *label = qobject_cast<QLabel *>(caption.Widget))
            label->setText(Msg(caption.Message));
        else if (auto *box = qobject_cast<QCheckBox *>(caption.Widget))
            box->setText(Msg(caption.Message));
    }
    for (const Caption_Text &hint : std::as_const(hints_))
        hint.Widget->setToolTip(Msg(hint.Message));
    Set_Group_Titles();
    P_Problems->Set_Lang();
    // The failing fields' tips and the count, in the language; a hidden
    // window finds them at its next opening.
    if (isVisible())
        Show_Problems();
}
