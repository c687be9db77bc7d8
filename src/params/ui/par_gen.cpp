#include "params/ui/par_gen.h"

#include "core/int_read.h"
#include "params/param_messages.h"
#include "params/pargen_check.h"
#include "params/pargen_document.h"
#include "params/pargen_typing.h"
#include "params/ui/category_panel.h"
#include "tables/rule_document.h"
#include "tables/uplink_fit.h"
#include "widgets/dialog_frame.h"
#include "widgets/guarded_save.h"
#include "widgets/message_box.h"
#include "widgets/problems_bar.h"
#include "widgets/style.h"
#include "widgets/texts.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWheelEvent>

namespace {

using K = ParGen_Key;

constexpr int Client_Width = 460;
constexpr int Client_Height = 700;
constexpr int Top_Band = 72;     // software code and descriptive line
constexpr int Button_Bar = 46;   // OK and Cancel
constexpr int Problem_Line = 26; // the count of problems, above the buttons
constexpr int Button_Height = 28;
constexpr int Wheel_Notch = 120; // eighths of a degree in one notch of a wheel

} // namespace

TFParGen::TFParGen(Workspace &ws, QWidget *parent)
    : QDialog(parent, Dialog_Flags)
    , ws_(ws)
{
    setObjectName(QStringLiteral("FParGen"));
    Apply_Window_Style(this);
    FormCreate();
}

