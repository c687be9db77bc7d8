// The parameter window's history: undo, redo and the question before
// changes are discarded.

#include "params/ui/category_panel.h"
#include "params/ui/par_gen.h"
#include "widgets/message_box.h"
#include "widgets/texts.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <utility>

// One step: the form's values before and after one change. The change is
// already made when the step is recorded, so its first redo does nothing.
class TFParGen::Step : public QUndoCommand
{
public:
    Step(TFParGen *window, ParGen_Key key, ParGen_Values before, ParGen_Values after)
        : window_(window)
        , key_(key)
        , before_(std::move(before))
        , after_(std::move(after))
    {}

    ParGen_Key Key() const { return key_; }
    // The typing goes on in the same edit: the step now ends there.
    void Extend(const ParGen_Values &after) { after_ = after; }

    void undo() override { window_->Show_Snapshot(key_, before_); }
    void redo() override
    {
        if (!std::exchange(first_redo_, false))
            window_->Show_Snapshot(key_, after_);
    }

private:
    TFParGen *window_;
    ParGen_Key key_;
    ParGen_Values before_;
    ParGen_Values after_;
    bool first_redo_ = true;
};

void TFParGen::Start_History()
{
    burst_ = nullptr;
    history_.clear();
    opened_ = recorded_ = form_.Snapshot();
}

bool TFParGen::Changed() const
{
    return form_.Snapshot() != opened_;
}

void TFParGen::reject()
{
    // A hidden window has nothing to lose: the next opening reloads.
    if (isVisible() && Changed() && !Message_Box::Confirm_Discard(this, Msg(Msg_Discard_Changes)))
        return;
    QDialog::reject();
}

void TFParGen::Record(ParGen_Key key)
{
    const ParGen_Values now = form_.Snapshot();
    // The same values again (an edit whose typing rule set its text once
    // more) make no step.
    if (now == recorded_)
        return;
    const bool typing = qobject_cast<QLineEdit *>(Input(key)) != nullptr;
    if (typing && burst_ && burst_->Key() == key) {
        burst_->Extend(now);
    } else {
        auto *step = new Step(this, key, recorded_, now);
        history_.push(step);
        burst_ = typing ? step : nullptr;
    }
    recorded_ = now;
}

void TFParGen::Show_Snapshot(ParGen_Key key, const ParGen_Values &snapshot)
{
    // The same path as the opening: values, then the lists and the layout
    // they imply, then the payload.
    burst_ = nullptr;
    form_.Restore(snapshot);
    Show_Form();
    Move_Group_Boxes();
    Set_Max_Payload_Size();
    recorded_ = form_.Snapshot();
    Check_Later();
    // The field that changed comes into view, unless its group is collapsed.
    if (QWidget *input = Input(key); input->isVisible())
        CPG->ensureWidgetVisible(input);
}

void TFParGen::Undo()
{
    history_.undo();
}

void TFParGen::Redo()
{
    history_.redo();
}

void TFParGen::Field_Left(const QObject *field)
{
    if (burst_ && field == Input(burst_->Key()))
        burst_ = nullptr;
}

bool TFParGen::History_Key(const QKeyEvent *event)
{
    const QKeyCombination keys = event->keyCombination();
    const bool undo = keys == (Qt::ControlModifier | Qt::Key_Z) || event->matches(QKeySequence::Undo);
    const bool redo = keys == (Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z) ||
                      keys == (Qt::ControlModifier | Qt::Key_Y) || event->matches(QKeySequence::Redo);
    if (undo)
        Undo();
    else if (redo)
        Redo();
    return undo || redo;
}
