#pragma once

#include <QStyledItemDelegate>

class Live_Problems;
class Text_Table;

// Draws and edits the cells of a table grid by their column's kind: the
// column's background colour, a centred check box that a click or the space
// bar ticks, a drop-down list that exists only while its cell is edited, and
// a line edit without a length limit for text.
//
// A drop-down list is typed into as well as chosen from: the letters typed
// complete to the first item they begin (typing "Analog V" shows "Analog
// Value", the completed part selected), and a space is a letter, not the
// key that opens the list. A typed text that is none of the items is never
// cut or changed into one: Enter and Tab refuse it, the editor stays open
// with the text and Refused tells why; leaving the cell otherwise keeps the
// cell's own text and tells so. A cell whose text is not one of the items
// (typed into the document by hand) keeps it when the list is opened and
// closed again. A choice in the list reaches the cell at once; one made in
// the open list also ends the edit.
//
// Tab and Shift+Tab in any editor put its text into the cell and close it,
// the grid then moves to the next or previous cell; Ctrl+Tab does the same
// and asks the grid to give the focus on (Leave_Grid).
//
// A text longer than its column's `cut_at` (the characters the device
// keeps) shows the cut: the kept part as usual, a thin mark, and the rest in
// a colour halfway to the background. Text keeps a readable colour over the
// light column backgrounds also when the palette is dark.
//
// A cell with a problem is marked: its background tinted and a frame drawn
// inside it, red and solid for an error, amber and dashed for a warning (the
// column colours are light in every theme, so both read alike in light and
// dark ones, and the frame's line tells the two apart without colour); its
// tip holds the problem's text.
class Cell_Delegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // Where the cell's text is cut: the characters the device keeps of it,
    // 0 when it keeps them all.
    static int Cut_At(const QModelIndex &index);

    // The problems whose marks the cells show; `page` is the grid's.
    void Set_Problems(const Live_Problems *problems, int page);

    // Why the text typed into `editor` cannot go into its cell (the message
    // `message`, Msg_Cell_Refused_Editing or Msg_Cell_Refused_Left, filled
    // in); empty when it can, and for every editor but a drop-down list.
    QString Refusal(QWidget *editor, int message) const;

signals:
    // A typed text was refused: the reason, to show where the user looks.
    void Refused(const QString &text);
    // Ctrl+Tab (forward) or Ctrl+Shift+Tab in an editor, after its edit ended.
    void Leave_Grid(bool forward);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

private:
    static const Text_Table *Table_Of(const QModelIndex &index);
    void Paint_Cut(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index, int cut_at) const;
    static bool Is_Check(const QModelIndex &index);
    static QRect Check_Rect(const QStyleOptionViewItem &option);
    // The cell's problem mark: 0 none, 1 warning, 2 error (Mark_Level).
    int Mark_Of(const QModelIndex &index) const;
    void Paint_Cell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

    const Live_Problems *problems_ = nullptr;
    int page_ = 0;
};
