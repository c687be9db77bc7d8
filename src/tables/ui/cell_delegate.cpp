#include "tables/ui/cell_delegate.h"

#include "tables/text_table.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <limits>

namespace {

// The drop-down editor. It notes whether its list was opened: a choice in
// the open list ends the edit, while a choice made with the keys on the
// closed list (arrows, typing the start of an item) keeps it open, so that
// typing "17" in a Position cell reaches "17" and not "1".
class Cell_Combo : public QComboBox
{
public:
    using QComboBox::QComboBox;
    void showPopup() override
    {
        listed = true;
        QComboBox::showPopup();
    }
    bool listed = false; // the list was opened
    bool chosen = false; // the user chose an item
};

QStyle *Style_Of(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

} // namespace

const Text_Table *Cell_Delegate::Table_Of(const QModelIndex &index)
{
    return qobject_cast<const Text_Table *>(index.model());
}

bool Cell_Delegate::Is_Check(const QModelIndex &index)
{
    const Text_Table *table = Table_Of(index);
    return table && table->Column(index.column()).kind == Cell_Kind::Check;
}

QRect Cell_Delegate::Check_Rect(const QStyleOptionViewItem &option)
{
    QStyle *style = Style_Of(option);
    const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget));
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
}

void Cell_Delegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (const Text_Table *table = Table_Of(index))
        option->backgroundBrush = QColor::fromRgb(table->Column(index.column()).colour);
}

void Cell_Delegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!Is_Check(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The cell as usual (background, selection, focus) but without its box,
    // which is drawn in the middle of the cell instead of at its left.
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const Qt::CheckState state = opt.checkState;
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    QStyle *style = Style_Of(opt);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    QStyleOptionViewItem box = opt;
    box.rect = Check_Rect(opt);
    box.state &= ~QStyle::State_HasFocus;
    box.state |= state == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, opt.widget);
}

bool Cell_Delegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                const QModelIndex &index)
{
    if (!Is_Check(index))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const Qt::ItemFlags flags = model->flags(index);
    if (!flags.testFlag(Qt::ItemIsUserCheckable) || !flags.testFlag(Qt::ItemIsEnabled))
        return false;

    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // The press makes the cell current, as in any other column.
        return false;
    case QEvent::MouseButtonDblClick: {
        // Swallowed on the box: the second click's release ticks again.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        return mouse->button() == Qt::LeftButton && Check_Rect(option).contains(mouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !Check_Rect(option).contains(mouse->position().toPoint()))
            return false;
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        break;
    }
    default:
        return false;
    }
    const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

QWidget *Cell_Delegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    const Text_Table *table = Table_Of(index);
    if (!table)
        return QStyledItemDelegate::createEditor(parent, option, index);
    const Column_Desc &column = table->Column(index.column());
    if (column.kind == Cell_Kind::Combo) {
        // Built only for the cell being edited: the 1500 positions of a
        // Position list never exist once per row.
        auto *box = new Cell_Combo(parent);
        box->setEditable(false);
        // A list of 16 items, also in styles that would show as many as the
        // screen holds (1500 positions).
        box->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
        box->setMaxVisibleItems(16);
        box->addItems(column.items);
        // Each choice reaches the cell at once (the Write grid fills in the
        // Length when a Data Type is chosen).
        auto *self = const_cast<Cell_Delegate *>(this);
        connect(box, &QComboBox::activated, self, [self, box] {
            box->chosen = true;
            emit self->commitData(box);
            if (box->listed)
                emit self->closeEditor(box);
        });
        return box;
    }
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    // Text cells have no length limit; a longer text read from a document
    // must not be cut when its cell is edited.
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}

void Cell_Delegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        box->setCurrentIndex(box->findText(index.data(Qt::EditRole).toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void Cell_Delegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *box = dynamic_cast<Cell_Combo *>(editor)) {
        if (box->chosen && box->currentIndex() >= 0)
            model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}