void TFParGen::FormCreate()
{
    const Header_Labels header = Make_Header(this, ws_.SW_Code, 46);
    L_SW_Code = header.code;
    L_SW_Desc = header.desc;

    Btn_OK = new QPushButton(this);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_Cancel = new QPushButton(this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    for (QPushButton *button : {Btn_OK, Btn_Cancel}) {
        // Enter neither moves the focus nor presses OK.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(Btn_OK, &QPushButton::clicked, this, &TFParGen::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    P_Problems = new Problems_Bar(this);
    connect(P_Problems, &Problems_Bar::Next, this, &TFParGen::Next_Problem);

    CPG = new Category_Panel_Group(this);
    CPG->verticalScrollBar()->setSingleStep(28);
    Create_Rows();
    Set_Tab_Order();

    // The width is fixed, the height is the user's.
    setMinimumSize(Client_Width, 240);
    setMaximumWidth(Client_Width);
    resize(Client_Width, Client_Height);

    for (Category_Panel *panel : CPG->Panels())
        panel->hide();
    Order_TAB_Panels();
    Move_Group_Boxes();
    Set_Lang();

    // The wheel is the window's wherever the pointer is (FormMouseWheel).
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void TFParGen::setVisible(bool visible)
{
    if (visible && !isVisible())
        FormShow();
    QDialog::setVisible(visible);
}

void TFParGen::FormShow()
{
    const ParGen_Document document = Read_ParGen_Document(ws_.File_ParGen);
    document_.Loaded(ws_.File_ParGen);
    // A file that is not well-formed opens with the defaults; say so before
    // they are shown, since OK would then replace the file.
    if (!document.Problem().isEmpty())
        Message_Box::Warning(this, document.Problem());
    form_.Load(Load_ParGen(document));
    Show_Form();
    Move_Group_Boxes();
    Set_Max_Payload_Size();
    CPG->verticalScrollBar()->setValue(0);
    Input(K::LoRa_RF_Band)->setFocus();
    Start_History();
    Show_Problems();
}

void TFParGen::Show_Form()
{
    for (K key : All_ParGen_Keys()) {
        QWidget *input = Input(key);
        const QSignalBlocker blocker(input);
        switch (Key_Info(key).Kind) {
        case ParGen_Kind::Text_Choice:
        case ParGen_Kind::Index_Choice:
            if (key == K::LoRa_DataRate)
                Show_DataRate();
            else
                static_cast<QComboBox *>(input)->setCurrentIndex(form_.Chosen(key));
            break;
        case ParGen_Kind::Flag:
            static_cast<QCheckBox *>(input)->setChecked(form_.Checked(key));
            break;
        case ParGen_Kind::Payload:
        case ParGen_Kind::Edit:
            static_cast<QLineEdit *>(input)->setText(form_.Text(key));
            shown_text_[size_t(key)] = form_.Text(key);
            break;
        }
    }
}

void TFParGen::Show_DataRate()
{
    auto *rates = static_cast<QComboBox *>(Input(K::LoRa_DataRate));
    const QSignalBlocker blocker(rates);
    rates->clear();
    rates->addItems(form_.Items(K::LoRa_DataRate));
    rates->setCurrentIndex(form_.Chosen(K::LoRa_DataRate));
}

void TFParGen::Set_Max_Payload_Size()
{
    form_.Set_Max_Payload_Size();
    auto *payload = static_cast<QLineEdit *>(Input(K::LoRa_Payload_Size));
    const QSignalBlocker blocker(payload);
    payload->setText(form_.Text(K::LoRa_Payload_Size));
}

void TFParGen::On_Change(ParGen_Key key)
{
    if (auto *combo = qobject_cast<QComboBox *>(Input(key))) {
        form_.Choose(key, combo->currentIndex());
        if (key == K::LoRa_RF_Band) {
            Show_DataRate();
            Set_Max_Payload_Size();
        } else if (key == K::LoRa_DataRate) {
            Set_Max_Payload_Size();
        } else if (key == K::LoRa_Activation_Method || key == K::BACnet_Type) {
            Move_Group_Boxes();
        }
    } else if (auto *edit = qobject_cast<QLineEdit *>(Input(key))) {
        form_.Set_Text(key, edit->text());
        shown_text_[size_t(key)] = edit->text();
    }
    // After the answers above, so that one step holds them all.
    Record(key);
    Check_Later();
}

void TFParGen::On_Click(ParGen_Key key)
{
    // The gateway and name-server boxes only decide what validation looks at
    // and what is saved: their address fields stay editable either way.
    form_.Set_Checked(key, static_cast<QCheckBox *>(Input(key))->isChecked());
    Record(key);
    Check_Later();
}

void TFParGen::Typed(ParGen_Key key)
{
    auto *edit = static_cast<QLineEdit *>(Input(key));
    const Typing_Rule rule = Typing_Rule_Of(key);
    if (rule.Max_Length < 0 && rule.Case == Letter_Case::Any && !rule.Hex)
        return;
    const Typed_Text typed = Apply_Typing(rule, shown_text_[size_t(key)], edit->text(), edit->cursorPosition());
    if (typed.Text != edit->text()) {
        edit->setText(typed.Text);
        edit->setCursorPosition(typed.Cursor);
    }
}

bool TFParGen::KeyPress(ParGen_Key key, QKeyEvent *event)
{
    if (event->text() != u".")
        return false; // no digit filter: validation judges the octets
    // "." is never inserted in an octet: it moves on to the next one.
    ParGen_Key next;
    if (Next_Dotted_Field(key, &next)) {
        QWidget *field = Input(next);
        if (field->isVisible() && field->isEnabled() && (field->focusPolicy() & Qt::TabFocus))
            field->setFocus(Qt::TabFocusReason);
    }
    return true;
}

bool TFParGen::OnKeyPress(ParGen_Key, QKeyEvent *event)
{
    const QString typed = event->text();
    QChar entered;
    // A refused key has no effect at all, a selection included; the letter
    // case and the length are seen to when the text has changed (Typed).
    return typed.size() == 1 && !Hex_Key_Filter(typed[0], &entered);
}

void TFParGen::Btn_OKClick()
{
    // Each key is put back at most once: its default passes its rule, so a
    // second failure of the same key would be a fault of the defaults.
    QList<ParGen_Key> reset;
    for (;;) {
        const Problem_List check = Controllo_Dati(form_);
        if (check)
            break;
        // A value the window does not show cannot be corrected here: name
        // it and offer its default rather than refuse OK for good.
        const std::optional<ParGen_Key> hidden = Hidden_Failing_Key(form_, check);
        if (!hidden || reset.contains(*hidden)) {
            Message_Box::Error(this, check.Problem_Text());
            return;
        }
        if (!Message_Box::Confirm(this, Reset_Question(form_, check, ws_.File_ParGen)))
            return;
        Reset_To_Default(*hidden);
        reset.append(*hidden);
    }
    // What the values break elsewhere is said now, not at the update; the
    // user may keep it.
    QStringList warnings = Gateway_Warnings(form_);
    const QString payload = Payload_Shrink_Warning(Read_Rule_Document(ws_.File_LoRaWAN_Access),
                                                   Str_To_Int_Def(opened_[K::LoRa_Payload_Size], 0),
                                                   Str_To_Int_Def(form_.Text(K::LoRa_Payload_Size), 0));
    if (!payload.isEmpty())
        warnings.prepend(payload);
    if (!warnings.isEmpty() &&
        !Message_Box::Confirm(this, (warnings + QStringList{Msg(Msg_Keep_Parameters)}).join(QStringLiteral("\n\n"))))
        return;
    // A refused save leaves the window open with the user's values.
    switch (Save_Guarded(
        this, document_, [this] { return Save_ParGen(form_.Values(), ws_.File_ParGen); }, &ws_)) {
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

void TFParGen::Reset_To_Default(ParGen_Key key)
{
    const QString text = QString::fromUtf16(Key_Info(key).Default);
    form_.Set_Text(key, text);
    auto *edit = static_cast<QLineEdit *>(Input(key));
    const QSignalBlocker blocker(edit);
    edit->setText(text);
    shown_text_[size_t(key)] = text;
    Record(key); // the user's Yes changed it: undo gives the old value back
    Check_Later();
}

void TFParGen::Check_Later()
{
    if (std::exchange(check_pending_, true))
        return;
    QTimer::singleShot(0, this, [this] {
        if (check_pending_)
            Show_Problems();
    });
}

void TFParGen::Show_Problems()
{
    check_pending_ = false;
    problems_ = All_ParGen_Problems(form_);
    std::array<const Problem *, ParGen_Key_Count> failing{};
    for (const Problem &p : problems_)
        if (const std::optional<ParGen_Key> key = Failing_Key(p); key && !failing[size_t(*key)])
            failing[size_t(*key)] = &p;
    for (const Caption_Text &hint : std::as_const(hints_)) {
        // Only inputs carry hints; each is bound to one key.
        const ParGen_Key key = Find_Input_Key(hint.Widget);
        const Problem *problem = failing[size_t(key)];
        hint.Widget->setToolTip(problem ? problem->Text : Msg(hint.Message));
        if (bool(problem) == marked_[size_t(key)])
            continue;
        marked_[size_t(key)] = bool(problem);
        if (!problem) {
            hint.Widget->setPalette(QPalette()); // the window's again
            continue;
        }
        // The field's own colours with red mixed in: it reads in a light
        // palette and in a dark one alike.
        QPalette palette = hint.Widget->parentWidget()->palette();
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button}) {
            for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                const QColor c = palette.color(group, role);
                palette.setColor(group, role,
                                 QColor::fromRgbF(c.redF() + (0.78 - c.redF()) * 0.35,
                                                  c.greenF() + (0.16 - c.greenF()) * 0.35,
                                                  c.blueF() + (0.16 - c.blueF()) * 0.35));
            }
        }
        hint.Widget->setPalette(palette);
    }
    P_Problems->Show_Counts(int(problems_.size()), -1);
}

ParGen_Key TFParGen::Find_Input_Key(const QWidget *input) const
{
    for (ParGen_Key key : All_ParGen_Keys())
        if (inputs_[size_t(key)] == input)
            return key;
    return ParGen_Key::LoRa_RF_Band;
}

void TFParGen::Next_Problem()
{
    if (check_pending_)
        Show_Problems();
    // The failing fields in the order of the check, each once, shown ones only.
    QList<QWidget *> fields;
    for (const Problem &p : problems_) {
        // Shown by the choices made, even in a collapsed group.
        const ParGen_Key key = Failing_Key(p).value_or(ParGen_Key::LoRa_RF_Band);
        QWidget *field = Input(key);
        if (form_.Shown(key) && !fields.contains(field))
            fields << field;
    }
    if (fields.isEmpty())
        return;
    const qsizetype at = fields.indexOf(QApplication::focusWidget());
    QWidget *next = fields[(at + 1) % fields.size()];
    // A collapsed group opens to show it.
    for (Category_Panel *panel : CPG->Panels())
        if (panel->isAncestorOf(next) && panel->Collapsed())
            panel->Set_Collapsed(false);
    CPG->ensureWidgetVisible(next);
    next->setFocus(Qt::OtherFocusReason);
}

bool TFParGen::FormMouseWheel(const QWheelEvent &event)
{
    const QPoint at = CPG->mapFromGlobal(event.globalPosition().toPoint());
    if (!CPG->rect().contains(at))
        return false;
    // One notch scrolls the system's number of lines; a fine-grained wheel
    // (a touchpad) adds its small steps up to whole notches first.
    wheel_rest_ += event.angleDelta().y();
    const int lines = std::max(0, QApplication::wheelScrollLines());
    QScrollBar *bar = CPG->verticalScrollBar();
    while (std::abs(wheel_rest_) >= Wheel_Notch) {
        const bool up = wheel_rest_ > 0;
        wheel_rest_ -= up ? Wheel_Notch : -Wheel_Notch;
        for (int i = 0; i < lines; ++i)
            bar->triggerAction(up ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    }
    return true;
}

bool TFParGen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        // Only wheels over this window's own widgets: a drop-down's open list
        // is a window of its own and scrolls itself.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this && FormMouseWheel(*static_cast<QWheelEvent *>(event)))
            return true;
    } else if (event->type() == QEvent::FocusOut) {
        Field_Left(watched);
    } else if (event->type() == QEvent::KeyPress) {
        auto *key_event = static_cast<QKeyEvent *>(event);
        // The window's history, not an edit's own undo.
        if (History_Key(key_event))
            return true;
        for (K key : All_ParGen_Keys()) {
            if (Input(key) != watched)
                continue;
            if ((Is_Dotted_Field(key) && KeyPress(key, key_event)) ||
                (Typing_Rule_Of(key).Hex && OnKeyPress(key, key_event)))
                return true;
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFParGen::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TFParGen::FormResize()
{
    if (width() != Client_Width) {
        resize(Client_Width, height());
        return;
    }
    CPG->setGeometry(0, Top_Band, Client_Width, height() - Top_Band - Button_Bar - Problem_Line);
    P_Problems->setGeometry(12, height() - Button_Bar - Problem_Line, Client_Width - 24, Problem_Line);
    const int y = height() - Button_Bar + (Button_Bar - Button_Height) / 2;
    Place_Button_Row({{Btn_OK}, {Btn_Cancel}}, Client_Width - 12, y);
}
