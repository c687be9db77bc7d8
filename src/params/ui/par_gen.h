#pragma once

#include "params/pargen_check.h"
#include "params/pargen_form.h"
#include "widgets/lang_window.h"
#include "workspace/document_guard.h"

#include <QDialog>
#include <QList>
#include <QUndoStack>
#include <array>

class Category_Panel;
class Category_Panel_Group;
class Problems_Bar;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWheelEvent;
struct Workspace;

// The communication parameters of the open configuration: the LoRaWAN radio
// and activation, the BACnet server (BACnet/IP or MS/TP) and, for MS/TP, the
// converter's Ethernet interface. Each opening reads ParGen.xml; OK validates
// and writes it whole; Cancel and the close box discard every change. The
// window keeps its state in a ParGen_Form and takes every decision from it.
// Every change can be undone while the window is open, and closing it with
// changes asks first. While the user edits, every field whose value fails a
// rule of OK's check is tinted, with the rule's message as its tip, and a
// line above the buttons counts them; F8 and its button go to the next one.
class TFParGen : public QDialog, public Lang_Window
{
    Q_OBJECT

public:
    explicit TFParGen(Workspace &ws, QWidget *parent = nullptr);

    void Set_Lang() override;

    // Opening: reads the document (a damaged one is reported first) into the
    // form and the controls, lays out the groups and recomputes the payload.
    void FormShow();
    void Btn_OKClick();
    // Cancel, Escape and the close box: with changes, asks whether to
    // discard them (No keeps the window open); without, closes at once.
    void reject() override;
    // Whether the values differ from those the opening showed; undoing back
    // to them, or typing a text back, counts as unchanged.
    bool Changed() const;

    // Undo and redo (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y): one history across
    // every field, emptied at each opening. A step is one change of a
    // drop-down or check box together with what the window changed in
    // answer (a band refills the data-rate list and the payload, a type
    // shows other rows), or one burst of typing in one edit, which ends when
    // the edit loses the focus or another field changes. Undoing shows the
    // values through the opening's own path, so the lists, the payload and
    // the layout follow them.
    void Undo();
    void Redo();
    const QUndoStack &History() const { return history_; }
    // The wheel: with the pointer over the group area it scrolls that area
    // (and true is returned, the event is used up); elsewhere false leaves
    // it to the control under the pointer.
    bool FormMouseWheel(const QWheelEvent &event);

    void Order_TAB_Panels();
    void Move_Group_Boxes();
    void Set_Max_Payload_Size();

    const ParGen_Form &Form() const { return form_; }
    // Every rule of OK's check that the values now fail, in step order.
    const Problem_List &Problems() const { return problems_; }
    // F8 and the line's button: the focus to the first failing field shown
    // after the one that has it, in the order of OK's check, round to the
    // first. Values that the window does not show are counted, not visited.
    void Next_Problem();
    // The input that shows `key` (a drop-down, check box or edit), and the
    // caption of its row: a label, or the check box that heads the row (the
    // box's own key gives the box).
    QWidget *Input(ParGen_Key key) const { return inputs_[size_t(key)]; }
    QWidget *Caption(ParGen_Key key) const { return caption_of_[size_t(key)]; }

    // Every way of showing the window (exec, show, open) reads the document
    // first, so that any warning comes before the window shows its values.
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // One row of a group: its caption (a label or a check box), its inputs
    // (one, or the four octets of a dotted address) and the "." labels.
    struct Row
    {
        QWidget *Caption = nullptr;
        QList<QWidget *> Inputs;
        QList<QLabel *> Dots;

        void Place(int label_top) const;
        void Set_Visible(bool shown) const;
        int Bottom() const; // of the lowest input or caption
    };
    // A group of rows under its title.
    struct Group
    {
        int Message; // the title
        Category_Panel *Panel;
    };

    void FormCreate();
    // The groups and their rows, one row for each field of ParGen_Fields().
    void Create_Rows();
    void Set_Tab_Order();
    void Order_TAB_Panels_52K31();
    void RePosition_Objects_52K31();
    void FormResize();
    void Set_Group_Titles();
    Category_Panel *Group_Panel(int group_message);

    // Creating the controls of a row; each input is bound to its key.
    void Bind(ParGen_Key key, QWidget *input);
    QLabel *Add_Label(Category_Panel *panel, int caption);
    QCheckBox *Add_Check(Category_Panel *panel, ParGen_Key key, int caption, int hint);
    QComboBox *Add_Combo(Category_Panel *panel, ParGen_Key key, int hint);
    QLineEdit *Add_Edit(Category_Panel *panel, ParGen_Key key, int hint);

    // Reactions and key handling.
    void On_Change(ParGen_Key key);
    void On_Click(ParGen_Key key);
    void Typed(ParGen_Key key);
    // Key handlers; true when the key is used up. KeyPress: the dotted
    // addresses. OnKeyPress: the hexadecimal LoRaWAN keys.
    bool KeyPress(ParGen_Key key, QKeyEvent *event);
    bool OnKeyPress(ParGen_Key key, QKeyEvent *event);
    void Show_Form();
    void Show_DataRate();
    // Puts an edit field and its value back to the key's default.
    void Reset_To_Default(ParGen_Key key);
    // The check again, once the changes of this turn of the event loop are
    // made (a band changes the data rate and the payload as well); then the
    // fields' marks and the count.
    void Check_Later();
    void Show_Problems();
    ParGen_Key Find_Input_Key(const QWidget *input) const;

    // The history (par_gen_history.cpp). Record makes the change of `key`
    // that the form now holds a step, or adds it to the open typing burst;
    // Show_Snapshot puts a step's state back into the form and controls.
    // History_Key undoes or redoes for the keys of undo and redo, and is
    // true when it did, so that an edit's own undo never sees them.
    class Step;
    void Start_History();
    void Record(ParGen_Key key);
    void Show_Snapshot(ParGen_Key key, const ParGen_Values &snapshot);
    bool History_Key(const QKeyEvent *event);
    // Leaving an edit ends its burst of typing: coming back starts a step.
    void Field_Left(const QObject *field);

    // Frame.
    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    QPushButton *Btn_OK;
    QPushButton *Btn_Cancel;
    Problems_Bar *P_Problems;
    Category_Panel_Group *CPG;

    Workspace &ws_;
    Document_Guard document_; // ParGen.xml as the window read it
    ParGen_Form form_;
    std::array<QWidget *, ParGen_Key_Count> inputs_{};
    std::array<QString, ParGen_Key_Count> shown_text_; // of each edit, before the user's last edit
    struct Caption_Text
    {
        QWidget *Widget;
        int Message;
    };
    QList<Caption_Text> captions_; // labels and check boxes: text
    QList<Caption_Text> hints_;    // inputs: tooltip
    Problem_List problems_;
    std::array<bool, ParGen_Key_Count> marked_{}; // the field is tinted
    bool check_pending_ = false;
    QList<Group> groups_;
    QList<Row> rows_; // as ParGen_Fields(); empty for a box that heads the next row
    std::array<QWidget *, ParGen_Key_Count> caption_of_{};
    int wheel_rest_ = 0; // wheel turn not yet scrolled, in eighths of a degree
    QUndoStack history_;
    ParGen_Values opened_;   // as the opening showed them
    ParGen_Values recorded_; // as the history's current step left them
    // The step that typing in its edit still adds to; always the history's
    // current step while set (every other change, undo or redo clears it).
    Step *burst_ = nullptr;
};
