#pragma once

#include <QStyledItemDelegate>

class Live_Problems;
class Text_Table;

// Draws and edits the cells of a table grid by their column's kind: the
// column's background colour, a centred check box that a click or the space
// bar ticks, a drop-down list that exists only while its cell is edited, and
// a line edit without a length limit for text.
//
// A drop-down list changes its cell only when the user chooses an item: a
// cell whose text is not one of the items (typed into the document by hand)
// keeps it when the list is opened and closed again. A choice reaches the
// cell at once; one made in the open list also ends the edit.
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

protected:
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
